#include "gui/mainwindow/CommandTable.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <iterator>
#include <utility>
#include <vector>

namespace {

// One command: its menu item (no name: toolbar only), its toolbar button (no key: menu only)
// and its enabling rule.
struct CommandSpec {
    Command id;
    const char *name;     // object name of the menu item
    const char *text;     // menu text
    const char *shortcut; // portable text, "" for none
    bool checkable;
    Enabling enabling;
    const char *buttonKey; // toolbar key and icon name
    const char *toolTip;
};

constexpr bool kCheck = true;
constexpr bool kPlain = false;

// The order of the enum.
constexpr CommandSpec kCommands[] = {
    {Command::FileNew, "mnuFileNew", "&New", "Ctrl+N", kPlain, Enabling::Always, "New", "New"},
    {Command::FileOpen, "mnuFileOpen", "&Open...", "Ctrl+O", kPlain, Enabling::Always, "Open",
     "Open"},
    {Command::FileSave, "mnuFileSave", "&Save", "Ctrl+S", kPlain, Enabling::Always, "Save", "Save"},
    {Command::FileSaveAs, "mnuFileSaveAs", "Save &As...", "", kPlain, Enabling::Always, nullptr,
     nullptr},
    {Command::FilePrint, "mnuFilePrint", "&Print...", "Ctrl+P", kPlain, Enabling::Always, "Print",
     "Print"},
    {Command::FilePageSetup, "mnuFilePageSetup", "Page Set&up...", "", kPlain, Enabling::Always,
     nullptr, nullptr},
    {Command::FilePreview, "mnuFilePreview", "Print Pre&view...", "", kPlain, Enabling::Always,
     "PrintPreview", "Print Preview"},
    {Command::FileRun, "mnuFileRun", "Run script", "F5", kPlain, Enabling::Rows, "Run",
     "Run script"},
    {Command::FileExit, "mnuFileExit", "&Exit", "", kPlain, Enabling::Always, nullptr, nullptr},
    {Command::EditCut, "mnuEditCut", "&Cut", "Ctrl+X", kPlain, Enabling::Selection, "Cut", "Cut"},
    {Command::EditCopy, "mnuEditCopy", "C&opy", "Ctrl+C", kPlain, Enabling::Selection, "Copy",
     "Copy"},
    {Command::EditPaste, "mnuEditPaste", "&Paste", "Ctrl+V", kPlain, Enabling::Clipboard, "Paste",
     "Paste"},
    {Command::EditDelete, "mnuEditDelete", "&Delete", "Del", kPlain, Enabling::Selection, "Delete",
     "Delete"},
    {Command::EditGoto, "mnuEditGoto", "&Go to step...", "Ctrl+G", kPlain, Enabling::GotoStep,
     nullptr, nullptr},
    {Command::EditMoveUp, "mnuEditMoveUp", "Move step &up", "Ctrl+U", kPlain, Enabling::MoveUp,
     "MoveUp", "Move Up"},
    {Command::EditMoveDown, "mnuEditMoveDown", "Move step &down", "Ctrl+D", kPlain,
     Enabling::MoveDown, "MoveDown", "Move Down"},
    {Command::EditComment, "mnuEditComment", "Add a co&mment...", "Ctrl+R", kPlain,
     Enabling::Always, "Comment", "Add a comment"},
    {Command::EditSelectAll, "mnuEditSelectAll", "Select &all", "Ctrl+A", kPlain,
     Enabling::SelectAll, nullptr, nullptr},
    {Command::EditDisable, "mnuEditDisable", "Di&sable steps", "", kPlain, Enabling::Selection,
     nullptr, nullptr},
    {Command::EditEnable, "mnuEditEnable", "&Enable steps", "", kPlain, Enabling::Selection,
     nullptr, nullptr},
    {Command::EditProperties, "mnuEditProperties", "&Properties", "", kPlain, Enabling::Always,
     "Properties", "Properties"},
    {Command::EditOptions, "mnuEditOptions", "Option&s", "", kPlain, Enabling::Always, nullptr,
     nullptr},
    {Command::EditOutdent, nullptr, nullptr, "", kPlain, Enabling::Selection, "Outdent",
     "Decrease Indent"},
    {Command::EditIndent, nullptr, nullptr, "", kPlain, Enabling::Selection, "Indent",
     "Increase Indent"},
    {Command::EditUndo, "mnuEditUndo", "&Undo", "Ctrl+Z", kPlain, Enabling::Own, "Undo", "Undo"},
    {Command::EditRedo, "mnuEditRedo", "&Redo", "Ctrl+Y", kPlain, Enabling::Own, "Redo", "Redo"},
    {Command::EditFind, "mnuEditFind", "&Find...", "Ctrl+F", kPlain, Enabling::Always, nullptr,
     nullptr},
    {Command::EditFindNext, "mnuEditFindNext", "Find &Next", "F3", kPlain, Enabling::Always,
     nullptr, nullptr},
    {Command::EditFindPrevious, "mnuEditFindPrevious", "Find &Previous", "Shift+F3", kPlain,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewToolbars, "mnuViewToolbars", "&Toolbars", "", kCheck, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewStatusbar, "mnuViewStatusbar", "&Statusbar", "", kCheck, Enabling::Always,
     nullptr, nullptr},
    {Command::ViewActions, "mnuViewActions", "&Actions", "", kCheck, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewIconNone, "mnuViewIconNone", "&None", "", kCheck, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewIconSmall, "mnuViewIconSmall", "&Small", "", kCheck, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewIconLarge, "mnuViewIconLarge", "&Large", "", kCheck, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewIconSize, nullptr, nullptr, "", kPlain, Enabling::Always, "IconSize",
     "Icon Size"},
    {Command::ViewWordWrap, "mnuViewWordWrap", "&Word wrap", "", kCheck, Enabling::Always,
     "WordWrap", "Word Wrap"},
    {Command::ViewLineNumbers, "mnuViewLineNumbers", "&Line numbers", "", kCheck, Enabling::Always,
     "LineNums", "Line Numbers"},
    {Command::ViewText, "mnuViewText", "Te&xt", "", kCheck, Enabling::Always, nullptr, nullptr},
    {Command::ViewSource, "mnuViewSource", "So&urce", "", kCheck, Enabling::Always, "ZML",
     "View Source"},
    {Command::HelpContents, "mnuHelpContents", "&Help Contents", "", kPlain, Enabling::Always,
     nullptr, nullptr},
    {Command::HelpAbout, "mnuHelpAbout", "&About", "", kPlain, Enabling::Always, nullptr, nullptr},
};
static_assert(std::size(kCommands) == kCommandCount, "one row per command");

constexpr int index(Command command)
{
    return static_cast<int>(command);
}

// A menu entry: a command, a separator, the icon-size submenu or the separator before the
// recent files.
enum class Entry { Item, Separator, IconMenu, MruSeparator };
struct MenuEntry {
    Entry kind;
    Command command;
};
constexpr MenuEntry item(Command c)
{
    return {Entry::Item, c};
}
constexpr MenuEntry kSeparator{Entry::Separator, Command::FileNew};

// Toolbar entries: a command's button or a separator.
struct BarEntry {
    bool separator;
    Command command;
};
constexpr BarEntry barButton(Command c)
{
    return {false, c};
}
constexpr BarEntry kBarSeparator{true, Command::FileNew};

QIcon toolbarIcon(const QString &key)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/toolbar/16/%1.png").arg(key), QSize(16, 16));
    icon.addFile(QStringLiteral(":/toolbar/22/%1.png").arg(key), QSize(22, 22));
    return icon;
}

