#include "core/printing/CPrinter.h"

#include "core/printing/CPrintDevice.h"
#include "core/settings/CRegistry.h"
#include "core/settings/CRegistryError.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsStore.h"

#include <QCoreApplication>

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString kSection = QStringLiteral("Printer");
constexpr qint32 kString = 1;
constexpr qint32 kExpandString = 2;
constexpr qint32 kDword = 4;
constexpr qint32 kDwordBigEndian = 5;
constexpr int kMaxFontSize = 1638;

// A margin as stored: times 100, rounded to the nearest whole number, halves to even. The
// product is taken in single precision, so 2.675 counts as the half it was typed as.
int StoredMargin(float margin)
{
    const float product = margin * 100.0f;
    const double scaled = std::nearbyint(static_cast<double>(product));
    return static_cast<int>(std::clamp(scaled, -2147483648.0, 2147483647.0));
}

float LoadedMargin(const QVariant &value)
{
    return static_cast<float>(value.toDouble() / 100.0);
}

// UTF-16 units of the character at i: a surrogate pair is not split.
qsizetype UnitLength(QStringView text, qsizetype i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate()
               ? 2
               : 1;
}

} // namespace

CPrinter::CPrinter(Persistence persistence) : m_persistence(persistence)
{
    if (m_persistence == Persistence::None)
        return;
    try {
        LoadSettings();
    } catch (const CRegistryError &error) {
        m_loadProblem = error.description();
    }
}

CPrinter::~CPrinter() = default;

// A copy holds the same settings but never writes them: only the program's object does.
CPrinter::CPrinter(const CPrinter &other)
{
    CopySettings(other);
}

CPrinter &CPrinter::operator=(const CPrinter &other)
{
    if (this != &other)
        CopySettings(other);
    return *this;
}

void CPrinter::CopySettings(const CPrinter &other)
{
    m_scaleMode = other.m_scaleMode;
    m_marginLeft = other.m_marginLeft;
    m_marginRight = other.m_marginRight;
    m_marginTop = other.m_marginTop;
    m_marginBottom = other.m_marginBottom;
    m_marginHeader = other.m_marginHeader;
    m_marginFooter = other.m_marginFooter;
    m_lineNumbers = other.m_lineNumbers;
    m_fontName = other.m_fontName;
    m_fontSize = other.m_fontSize;
    m_headerText = other.m_headerText;
    m_footerText = other.m_footerText;
    m_macros = other.m_macros;
}

void CPrinter::SaveRegValue(const QString &section, qint32 valueType, const QVariant &value,
                            const QString &valueName, bool currentUser)
{
    CRegistry registry;
    registry.ClassKey = currentUser ? CRegistry::HKeyCurrentUser : CRegistry::HKeyLocalMachine;
    registry.SectionKey = SettingsKeys::ProgramKey(section);
    if (!registry.KeyExists())
        registry.CreateKey();
    registry.ValueKey = valueName;
    registry.ValueType = valueType;
    registry.LiteralStrings = true; // templates are kept as typed, "%" and all
    registry.setValue(value);
}

QVariant CPrinter::GetRegValue(const QString &section, qint32 valueType,
                               const QVariant &defaultValue, const QString &valueName,
                               bool currentUser)
{
    CRegistry registry;
    registry.Default = defaultValue.isValid() ? defaultValue : QVariant(QString());
    registry.ClassKey = currentUser ? CRegistry::HKeyCurrentUser : CRegistry::HKeyLocalMachine;
    registry.SectionKey = SettingsKeys::ProgramKey(section);
    registry.ValueKey = valueName;
    registry.ValueType = valueType;
    registry.LiteralStrings = true;
    QVariant value = registry.Value();
    // A value stored with a type of another kind (text for a number, binary, a number for a
    // text) cannot be read as its setting: it counts as missing.
    const bool number = registry.ValueType == kDword || registry.ValueType == kDwordBigEndian;
    const bool text = registry.ValueType == kString || registry.ValueType == kExpandString;
    if (valueType == kDword ? !number : !text)
        return registry.Default;
    return value;
}

