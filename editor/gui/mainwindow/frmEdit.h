#pragma once

#include "core/host/CHTMLHelp.h"
#include "core/settings/SharedSettings.h"
#include "core/settings/WindowSettings.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class ActionTree;
class CDocument;
class CElements;
class CMru;
class CPrinter;
class EditCommands;
class IStepDialogs;
class StepDialogs;
class HelpViewer;
class MruMenus;
class QAction;
class QActionGroup;
class QLabel;
class QLockFile;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;
class StepListView;

// The main window: toolbars, the action tree, the step list and the status bar, with the
// File, Edit, View and Help menus. Holds one document; handles new, open, save and close,
// the view switches and their persistence.
class frmEdit final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmEdit)

public:
    // Answers of QuerySave; Unchanged when the script has no changes.
    enum class SaveAnswer { Yes, No, Cancel, Unchanged };

    // Fills the catalogue; false when none could be loaded (the loader has told the user).
    using CatalogueLoader = std::function<bool(CElements &catalogue)>;

    explicit frmEdit(QWidget *parent = nullptr);
    ~frmEdit() override;

    // Start-up: takes commandLine (double quotes removed) as the file to open, creates the
    // lock "TRAidMutex", sets up help, loads the recent files and the catalogue, starts a new
    // document, opens the named file and reads the window settings. False when there is no
    // catalogue: the program is to end.
    bool Load(const QString &commandLine, const CatalogueLoader &loadCatalogue);

    // Document lifecycle.
    SaveAnswer QuerySave();
    void NewDoc();
    // Opens path (asks for one when empty); true when a script was loaded.
    bool OpenDoc(const QString &path = QString());
    // Saves under the current name, asking for one when there is none or saveAs is true.
    bool SaveDoc(bool saveAs);
    // Starts the host editor with the script (saving first when needed).
    void RunFile();

    // Printing: the page settings of the program (read when the window is created, written
    // when it ends), the print command (the printer dialog first when showDialog), the page
    // setup dialog and the print preview. All print the text Save would write.
    CPrinter &Printer() const { return *m_printer; }
    void PrintDocument(bool showDialog);
    void ShowPageSetup();
    void ShowPrintPreview();

    CDocument *Document() const { return m_doc; }
    StepListView *List() const { return m_list; }
    ActionTree *Tree() const { return m_atv; }
    CMru *Mru() const { return m_mru; }
    // The editing commands of the Edit menu, the action tree and the step list.
    EditCommands *Commands() const { return m_commands; }
    // Replaces the step properties, comment and go-to dialogs (tests); null restores the real
    // ones.
    void setStepDialogs(IStepDialogs *dialogs);
    // The help file the Help menu and F1 open.
    CHTMLHelp &Help() { return m_help; }
    QString FileName() const;
    bool Dirty() const;

    // View switches (each repaints the list when it changes).
    bool WordWrap() const;
    void setWordWrap(bool on);
    bool LineNumbers() const;
    void setLineNumbers(bool on);
    bool ShowZML() const;
    void setShowZML(bool on);
    int IconStyle() const;
    void setIconStyle(int style);
    bool ActionTreeVisible() const { return m_actionTreeVisible; }
    void setActionTreeVisible(bool on);
    bool StatusBarVisible() const { return m_statusBarVisible; }
    void setStatusBarVisible(bool on);
    bool ToolbarsVisible() const { return m_toolbarsVisible; }
    void setToolbarsVisible(bool on);

    // Fonts and comment colour of the list; call after changing them (the options dialog).
    const SharedSettings &Settings() const;
    void ApplySettings(const SharedSettings &settings);

    // Window and view settings.
    void ReadSettings();
    void SaveSettings();
    // The current toolbar bands in position order.
    std::vector<ToolbarBand> Bands() const;

    // Selection helpers for the editing commands.
    std::vector<int> selectedRows() const;
    int FirstSelectedIndex() const;
    void RefreshSelectionState();
    // Enables Cut, Copy and Delete (menu items and toolbar buttons) together.
    void SetEditCommandsEnabled(bool enabled);
    // Enables Paste (menu item and toolbar button).
    void SetPasteEnabled(bool enabled);

    // Menu items and toolbar buttons by name: "mnuFileSave", "mnuEditCut", ... and
    // "tlbStandard/Save", "tlbSteps/MoveUp", "tlbRun/Run".
    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;       // "mnuFile", "mnuEdit", "mnuView", "mnuHelp"
    QToolBar *toolBar(const QString &name) const; // "tlbStandard", "tlbSteps", "tlbRun"
    // Status panel "Text" or "Line".
    QLabel *statusPanel(const QString &key) const;
    QSplitter *splitter() const { return m_splitter; }
    // The menus of commands not yet bound stay disabled; binding a handler connects the
    // menu item and its toolbar button and lets the enabling rules apply at once (binding a
    // name again replaces its handler). The toolbar button runs buttonHandler instead when
    // one is given.
    void bindCommand(const QString &name, std::function<void()> handler,
                     std::function<void()> buttonHandler = {});
    bool isBound(const QString &name) const;