QString translated(const char *text)
{
    return QCoreApplication::translate("frmEdit", text);
}

} // namespace

CommandTable::CommandTable(QWidget *owner) : QObject(owner)
{
    for (const CommandSpec &s : kCommands) {
        if (s.name != nullptr) {
            auto *a = new QAction(translated(s.text), owner);
            a->setObjectName(QString::fromLatin1(s.name));
            a->setCheckable(s.checkable);
            if (*s.shortcut != '\0') {
                a->setShortcut(QKeySequence(QString::fromLatin1(s.shortcut)));
                a->setShortcutContext(Qt::WindowShortcut);
            }
            connect(a, &QAction::triggered, this, [this, id = s.id] { run(id, false); });
            m_actions[index(s.id)] = a;
        }
        if (s.buttonKey != nullptr) {
            const QString key = QString::fromLatin1(s.buttonKey);
            auto *b = new QAction(toolbarIcon(key), translated(s.toolTip), owner);
            b->setToolTip(translated(s.toolTip));
            b->setData(key);
            b->setCheckable(s.checkable);
            connect(b, &QAction::triggered, this, [this, id = s.id] { run(id, true); });
            m_buttons[index(s.id)] = b;
        }
    }
    // F1 is a window shortcut of its own (it looks up the selected step); the menu item only
    // shows it.
    m_actions[index(Command::HelpContents)]->setText(translated("&Help Contents") +
                                                     QLatin1Char('\t') + QStringLiteral("F1"));
    // Redo has the second usual shortcut too; undo and redo start with nothing to do.
    m_actions[index(Command::EditRedo)]->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    for (Command c : {Command::EditUndo, Command::EditRedo})
        setEnabled(c, false);
    auto *icons = new QActionGroup(this);
    icons->setExclusive(true);
    for (Command c : {Command::ViewIconNone, Command::ViewIconSmall, Command::ViewIconLarge})
        icons->addAction(action(c));
}