void CPrinter::LoadSettings()
{
    m_scaleMode = 3;
    m_fontSize = 10;
    const auto get = [this](qint32 type, const QVariant &defaultValue, const QString &name) {
        return GetRegValue(kSection, type, defaultValue, name, true);
    };
    // A stored unit the devices do not know falls back to pixels.
    const int scaleMode = get(kDword, 3, QStringLiteral("ScaleMode")).toInt();
    m_scaleMode = static_cast<short>(CPrintDevice::IsValidScaleMode(scaleMode) ? scaleMode : 3);
    // A margin below 0 would put the text off the paper: it gives the default too.
    const auto margin = [&get](int defaultValue, const QString &name) {
        const QVariant stored = get(kDword, defaultValue, name);
        return LoadedMargin(stored.toInt() >= 0 ? stored : QVariant(defaultValue));
    };
    m_marginLeft = margin(4800, QStringLiteral("MarginLeft"));
    m_marginRight = margin(4800, QStringLiteral("MarginRight"));
    m_marginBottom = margin(7700, QStringLiteral("MarginBottom"));
    m_marginTop = margin(7700, QStringLiteral("MarginTop"));
    m_marginHeader = margin(3800, QStringLiteral("MarginHeader"));
    m_marginFooter = margin(3800, QStringLiteral("MarginFooter"));
    m_lineNumbers = get(kDword, false, QStringLiteral("LineNumbers")).toInt() != 0;
    m_fontName = get(kString, QStringLiteral("Courier New"), QStringLiteral("FontName")).toString();
    // The sizes the page setup accepts.
    const int fontSize = get(kDword, 10, QStringLiteral("FontSize")).toInt();
    m_fontSize = static_cast<short>(fontSize >= 1 && fontSize <= kMaxFontSize ? fontSize : 10);
    m_headerText =
        get(kString, QStringLiteral("$L$f$R$d"), QStringLiteral("HeaderText")).toString();
    m_footerText =
        get(kString, QStringLiteral("$CPage: $p"), QStringLiteral("FooterText")).toString();
}

void CPrinter::SaveSettings()
{
    const auto save = [this](qint32 type, const QVariant &value, const QString &name) {
        SaveRegValue(kSection, type, value, name, true);
    };
    save(kDword, static_cast<int>(m_scaleMode), QStringLiteral("ScaleMode"));
    save(kDword, StoredMargin(m_marginLeft), QStringLiteral("MarginLeft"));
    save(kDword, StoredMargin(m_marginRight), QStringLiteral("MarginRight"));
    save(kDword, StoredMargin(m_marginBottom), QStringLiteral("MarginBottom"));
    save(kDword, StoredMargin(m_marginTop), QStringLiteral("MarginTop"));
    save(kDword, StoredMargin(m_marginHeader), QStringLiteral("MarginHeader"));
    save(kDword, StoredMargin(m_marginFooter), QStringLiteral("MarginFooter"));
    save(kDword, m_lineNumbers, QStringLiteral("LineNumbers"));
    save(kString, m_fontName, QStringLiteral("FontName"));
    save(kDword, static_cast<int>(m_fontSize), QStringLiteral("FontSize"));
    save(kString, m_headerText, QStringLiteral("HeaderText"));
    save(kString, m_footerText, QStringLiteral("FooterText"));
}

CPrinter::SaveResult CPrinter::Save()
{
    if (m_persistence != Persistence::Settings)
        return {};
    QString problem;
    SettingsBatch batch;
    try {
        SaveSettings();
    } catch (const CRegistryError &error) {
        problem = error.description();
    }
    if (!batch.commit() && problem.isEmpty())
        problem =
            QCoreApplication::translate("CPrinter", "The settings file could not be written.");
    if (!problem.isEmpty() && !SettingsStore::current().problem().isEmpty())
        problem += QStringLiteral("\r\n") + SettingsStore::current().problem();
    return {problem.isEmpty(), problem};
}

CPrinter::Margin CPrinter::CrampedMargin(double width, double height, double lineHeight,
                                         double charWidth) const
{
    constexpr double kSlack = 1e-6; // margins typed to the limit, after unit rounding
    if (width - m_marginLeft - m_marginRight + kSlack < charWidth)
        return m_marginLeft >= m_marginRight ? Margin::Left : Margin::Right;
    if (!m_headerText.isEmpty() && m_marginTop + kSlack < m_marginHeader + lineHeight)
        return m_marginHeader > m_marginTop ? Margin::Header : Margin::Top;
    if (!m_footerText.isEmpty() && m_marginBottom + kSlack < m_marginFooter + lineHeight)
        return m_marginFooter > m_marginBottom ? Margin::Footer : Margin::Bottom;
    if (m_marginTop + lineHeight > height - m_marginBottom + kSlack)
        return m_marginBottom >= m_marginTop ? Margin::Bottom : Margin::Top;
    return Margin::None;
}

void CPrinter::SetScaleMode(short code)
{
    if (CPrintDevice::IsValidScaleMode(code))
        m_scaleMode = code;
}

int CPrinter::CountPages(const QString &text, CPrintDevice &device)
{
    PrepareDevice(device);
    const int pages = LayOutPass(text.split(QStringLiteral("\r\n")), device);
    m_macros.SetPageCount(pages);
    return pages;
}

void CPrinter::PrintHeader(CPrintDevice &device)
{
    if (m_headerText.isEmpty())
        return;
    device.SetCurrentX(m_marginLeft);
    m_macros.PrintHeaderFooterLine(device, m_headerText, m_marginHeader, m_marginLeft,
                                   m_marginRight);
}

void CPrinter::PrintFooter(CPrintDevice &device)
{
    if (m_footerText.isEmpty())
        return;
    device.SetCurrentX(m_marginLeft);
    const double y = device.ScaleHeight() - m_marginFooter - device.TextHeight(m_footerText);
    device.SetCurrentY(y);
    m_macros.PrintHeaderFooterLine(device, m_footerText, y, m_marginLeft, m_marginRight);
}

