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
    {Command::FileNew, "mnuFileNew", QT_TRANSLATE_NOOP("frmEdit", "&New"), "Ctrl+N", kPlain,
     Enabling::Always, "New", QT_TRANSLATE_NOOP("frmEdit", "New")},
    {Command::FileOpen, "mnuFileOpen", QT_TRANSLATE_NOOP("frmEdit", "&Open..."), "Ctrl+O", kPlain,
     Enabling::Always, "Open", QT_TRANSLATE_NOOP("frmEdit", "Open")},
    {Command::FileSave, "mnuFileSave", QT_TRANSLATE_NOOP("frmEdit", "&Save"), "Ctrl+S", kPlain,
     Enabling::Always, "Save", QT_TRANSLATE_NOOP("frmEdit", "Save")},
    {Command::FileSaveAs, "mnuFileSaveAs", QT_TRANSLATE_NOOP("frmEdit", "Save &As..."), "", kPlain,
     Enabling::Always, nullptr, nullptr},
    {Command::FilePrint, "mnuFilePrint", QT_TRANSLATE_NOOP("frmEdit", "&Print..."), "Ctrl+P",
     kPlain, Enabling::Always, "Print", QT_TRANSLATE_NOOP("frmEdit", "Print")},
    {Command::FilePageSetup, "mnuFilePageSetup", QT_TRANSLATE_NOOP("frmEdit", "Page Set&up..."), "",
     kPlain, Enabling::Always, nullptr, nullptr},
    {Command::FilePreview, "mnuFilePreview", QT_TRANSLATE_NOOP("frmEdit", "Print Pre&view..."), "",
     kPlain, Enabling::Always, "PrintPreview", QT_TRANSLATE_NOOP("frmEdit", "Print Preview")},
    {Command::FileRun, "mnuFileRun", QT_TRANSLATE_NOOP("frmEdit", "Run script"), "F5", kPlain,
     Enabling::Rows, "Run", QT_TRANSLATE_NOOP("frmEdit", "Run script")},
    {Command::FileExit, "mnuFileExit", QT_TRANSLATE_NOOP("frmEdit", "&Exit"), "", kPlain,
     Enabling::Always, nullptr, nullptr},
    {Command::EditCut, "mnuEditCut", QT_TRANSLATE_NOOP("frmEdit", "&Cut"), "Ctrl+X", kPlain,
     Enabling::Selection, "Cut", QT_TRANSLATE_NOOP("frmEdit", "Cut")},
    {Command::EditCopy, "mnuEditCopy", QT_TRANSLATE_NOOP("frmEdit", "C&opy"), "Ctrl+C", kPlain,
     Enabling::Selection, "Copy", QT_TRANSLATE_NOOP("frmEdit", "Copy")},
    {Command::EditPaste, "mnuEditPaste", QT_TRANSLATE_NOOP("frmEdit", "&Paste"), "Ctrl+V", kPlain,
     Enabling::Clipboard, "Paste", QT_TRANSLATE_NOOP("frmEdit", "Paste")},
    {Command::EditDelete, "mnuEditDelete", QT_TRANSLATE_NOOP("frmEdit", "&Delete"), "Del", kPlain,
     Enabling::Selection, "Delete", QT_TRANSLATE_NOOP("frmEdit", "Delete")},
    {Command::EditGoto, "mnuEditGoto", QT_TRANSLATE_NOOP("frmEdit", "&Go to step..."), "Ctrl+G",
     kPlain, Enabling::GotoStep, nullptr, nullptr},
    {Command::EditMoveUp, "mnuEditMoveUp", QT_TRANSLATE_NOOP("frmEdit", "Move step &up"), "Ctrl+U",
     kPlain, Enabling::MoveUp, "MoveUp", QT_TRANSLATE_NOOP("frmEdit", "Move Up")},
    {Command::EditMoveDown, "mnuEditMoveDown", QT_TRANSLATE_NOOP("frmEdit", "Move step &down"),
     "Ctrl+D", kPlain, Enabling::MoveDown, "MoveDown", QT_TRANSLATE_NOOP("frmEdit", "Move Down")},
    {Command::EditComment, "mnuEditComment", QT_TRANSLATE_NOOP("frmEdit", "Add a co&mment..."),
     "Ctrl+R", kPlain, Enabling::Always, "Comment", QT_TRANSLATE_NOOP("frmEdit", "Add a comment")},
    {Command::EditSelectAll, "mnuEditSelectAll", QT_TRANSLATE_NOOP("frmEdit", "Select &all"),
     "Ctrl+A", kPlain, Enabling::SelectAll, nullptr, nullptr},
    {Command::EditDisable, "mnuEditDisable", QT_TRANSLATE_NOOP("frmEdit", "Di&sable steps"), "",
     kPlain, Enabling::Selection, nullptr, nullptr},
    {Command::EditEnable, "mnuEditEnable", QT_TRANSLATE_NOOP("frmEdit", "&Enable steps"), "",
     kPlain, Enabling::Selection, nullptr, nullptr},
    {Command::EditProperties, "mnuEditProperties", QT_TRANSLATE_NOOP("frmEdit", "&Properties"), "",
     kPlain, Enabling::Always, "Properties", QT_TRANSLATE_NOOP("frmEdit", "Properties")},
    {Command::EditOptions, "mnuEditOptions", QT_TRANSLATE_NOOP("frmEdit", "Option&s"), "", kPlain,
     Enabling::Always, nullptr, nullptr},
    {Command::EditOutdent, "mnuEditOutdent", QT_TRANSLATE_NOOP("frmEdit", "Ou&tdent steps"),
     "Ctrl+[", kPlain, Enabling::Selection, "Outdent",
     QT_TRANSLATE_NOOP("frmEdit", "Decrease Indent")},
    {Command::EditIndent, "mnuEditIndent", QT_TRANSLATE_NOOP("frmEdit", "&Indent steps"), "Ctrl+]",
     kPlain, Enabling::Selection, "Indent", QT_TRANSLATE_NOOP("frmEdit", "Increase Indent")},
    {Command::EditUndo, "mnuEditUndo", QT_TRANSLATE_NOOP("frmEdit", "&Undo"), "Ctrl+Z", kPlain,
     Enabling::Own, "Undo", QT_TRANSLATE_NOOP("frmEdit", "Undo")},
    {Command::EditRedo, "mnuEditRedo", QT_TRANSLATE_NOOP("frmEdit", "&Redo"), "Ctrl+Y", kPlain,
     Enabling::Own, "Redo", QT_TRANSLATE_NOOP("frmEdit", "Redo")},
    {Command::EditFind, "mnuEditFind", QT_TRANSLATE_NOOP("frmEdit", "&Find..."), "Ctrl+F", kPlain,
     Enabling::Always, nullptr, nullptr},
    {Command::EditFindNext, "mnuEditFindNext", QT_TRANSLATE_NOOP("frmEdit", "Find &Next"), "F3",
     kPlain, Enabling::Always, nullptr, nullptr},
    {Command::EditFindPrevious, "mnuEditFindPrevious",
     QT_TRANSLATE_NOOP("frmEdit", "Find &Previous"), "Shift+F3", kPlain, Enabling::Always, nullptr,
     nullptr},
    {Command::ViewToolbars, "mnuViewToolbars", QT_TRANSLATE_NOOP("frmEdit", "&Toolbars"), "",
     kCheck, Enabling::Always, nullptr, nullptr},
    {Command::ViewStatusbar, "mnuViewStatusbar", QT_TRANSLATE_NOOP("frmEdit", "&Statusbar"), "",
     kCheck, Enabling::Always, nullptr, nullptr},
    {Command::ViewActions, "mnuViewActions", QT_TRANSLATE_NOOP("frmEdit", "&Actions"), "", kCheck,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewIconNone, "mnuViewIconNone", QT_TRANSLATE_NOOP("frmEdit", "&None"), "", kCheck,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewIconSmall, "mnuViewIconSmall", QT_TRANSLATE_NOOP("frmEdit", "&Small"), "", kCheck,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewIconLarge, "mnuViewIconLarge", QT_TRANSLATE_NOOP("frmEdit", "&Large"), "", kCheck,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewIconSize, nullptr, nullptr, "", kPlain, Enabling::Always, "IconSize",
     QT_TRANSLATE_NOOP("frmEdit", "Icon Size")},
    {Command::ViewWordWrap, "mnuViewWordWrap", QT_TRANSLATE_NOOP("frmEdit", "&Word wrap"), "",
     kCheck, Enabling::Always, "WordWrap", QT_TRANSLATE_NOOP("frmEdit", "Word Wrap")},
    {Command::ViewLineNumbers, "mnuViewLineNumbers", QT_TRANSLATE_NOOP("frmEdit", "&Line numbers"),
     "", kCheck, Enabling::Always, "LineNums", QT_TRANSLATE_NOOP("frmEdit", "Line Numbers")},
    {Command::ViewText, "mnuViewText", QT_TRANSLATE_NOOP("frmEdit", "Te&xt"), "", kCheck,
     Enabling::Always, nullptr, nullptr},
    {Command::ViewSource, "mnuViewSource", QT_TRANSLATE_NOOP("frmEdit", "So&urce"), "", kCheck,
     Enabling::Always, "ZML", QT_TRANSLATE_NOOP("frmEdit", "View Source")},
    {Command::HelpContents, "mnuHelpContents", QT_TRANSLATE_NOOP("frmEdit", "&Help Contents"), "",
     kPlain, Enabling::Always, nullptr, nullptr},
    {Command::HelpAbout, "mnuHelpAbout", QT_TRANSLATE_NOOP("frmEdit", "&About"), "", kPlain,
     Enabling::Always, nullptr, nullptr},
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
    m_actions[index(Command::HelpContents)]->setText(
        translated(QT_TRANSLATE_NOOP("frmEdit", "&Help Contents")) + QLatin1Char('\t') +
        QStringLiteral("F1"));
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
         QT_TRANSLATE_NOOP("frmEdit", "&File"),
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
         QT_TRANSLATE_NOOP("frmEdit", "&Edit"),
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
          item(C::EditIndent),
          item(C::EditOutdent),
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
         QT_TRANSLATE_NOOP("frmEdit", "&View"),
         {item(C::ViewToolbars),
          item(C::ViewStatusbar),
          item(C::ViewActions),
          {Entry::IconMenu, C::FileNew},
          item(C::ViewWordWrap),
          item(C::ViewLineNumbers),
          kSeparator,
          item(C::ViewText),
          item(C::ViewSource)}},
        {"mnuHelp",
         QT_TRANSLATE_NOOP("frmEdit", "&Help"),
         {item(C::HelpContents), item(C::HelpAbout)}},
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
                QMenu *icons =
                    menu->addMenu(translated(QT_TRANSLATE_NOOP("frmEdit", "&Icon size")));
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
    runButton->setIconText(translated(QT_TRANSLATE_NOOP("frmEdit", "Run")));
    if (auto *tool = qobject_cast<QToolButton *>(run->widgetForAction(runButton)))
        tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}