QAction *CommandTable::action(Command command) const
{
    return m_actions[index(command)];
}

QAction *CommandTable::button(Command command) const
{
    return m_buttons[index(command)];
}

void CommandTable::setHandler(Command command, Handler handler)
{
    m_handlers[index(command)] = std::move(handler);
}

void CommandTable::setButtonHandler(Command command, Handler handler)
{
    m_buttonHandlers[index(command)] = std::move(handler);
}

void CommandTable::run(Command command, bool fromButton) const
{
    const Handler &own = m_buttonHandlers[index(command)];
    if (fromButton && own)
        own();
    else if (const Handler &handler = m_handlers[index(command)])
        handler();
}

void CommandTable::setChecked(Command command, bool on)
{
    if (QAction *a = action(command))
        a->setChecked(on);
    if (QAction *b = button(command))
        b->setChecked(on);
}

void CommandTable::setEnabled(Command command, bool on)
{
    if (QAction *a = action(command))
        a->setEnabled(on);
    if (QAction *b = button(command))
        b->setEnabled(on);
}

void CommandTable::applyEnabling(const EnablingState &state)
{
    const SelectionState &s = state.Selection;
    for (const CommandSpec &spec : kCommands) {
        switch (spec.enabling) {
        case Enabling::Always:
            setEnabled(spec.id, true);
            break;
        case Enabling::Rows:
            setEnabled(spec.id, state.RowCount > 0);
            break;
        case Enabling::Selection:
            setEnabled(spec.id, state.SelectedCount > 0);
            break;
        case Enabling::MoveUp:
            setEnabled(spec.id, s.MoveUp);
            break;
        case Enabling::MoveDown:
            setEnabled(spec.id, s.MoveDown);
            break;
        case Enabling::GotoStep:
            setEnabled(spec.id, s.GotoStep);
            break;
        case Enabling::SelectAll:
            setEnabled(spec.id, s.SelectAll);
            break;
        case Enabling::Clipboard:
            setEnabled(spec.id, state.ClipboardText);
            break;
        case Enabling::Own:
            break;
        }
    }
}