void CPrinter::StartNewPage(CPrintDevice &device)
{
    PrintFooter(device);
    device.NewPage();
    m_macros.SetPageNumber(m_macros.PageNumber() + 1);
    PrintHeader(device);
    device.SetCurrentY(m_marginTop);
    m_lineOnPage = false;
}

// Ends the device line and starts the next one at left, on a new page when it would end below
// the bottom limit.
void CPrinter::BreakLine(CPrintDevice &device, double left)
{
    device.Print(QString(), true);
    if (device.CurrentY() + m_lineHeight > device.ScaleHeight() - m_marginBottom)
        StartNewPage(device);
    device.SetCurrentX(left);
    m_lineOnPage = true;
}

void CPrinter::PrintWrappedLine(CPrintDevice &device, const QString &line, double left)
{
    device.SetCurrentX(left);
    const double rightLimit = device.RoundX(device.ScaleWidth() - m_marginRight);
    const QString text = line.endsWith(u' ') ? line : line + u' ';

    qsizetype wordStart = 0;
    bool placed = false; // something stands on the current device line
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u' ' && ch != u'\t')
            continue;
        const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
        qsizetype from = wordStart; // what is left of the word to print
        const double width = device.TextWidth(word);
        if (device.CurrentX() + width > rightLimit) {
            // A word that fits on a line of its own goes to the next line; a longer one is
            // broken at the right margin, from where it stands.
            if (placed && left + width <= rightLimit)
                BreakLine(device, left);
            else
                from += PrintLongWordHead(device, word, left, rightLimit);
        }
        device.Print(text.mid(from, i - from + 1)); // the word and its separator
        placed = true;
        wordStart = i + 1;
    }
    device.Print(QString(), true);
}

qsizetype CPrinter::PrintLongWordHead(CPrintDevice &device, QStringView word, double left,
                                      double rightLimit)
{
    // The width of each character (a surrogate pair counts at its first half) and of the rest
    // of the word from each one on, so that the word is measured once, not once a line.
    const qsizetype size = word.size();
    std::vector<double> widths(static_cast<std::size_t>(size) + 1, 0.0);
    std::vector<double> rest(static_cast<std::size_t>(size) + 1, 0.0);
    for (qsizetype k = 0; k < size; ++k) {
        const qsizetype length = UnitLength(word, k);
        widths[static_cast<std::size_t>(k)] = device.TextWidth(word.mid(k, length));
        k += length - 1;
    }
    for (qsizetype k = size - 1; k >= 0; --k)
        rest[static_cast<std::size_t>(k)] =
            rest[static_cast<std::size_t>(k) + 1] + widths[static_cast<std::size_t>(k)];

    qsizetype done = 0;
    while (done < size && device.CurrentX() + rest[static_cast<std::size_t>(done)] > rightLimit) {
        double x = device.CurrentX();
        qsizetype end = done;
        while (end < size) {
            const double w = widths[static_cast<std::size_t>(end)];
            if (x + w > rightLimit)
                break;
            x += w;
            end += UnitLength(word, end);
        }
        if (end == done) {
            if (device.CurrentX() > left) { // the line holds text already: go on below it
                BreakLine(device, left);
                continue;
            }
            end = done + UnitLength(word, done); // at least one character a line
        }
        device.Print(word.mid(done, end - done).toString());
        done = end;
        BreakLine(device, left);
    }
    return done;
}

void CPrinter::PrepareDevice(CPrintDevice &device)
{
    device.SetScaleMode(m_scaleMode);
    device.SetFont(m_fontName, m_fontSize);
    m_lineHeight = device.TextHeight(QStringLiteral("Xy"));
}

int CPrinter::LayOutPass(const QStringList &lines, CPrintDevice &device)
{
    device.BeginLayoutPass();
    LayOut(lines, device);
    return device.EndLayoutPass();
}

void CPrinter::LayOut(const QStringList &lines, CPrintDevice &device)
{
    m_macros.SetPageNumber(1);
    m_lineOnPage = false;
    PrintHeader(device);

    const QString padding(QString::number(lines.size()).size(), u'0');
    double left = m_marginLeft;
    if (m_lineNumbers)
        left += device.TextWidth(padding + QStringLiteral(": "));

    device.SetCurrentY(m_marginTop);
    const double bottomLimit = device.ScaleHeight() - m_marginBottom;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The first line of a page stands on it even when the margins leave no room.
        if (m_lineOnPage && device.CurrentY() + m_lineHeight > bottomLimit)
            StartNewPage(device);
        m_lineOnPage = true;
        if (m_lineNumbers) {
            device.SetCurrentX(m_marginLeft);
            device.Print((padding + QString::number(i + 1)).right(padding.size()) + u':');
        }
        PrintWrappedLine(device, lines.at(i), left);
    }
    PrintFooter(device);
}

void CPrinter::PrintText(const QString &text, CPrintDevice &device)
{
    m_macros.InitDateTime();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    PrepareDevice(device);
    m_macros.SetPageCount(LayOutPass(lines, device));
    LayOut(lines, device);
    device.EndDoc();
}
