#include "printing/CPrinter.h"

#include "controls/CRegistry.h"
#include "controls/CRegistryError.h"
#include "controls/MessageService.h"
#include "controls/SettingsStore.h"
#include "printing/CPrintDevice.h"

#include <QCoreApplication>

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("Printer");
constexpr qint32 kString = 1;
constexpr qint32 kDword = 4;

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

} // namespace

CPrinter::CPrinter(Persistence persistence) : m_persistence(persistence)
{
    if (m_persistence == Persistence::None)
        return;
    try {
        LoadSettings();
    } catch (const CRegistryError &error) {
        ShowMessage(error.description(), MsgIcon::Exclamation);
    }
    if (m_persistence == Persistence::Settings)
        SaveReportingErrors();
}

CPrinter::~CPrinter()
{
    if (m_persistence == Persistence::Settings)
        SaveReportingErrors();
}

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
    registry.SectionKey = QStringLiteral("Software\\Halvern\\TR AddIn Editor\\") + section;
    if (!registry.KeyExists())
        registry.CreateKey();
    registry.ValueKey = valueName;
    registry.ValueType = valueType;
    registry.setValue(value);
}

QVariant CPrinter::GetRegValue(const QString &section, qint32 valueType,
                               const QVariant &defaultValue, const QString &valueName,
                               bool currentUser)
{
    CRegistry registry;
    registry.Default = defaultValue.isValid() ? defaultValue : QVariant(QString());
    registry.ClassKey = currentUser ? CRegistry::HKeyCurrentUser : CRegistry::HKeyLocalMachine;
    registry.SectionKey = QStringLiteral("Software\\Halvern\\TR AddIn Editor\\") + section;
    registry.ValueKey = valueName;
    registry.ValueType = valueType;
    return registry.Value();
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
    m_marginLeft = LoadedMargin(get(kDword, 4800, QStringLiteral("MarginLeft")));
    m_marginRight = LoadedMargin(get(kDword, 4800, QStringLiteral("MarginRight")));
    m_marginBottom = LoadedMargin(get(kDword, 7700, QStringLiteral("MarginBottom")));
    m_marginTop = LoadedMargin(get(kDword, 7700, QStringLiteral("MarginTop")));
    m_marginHeader = LoadedMargin(get(kDword, 3800, QStringLiteral("MarginHeader")));
    m_marginFooter = LoadedMargin(get(kDword, 3800, QStringLiteral("MarginFooter")));
    m_lineNumbers = get(kDword, false, QStringLiteral("LineNumbers")).toInt() != 0;
    m_fontName = get(kString, QStringLiteral("Courier New"), QStringLiteral("FontName")).toString();
    m_fontSize = static_cast<short>(get(kDword, 10, QStringLiteral("FontSize")).toInt());
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

void CPrinter::SaveReportingErrors()
{
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
    if (!problem.isEmpty())
        ShowMessage(
            QCoreApplication::translate("CPrinter", "The page settings could not be saved.") +
                QStringLiteral("\r\n") + problem,
            MsgIcon::Exclamation);
}

void CPrinter::SetScaleMode(short code)
{
    if (CPrintDevice::IsValidScaleMode(code))
        m_scaleMode = code;
}

int CPrinter::CountPages(const QString &text, const CPrintDevice &device) const
{
    return EstimatePages(text, device, m_marginTop, m_marginBottom);
}

int CPrinter::EstimatePages(const QString &text, const CPrintDevice &device, double marginTop,
                            double marginBottom)
{
    const double usable = device.ScaleHeight() - marginTop - marginBottom;
    const double height = device.TextHeight(text);
    if (usable <= 0) // not even one line fits: every line gets a page of its own
        return static_cast<int>(std::min<qsizetype>(text.count(u'\n') + 1, INT32_MAX));
    const double ratio = height / usable;
    // A ratio that is whole up to rounding noise stays as it is.
    const double whole = std::ceil(ratio - 1e-9);
    return static_cast<int>(std::clamp(whole, 1.0, 2147483647.0));
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
}

void CPrinter::PrintWrappedLine(CPrintDevice &device, const QString &line, double left)
{
    device.SetCurrentX(left);
    const double rightLimit = device.RoundX(device.ScaleWidth() - m_marginRight);
    const double bottomLimit = device.ScaleHeight() - m_marginBottom;
    const QString text = line.endsWith(u' ') ? line : line + u' ';

    qsizetype wordStart = 0;
    bool placed = false; // something stands on the current device line
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u' ' && ch != u'\t')
            continue;
        const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
        // Only a word that follows others wraps; a word wider than the line stays where the
        // line starts and runs past the right margin.
        if (placed && device.CurrentX() + device.TextWidth(word) > rightLimit) {
            device.Print(QString(), true);
            if (device.CurrentY() + m_lineHeight > bottomLimit)
                StartNewPage(device);
            device.SetCurrentX(left);
        }
        device.Print(text.mid(wordStart, i - wordStart + 1)); // the word and its separator
        placed = true;
        wordStart = i + 1;
    }
    device.Print(QString(), true);
}

void CPrinter::PrintText(const QString &text, CPrintDevice &device)
{
    m_macros.SetPageNumber(1);
    m_macros.InitDateTime();
    const QStringList lines = text.split(QStringLiteral("\r\n"));

    device.SetScaleMode(m_scaleMode);
    device.SetFont(m_fontName, m_fontSize);
    m_lineHeight = device.TextHeight(QStringLiteral("Xy"));
    m_macros.SetPageCount(CountPages(text, device));

    PrintHeader(device);

    const QString padding(QString::number(lines.size()).size(), u'0');
    double left = m_marginLeft;
    if (m_lineNumbers)
        left += device.TextWidth(padding + QStringLiteral(": "));

    device.SetCurrentY(m_marginTop);
    const double bottomLimit = device.ScaleHeight() - m_marginBottom;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (device.CurrentY() + m_lineHeight > bottomLimit)
            StartNewPage(device);
        if (m_lineNumbers) {
            device.SetCurrentX(m_marginLeft);
            device.Print((padding + QString::number(i + 1)).right(padding.size()) + u':');
        }
        PrintWrappedLine(device, lines.at(i), left);
    }
    PrintFooter(device);
    device.EndDoc();
}
