#include "core/printing/CHeaderFooter.h"

#include "core/printing/CPrintDevice.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace {

CHeaderFooter::Clock &ClockInstance()
{
    static CHeaderFooter::Clock clock;
    return clock;
}

QString Untitled()
{
    return QCoreApplication::translate("CHeaderFooter", "Untitled");
}

QString TrimmedRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

QString Trimmed(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == u' ')
        ++start;
    return TrimmedRight(text.mid(start));
}

// Moves the tail of `from` (from the first occurrence of code) to `to`: appended or replacing.
bool MoveTail(QString &from, const QString &code, QString &to, bool append)
{
    const qsizetype at = from.indexOf(code);
    if (at < 0)
        return false;
    const QString tail = from.mid(at);
    from.truncate(at);
    to = append ? to + tail : tail;
    return true;
}

} // namespace

void CHeaderFooter::SetClock(Clock clock)
{
    ClockInstance() = std::move(clock);
}

QDateTime CHeaderFooter::Now()
{
    const Clock &clock = ClockInstance();
    return clock ? clock() : QDateTime::currentDateTime();
}

void CHeaderFooter::SetDocumentPath(const QString &path)
{
    m_path = path;
}

QString CHeaderFooter::FileName() const
{
    return m_path.isEmpty() ? Untitled() : m_path;
}

QString CHeaderFooter::FileTitle() const
{
    return m_path.isEmpty() ? Untitled() : QFileInfo(m_path).fileName();
}

QString CHeaderFooter::GeneralDate(const QDateTime &stamp) const
{
    QString text = m_locale.toString(stamp.date(), QLocale::ShortFormat);
    if (stamp.time() != QTime(0, 0))
        text += u' ' + m_locale.toString(stamp.time(), QLocale::ShortFormat);
    return text;
}

void CHeaderFooter::InitDateTime()
{
    const QDateTime now = Now();
    m_printDate = m_locale.toString(now.date(), QLocale::ShortFormat);
    m_printTime = m_locale.toString(now.time(), QLocale::ShortFormat);
    if (m_path.isEmpty()) {
        m_fileDate.clear();
        m_fileTime.clear();
        return;
    }
    const QFileInfo info(m_path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const QString general = modified.isValid() ? GeneralDate(modified) : m_printDate;
    const qsizetype blank = general.indexOf(u' ');
    if (blank < 0) {
        m_fileDate = general;
        m_fileTime = m_printTime;
    } else {
        m_fileDate = general.left(blank);
        m_fileTime = general.mid(blank + 1);
    }
}

QString CHeaderFooter::ExpandMacros(const QString &text) const
{
    QString result = text;
    result.replace(QStringLiteral("$f"), FileTitle());
    result.replace(QStringLiteral("$F"), FileName());
    result.replace(QStringLiteral("$p"), QString::number(m_page));
    result.replace(QStringLiteral("$P"), QString::number(m_pageCount));
    result.replace(QStringLiteral("$d"), m_printDate);
    result.replace(QStringLiteral("$t"), m_printTime);
    result.replace(QStringLiteral("$D"), m_fileDate);
    result.replace(QStringLiteral("$T"), m_fileTime);
    return result;
}

CHeaderFooter::Parts CHeaderFooter::CutTemplate(const QString &text)
{
    const QString codeL = QStringLiteral("$L");
    const QString codeC = QStringLiteral("$C");
    const QString codeR = QStringLiteral("$R");
    Parts p{text, QString(), QString()};
    // A pass that changes something moves a code towards its own part; the cap guards
    // against any template that would keep moving text around.
    bool changed = true;
    for (qsizetype pass = 0; changed && pass <= text.size(); ++pass) {
        changed = false;
        // A tail moved out of the left part is appended, so that text a repeated code moved
        // back into the left part is never lost.
        changed |= MoveTail(p.left, codeC, p.centre, !p.centre.isEmpty());
        changed |= MoveTail(p.left, codeR, p.right, !p.right.isEmpty());
        changed |= MoveTail(p.centre, codeR, p.right, true);
        changed |= MoveTail(p.centre, codeL, p.left, true);
        changed |= MoveTail(p.right, codeL, p.left, true);
        changed |= MoveTail(p.right, codeC, p.centre, true);
    }
    p.left.remove(codeL);
    p.right.remove(codeR);
    p.centre.remove(codeC);
    return p;
}

void CHeaderFooter::PrintHeaderFooterLine(CPrintDevice &device, const QString &text, double y,
                                          double marginLeft, double marginRight) const
{
    const Parts cut = CutTemplate(text);
    const QString left = ExpandMacros(cut.left);
    const QString centre = Trimmed(ExpandMacros(cut.centre));
    const QString right = TrimmedRight(ExpandMacros(cut.right));

    device.SetCurrentY(y);
    device.SetCurrentX(marginLeft);
    device.Print(left);

    // Centred over the whole printable width, on a whole device pixel.
    const double freePixels = std::nearbyint(device.UnitsToPixelsX(device.ScaleWidth()) -
                                             device.UnitsToPixelsX(device.TextWidth(centre)));
    device.SetCurrentY(y);
    device.SetCurrentX(device.PixelsToUnitsX(std::floor(freePixels / 2)));
    device.Print(centre);

    device.SetCurrentY(y);
    device.SetCurrentX(device.ScaleWidth() - marginRight - device.TextWidth(right));
    device.Print(right);
}
