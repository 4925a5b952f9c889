#pragma once

#include "core/host/Twips.h"
#include "core/settings/SharedSettings.h"

#include <QString>

#include <optional>
#include <vector>

// Names, defaults and storage of the main window's settings. Root values live under
// "Software\Halvern\TR AddIn Editor", the window geometry under its "MainWnd" section (twips),
// the toolbar bands under its "Toolbar" section.
namespace WindowSettingNames {
inline constexpr const char *kMainWnd = "MainWnd";
inline constexpr const char *kToolbar = "Toolbar";
inline constexpr const char *kWordWrap = "WordWrap";
inline constexpr const char *kLineNumbers = "LineNumbers";
inline constexpr const char *kShowSource = "ShowSource";
inline constexpr const char *kIconStyle = "IconStyle";
inline constexpr const char *kFontName = "FontName";
inline constexpr const char *kFontSize = "FontSize";
inline constexpr const char *kFontNameZML = "FontNameZML";
inline constexpr const char *kFontSizeZML = "FontSizeZML";
inline constexpr const char *kCommentColor = "CommentColor";
inline constexpr const char *kActionTree = "ActionTree";
inline constexpr const char *kStatusBar = "StatusBar";
inline constexpr const char *kToolbars = "Toolbars";
inline constexpr const char *kLastPath = "LastPath";
inline constexpr const char *kProblems = "Problems";
} // namespace WindowSettingNames

// One toolbar band: its name ("Standard", "Steps", "Run"), width in pixels, whether it starts
// a new row, and its minimum width.
struct ToolbarBand {
    QString Name;
    int Width = 0;
    bool NewRow = false;
    int MinWidth = 0;

    bool operator==(const ToolbarBand &o) const
    {
        return Name == o.Name && Width == o.Width && NewRow == o.NewRow && MinWidth == o.MinWidth;
    }
};

// Window state kept between sessions.
struct WindowSettings {
    static constexpr int kStateNormal = 0;
    static constexpr int kStateMaximized = 2;
    static constexpr int kMaxIconStyle = 2;
    static constexpr int kMinFontSize = 1;
    static constexpr int kMaxFontSize = 400;

    bool WordWrap = true;
    bool LineNumbers = true;
    bool ShowSource = false;
    int IconStyle = 2;
    SharedSettings Shared;
    bool ActionTree = true;
    bool StatusBar = true;
    bool Toolbars = true;
    bool Problems = false; // the problems dock is shown

    // "MainWnd": normal-state geometry and splitter position in twips; empty when not stored.
    std::optional<int> Left, Top, Width, Height, Splitter;
    int State = kStateNormal;

    // Bands in position order (Pos1, Pos2, Pos3).
    std::vector<ToolbarBand> Bands;
};

// Full key path of a section ("" is the application key itself).
QString WindowSettingsKey(const QString &section = QString());

// Reads every setting; missing, mistyped or out-of-range values give the defaults.
// designedBands is the current band layout: stored band names must be among them; names not
// stored keep their designed values and position after the stored ones.
WindowSettings ReadWindowSettings(const std::vector<ToolbarBand> &designedBands);

// Writes every setting in one batch. The normal-state geometry (Left, Top, Width, Height) is
// written only when writeNormalGeometry is true and the value is set. False when the store
// refused the writes.
bool SaveWindowSettings(const WindowSettings &settings, bool writeNormalGeometry);

// The folder the file dialogs start in ("LastPath").
QString ReadLastPath();
// Stores the folder of a chosen file as "LastPath"; false when the store refused it.
bool WriteLastPath(const QString &folder);
