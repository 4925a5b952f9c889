#include "core/settings/WindowSettings.h"

#include "core/settings/CRegistry.h"
#include "core/settings/CRegistryError.h"
#include "core/settings/RegValue.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsStore.h"

#include <QSet>

#include <cmath>

namespace N = WindowSettingNames;

namespace {

QString name(const char *n)
{
    return QString::fromLatin1(n);
}

std::optional<qint64> readDword(const QString &section, const QString &valueName)
{
    CRegistry reg;
    reg.SectionKey = WindowSettingsKey(section);
    reg.ValueKey = valueName;
    reg.ValueType = RegNone;
    const QVariant v = reg.Value();
    if (!v.isValid() || (reg.ValueType != RegDword && reg.ValueType != RegDwordBigEndian))
        return std::nullopt;
    return static_cast<qint64>(static_cast<quint32>(v.toInt()));
}

std::optional<QString> readString(const QString &section, const QString &valueName)
{
    CRegistry reg;
    reg.SectionKey = WindowSettingsKey(section);
    reg.ValueKey = valueName;
    reg.ValueType = RegNone;
    const QVariant v = reg.Value();
    if (!v.isValid() || (reg.ValueType != RegSz && reg.ValueType != RegExpandSz))
        return std::nullopt;
    return v.toString();
}

bool readFlag(const QString &section, const char *valueName, bool fallback)
{
    const auto v = readDword(section, name(valueName));
    return v ? *v != 0 : fallback;
}

int readInt(const QString &section, const QString &valueName, int fallback, int low, int high)
{
    const auto v = readDword(section, valueName);
    if (!v)
        return fallback;
    const auto signedValue = static_cast<qint32>(static_cast<quint32>(*v));
    return signedValue >= low && signedValue <= high ? signedValue : fallback;
}

std::optional<int> readTwips(const char *valueName)
{
    const auto v = readDword(name(N::kMainWnd), name(valueName));
    if (!v)
        return std::nullopt;
    return static_cast<qint32>(static_cast<quint32>(*v));
}

void writeDword(const QString &section, const QString &valueName, qint64 value)
{
    CRegistry reg;
    reg.SectionKey = WindowSettingsKey(section);
    reg.ValueKey = valueName;
    reg.ValueType = RegDword;
    reg.setValue(static_cast<int>(static_cast<qint32>(static_cast<quint32>(value))));
}

void writeString(const QString &section, const QString &valueName, const QString &value)
{
    CRegistry reg;
    reg.SectionKey = WindowSettingsKey(section);
    reg.ValueKey = valueName;
    reg.ValueType = RegSz;
    reg.setValue(value);
}

} // namespace

QString WindowSettingsKey(const QString &section)
{
    return SettingsKeys::ProgramKey(section);
}

WindowSettings ReadWindowSettings(const std::vector<ToolbarBand> &designedBands)
{
    WindowSettings s;
    const QString root;
    s.WordWrap = readFlag(root, N::kWordWrap, s.WordWrap);
    s.LineNumbers = readFlag(root, N::kLineNumbers, s.LineNumbers);
    s.ShowSource = readFlag(root, N::kShowSource, s.ShowSource);
    s.IconStyle = readInt(root, name(N::kIconStyle), s.IconStyle, 0, WindowSettings::kMaxIconStyle);
    if (auto font = readString(root, name(N::kFontName)); font && !font->trimmed().isEmpty())
        s.Shared.FontName = *font;
    s.Shared.FontSize = readInt(root, name(N::kFontSize), s.Shared.FontSize,
                                WindowSettings::kMinFontSize, WindowSettings::kMaxFontSize);
    if (auto font = readString(root, name(N::kFontNameZML)); font && !font->trimmed().isEmpty())
        s.Shared.FontNameZML = *font;
    s.Shared.FontSizeZML = readInt(root, name(N::kFontSizeZML), s.Shared.FontSizeZML,
                                   WindowSettings::kMinFontSize, WindowSettings::kMaxFontSize);
    if (auto colour = readDword(root, name(N::kCommentColor)))
        s.Shared.CommentColor = static_cast<std::uint32_t>(*colour);
    s.ActionTree = readFlag(root, N::kActionTree, s.ActionTree);
    s.StatusBar = readFlag(root, N::kStatusBar, s.StatusBar);
    s.Toolbars = readFlag(root, N::kToolbars, s.Toolbars);
    s.Problems = readFlag(root, N::kProblems, s.Problems);

    s.Left = readTwips("Left");
    s.Top = readTwips("Top");
    s.Width = readTwips("Width");
    s.Height = readTwips("Height");
    s.Splitter = readTwips("Splitter");
    if (s.Width && *s.Width <= 0)
        s.Width.reset();
    if (s.Height && *s.Height <= 0)
        s.Height.reset();
    if (s.Splitter && *s.Splitter < 0)
        s.Splitter.reset();
    const int state = readInt(name(N::kMainWnd), QStringLiteral("State"), 0, 0, 3);
    s.State = state == WindowSettings::kStateMaximized ? WindowSettings::kStateMaximized
                                                       : WindowSettings::kStateNormal;

    // Bands: the stored order first (each designed name once), then any designed band the
    // store does not name, each with its stored values or its designed ones.
    const QString toolbar = name(N::kToolbar);
    std::vector<QString> order;
    QSet<QString> seen;
    for (std::size_t i = 1; i <= designedBands.size(); ++i) {
        const auto stored = readString(toolbar, QStringLiteral("Pos%1").arg(i));
        if (!stored)
            continue;
        for (const ToolbarBand &b : designedBands) {
            if (b.Name == *stored && !seen.contains(b.Name)) {
                order.push_back(b.Name);
                seen.insert(b.Name);
            }
        }
    }
    for (const ToolbarBand &b : designedBands) {
        if (!seen.contains(b.Name))
            order.push_back(b.Name);
    }
    for (const QString &bandName : order) {
        for (const ToolbarBand &designed : designedBands) {
            if (designed.Name != bandName)
                continue;
            ToolbarBand band = designed;
            band.Width =
                readInt(toolbar, QStringLiteral("Width") + bandName, designed.Width, 0, 1 << 20);
            const auto newRow = readDword(toolbar, QStringLiteral("NewRow") + bandName);
            band.NewRow = newRow ? *newRow != 0 : designed.NewRow;
            band.MinWidth = readInt(toolbar, QStringLiteral("MinWidth") + bandName,
                                    designed.MinWidth, 0, 1 << 20);
            s.Bands.push_back(band);
        }
    }
    return s;
}

