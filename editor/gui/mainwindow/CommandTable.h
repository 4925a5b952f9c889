#pragma once

#include "core/document/SelectionState.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

// Every command of the main window. A command has a menu item, a toolbar button, or both;
// both run the same handler unless the button has one of its own.
enum class Command {
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FilePrint,
    FilePageSetup,
    FilePreview,
    FileRun,
    FileExit,
    EditCut,
    EditCopy,
    EditPaste,
    EditDelete,
    EditGoto,
    EditMoveUp,
    EditMoveDown,
    EditComment,
    EditSelectAll,
    EditDisable,
    EditEnable,
    EditProperties,
    EditOptions,
    EditOutdent,
    EditIndent,
    EditUndo,
    EditRedo,
    EditFind,
    EditFindNext,
    EditFindPrevious,
    ViewToolbars,
    ViewStatusbar,
    ViewActions,
    ViewIconNone,
    ViewIconSmall,
    ViewIconLarge,
    ViewIconSize,
    ViewWordWrap,
    ViewLineNumbers,
    ViewText,
    ViewSource,
    HelpContents,
    HelpAbout,
};
inline constexpr int kCommandCount = static_cast<int>(Command::HelpAbout) + 1;

// What a command's enabling follows.
enum class Enabling {
    Always,
    Rows,      // the script has steps
    Selection, // steps are selected (Cut, Copy, Delete, Disable, Enable, indenting)
    MoveUp,
    MoveDown,
    GotoStep,
    SelectAll,
    Clipboard, // the clipboard holds text
    Own,       // set by its owner (undo and redo follow the history)
};

// What the enabling rules read: the script's rows, the selection and the clipboard.
struct EnablingState {
    int RowCount = 0;
    SelectionState Selection;
    int SelectedCount = 0;
    bool ClipboardText = false;
};

// The actions of the commands, built from one table: menu items (object names "mnuFileSave",
// ...) and toolbar buttons ("tlbStandard/Save", ...). Menus and toolbars are filled from the
// layout lists of the table; enabling is applied from an EnablingState. A handler set later
// replaces the one before.
class CommandTable final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandTable)

public:
    using Handler = std::function<void()>;

    // The actions are children of owner, their shortcuts window-wide.
    explicit CommandTable(QWidget *owner);

    // The menu item (nullptr for a toolbar-only command).
    QAction *action(Command command) const;
    // The toolbar button (nullptr for a menu-only command).
    QAction *button(Command command) const;
    // Runs handler from the menu item and the button, or only from the menu item when the
    // button gets a handler of its own.
    void setHandler(Command command, Handler handler);
    void setButtonHandler(Command command, Handler handler);
    // Checks the menu item and the button of a checkable command.
    void setChecked(Command command, bool on);
    // Enables every command as its rule says for state.
    void applyEnabling(const EnablingState &state);
    void setEnabled(Command command, bool on);

    // Fills the File, Edit, View and Help menus of the menu bar of the owner; returns them in
    // that order. The File menu gets the separator "mnuFileSepMru" before Exit.
    std::array<QMenu *, 4> buildMenus(QWidget *owner);
    // Fills the toolbars "tlbStandard", "tlbSteps" and "tlbRun" in that order.
    void fillToolBars(QToolBar *standard, QToolBar *steps, QToolBar *run);

private:
    void run(Command command, bool fromButton) const;

    std::array<QAction *, kCommandCount> m_actions{};
    std::array<QAction *, kCommandCount> m_buttons{};
    std::array<Handler, kCommandCount> m_handlers{};
    std::array<Handler, kCommandCount> m_buttonHandlers{};
};