public slots:
    void SelectAll();
    void IndentSelection();
    void OutdentSelection();
    void ShowFileProperties();
    // The options dialog; afterwards the list is laid out and painted with the settings.
    void ShowOptions();
    void ShowAbout();
    // The help command; fromKey is true for F1 (keyword look-up).
    void HelpCommand(bool fromKey = false);

signals:
    // An action of the tree was clicked (or Enter pressed on it): insert it.
    void actionClicked(const QString &elementName);
    // An action was dropped on the list above row (-1: at the end).
    void actionDropped(const QString &elementName, int row);
    // Enter or a double click on the list.
    void editRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createCentre();
    QAction *addAction(const QString &name, const QString &text,
                       const QKeySequence &shortcut = QKeySequence());
    QAction *addButton(QToolBar *bar, const QString &key, const QString &toolTip,
                       const QString &iconKey = QString());
    void setCommandEnabled(const QString &name, bool enabled);
    // Applies the enabling rule of a command that was just bound.
    void refreshEnabling(const QString &name);
    void updateCaption();
    void onRowsInserted();
    void onRowsRemoved();
    void onDirtyChanged();
    void restoreBands(const std::vector<ToolbarBand> &bands);
    void settleToolbars(QToolBar *moved, const QPoint &dropped);
    void fillTree();
    void onTreeNodeClick(QTreeWidgetItem *node);
    void showEditMenu(const QPoint &globalPos);
    void afterStepsButton();
    void rememberNormalGeometry();
    void applySplitter();
    void setLastPath(const QString &file);
    bool chooseFile(bool save, QString *path);

    CDocument *m_doc;
    StepListView *m_list = nullptr;
    ActionTree *m_atv = nullptr;
    QSplitter *m_splitter = nullptr;
    CMru *m_mru;
    MruMenus *m_mruMenus = nullptr;
    HelpViewer *m_helpViewer = nullptr;
    CHTMLHelp m_help;
    std::unique_ptr<QLockFile> m_mutex;
    std::unique_ptr<CPrinter> m_printer;
    std::unique_ptr<StepDialogs> m_stepDialogs;
    EditCommands *m_commands = nullptr;

    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, QToolBar *> m_toolBars;
    QHash<QString, QLabel *> m_panels;
    QHash<QString, std::function<void()>> m_handlers;
    QHash<QString, std::function<void()>> m_buttonHandlers;
    QActionGroup *m_iconGroup = nullptr;
    QMenu *m_openMenu = nullptr;
    QMenu *m_iconMenu = nullptr;

    bool m_actionTreeVisible = true;
    bool m_statusBarVisible = true;
    bool m_toolbarsVisible = true;
    int m_lastSplitter = -1;
    QRect m_normalGeometry;
    QStringList m_bandOrder{QStringLiteral("tlbStandard"), QStringLiteral("tlbSteps"),
                            QStringLiteral("tlbRun")};
    bool m_shown = false;
    // Geometry of every toolbar when one was pressed to be dragged.
    QHash<QToolBar *, QRect> m_barsBeforeDrag;
    QPointer<QToolBar> m_draggedBar;
    QPoint m_dragStart;
};