bool SaveWindowSettings(const WindowSettings &s, bool writeNormalGeometry)
{
    SettingsBatch batch;
    try {
        const QString root;
        writeDword(root, name(N::kWordWrap), s.WordWrap ? 1 : 0);
        writeDword(root, name(N::kLineNumbers), s.LineNumbers ? 1 : 0);
        writeDword(root, name(N::kShowSource), s.ShowSource ? 1 : 0);
        writeDword(root, name(N::kIconStyle), s.IconStyle);
        writeString(root, name(N::kFontName), s.Shared.FontName);
        writeDword(root, name(N::kFontSize), s.Shared.FontSize);
        writeString(root, name(N::kFontNameZML), s.Shared.FontNameZML);
        writeDword(root, name(N::kFontSizeZML), s.Shared.FontSizeZML);
        writeDword(root, name(N::kCommentColor), s.Shared.CommentColor);
        writeDword(root, name(N::kActionTree), s.ActionTree ? 1 : 0);
        writeDword(root, name(N::kStatusBar), s.StatusBar ? 1 : 0);
        writeDword(root, name(N::kToolbars), s.Toolbars ? 1 : 0);
        writeDword(root, name(N::kProblems), s.Problems ? 1 : 0);

        const QString mainWnd = name(N::kMainWnd);
        if (writeNormalGeometry) {
            const std::pair<const char *, const std::optional<int> *> geometry[] = {
                {"Left", &s.Left}, {"Top", &s.Top}, {"Width", &s.Width}, {"Height", &s.Height}};
            for (const auto &[valueName, value] : geometry) {
                if (value->has_value())
                    writeDword(mainWnd, name(valueName), **value);
            }
        }
        if (s.Splitter)
            writeDword(mainWnd, QStringLiteral("Splitter"), *s.Splitter);
        writeDword(mainWnd, QStringLiteral("State"), s.State);

        const QString toolbar = name(N::kToolbar);
        for (std::size_t i = 0; i < s.Bands.size(); ++i) {
            const ToolbarBand &b = s.Bands[i];
            writeString(toolbar, QStringLiteral("Pos%1").arg(i + 1), b.Name);
            writeDword(toolbar, QStringLiteral("Width") + b.Name, b.Width);
            writeDword(toolbar, QStringLiteral("NewRow") + b.Name, b.NewRow ? 1 : 0);
            writeDword(toolbar, QStringLiteral("MinWidth") + b.Name, b.MinWidth);
        }
    } catch (const CRegistryError &) {
        batch.commit();
        return false;
    }
    return batch.commit();
}

QString ReadLastPath()
{
    return readString(QString(), name(N::kLastPath)).value_or(QString());
}

bool WriteLastPath(const QString &folder)
{
    try {
        writeString(QString(), name(N::kLastPath), folder);
    } catch (const CRegistryError &) {
        return false;
    }
    return true;
}