namespace {

// A menu of the menu bar: its object name, its title and its entries.
struct MenuSpec {
    const char *name;
    const char *title;
    std::vector<MenuEntry> entries;
};

// The File, Edit, View and Help menus.
std::vector<MenuSpec> menuLayout()
{
    using C = Command;
    return {
        {"mnuFile",
         "&File",
         {item(C::FileNew),
          item(C::FileOpen),
          kSeparator,
          item(C::FileSave),
          item(C::FileSaveAs),
          kSeparator,
          item(C::FilePrint),
          item(C::FilePageSetup),
          item(C::FilePreview),
          kSeparator,
          item(C::FileRun),
          kSeparator,
          {Entry::MruSeparator, C::FileNew},
          item(C::FileExit)}},
        {"mnuEdit",
         "&Edit",
         {item(C::EditUndo),
          item(C::EditRedo),
          kSeparator,
          item(C::EditCut),
          item(C::EditCopy),
          item(C::EditPaste),
          item(C::EditDelete),
          kSeparator,
          item(C::EditGoto),
          item(C::EditMoveUp),
          item(C::EditMoveDown),
          item(C::EditComment),
          kSeparator,
          item(C::EditSelectAll),
          kSeparator,
          item(C::EditDisable),
          item(C::EditEnable),
          kSeparator,
          item(C::EditProperties),
          item(C::EditOptions),
          kSeparator,
          item(C::EditFind),
          item(C::EditFindNext),
          item(C::EditFindPrevious)}},
        {"mnuView",
         "&View",
         {item(C::ViewToolbars),
          item(C::ViewStatusbar),
          item(C::ViewActions),
          {Entry::IconMenu, C::FileNew},
          item(C::ViewWordWrap),
          item(C::ViewLineNumbers),
          kSeparator,
          item(C::ViewText),
          item(C::ViewSource)}},
        {"mnuHelp", "&Help", {item(C::HelpContents), item(C::HelpAbout)}},
    };
}

} // namespace

std::array<QMenu *, 4> CommandTable::buildMenus(QWidget *owner)
{
    const std::vector<MenuSpec> menus = menuLayout();
    QMenuBar *bar = qobject_cast<QMainWindow *>(owner)->menuBar();
    std::array<QMenu *, 4> built{};
    for (std::size_t m = 0; m < built.size(); ++m) {
        QMenu *menu = bar->addMenu(translated(menus[m].title));
        menu->setObjectName(QString::fromLatin1(menus[m].name));
        for (const MenuEntry &e : menus[m].entries) {
            if (e.kind == Entry::Item) {
                menu->addAction(action(e.command));
            } else if (e.kind == Entry::Separator) {
                menu->addSeparator();
            } else if (e.kind == Entry::MruSeparator) {
                menu->addSeparator()->setObjectName(QStringLiteral("mnuFileSepMru"));
            } else {
                QMenu *icons = menu->addMenu(translated("&Icon size"));
                icons->setObjectName(QStringLiteral("mnuViewIconSize"));
                for (Command c :
                     {Command::ViewIconNone, Command::ViewIconSmall, Command::ViewIconLarge})
                    icons->addAction(action(c));
            }
        }
        built[m] = menu;
    }
    return built;
}

void CommandTable::fillToolBars(QToolBar *standard, QToolBar *steps, QToolBar *run)
{
    using C = Command;
    const std::pair<QToolBar *, std::vector<BarEntry>> bars[] = {
        {standard,
         {barButton(C::FileNew), barButton(C::FileOpen), barButton(C::FileSave), kBarSeparator,
          barButton(C::FilePrint), barButton(C::FilePreview), kBarSeparator, barButton(C::EditCut),
          barButton(C::EditCopy), barButton(C::EditPaste), barButton(C::EditDelete), kBarSeparator,
          barButton(C::EditUndo), barButton(C::EditRedo), kBarSeparator,
          barButton(C::EditProperties)}},
        {steps,
         {barButton(C::EditMoveUp), barButton(C::EditMoveDown), kBarSeparator,
          barButton(C::EditOutdent), barButton(C::EditIndent), kBarSeparator,
          barButton(C::ViewWordWrap), barButton(C::ViewLineNumbers), barButton(C::ViewSource),
          kBarSeparator, barButton(C::EditComment), barButton(C::ViewIconSize)}},
        {run, {barButton(C::FileRun)}},
    };
    for (const auto &[bar, entries] : bars) {
        for (const BarEntry &e : entries) {
            if (e.separator) {
                bar->addSeparator();
                continue;
            }
            QAction *b = button(e.command);
            b->setObjectName(bar->objectName() + QLatin1Char('/') + b->data().toString());
            bar->addAction(b);
        }
    }
    QAction *runButton = button(C::FileRun);
    runButton->setIconText(translated("Run"));
    if (auto *tool = qobject_cast<QToolButton *>(run->widgetForAction(runButton)))
        tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}
