#pragma once

#include "core/host/CHTMLHelp.h"
#include "core/settings/SharedSettings.h"
#include "core/settings/WindowSettings.h"
#include "gui/mainwindow/CommandTable.h"
#include "gui/mainwindow/DocumentController.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class ActionTree;
class CDocument;
class CElements;
class CMru;
class CPrinter;
class DocumentRecovery;
class EditCommands;
class FindBar;
class HelpViewer;
class IStepDialogs;
class MruMenus;
class ProblemsPanel;
class QLabel;
class QLockFile;
class QMenu;
class QSplitter;
class QToolBar;
class StepDialogs;
class StepListView;
class WindowLayout;

// The main window: lays out the action tree, the step list, the menus and toolbars built from
// the command table, and the status bar, and connects the commands to the parts that carry
// them out (the document controller, the editing commands, the layout store, the dialogs).
class frmEdit final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmEdit)

public:
    using SaveAnswer = DocumentController::SaveAnswer;

    // Fills the catalogue; false when none could be loaded (the loader has told the user).
    using CatalogueLoader = std::function<bool(CElements &catalogue)>;

    explicit frmEdit(QWidget *parent = nullptr);
    ~frmEdit() override;

    // Start-up: takes commandLine (double quotes removed) as the file to open, creates the
    // lock "TRAidMutex", sets up help, loads the recent files and the catalogue, starts a new
    // document, opens the named file, offers the recovery files of ended instances and reads
    // the window settings. False when there is no catalogue: the program is to end.
    bool Load(const QString &commandLine, const CatalogueLoader &loadCatalogue);

    // The file commands (see DocumentController).
    DocumentController &Controller() const { return *m_controller; }
    SaveAnswer QuerySave() { return m_controller->QuerySave(); }
    void NewDoc() { m_controller->NewDoc(); }
    bool OpenDoc(const QString &path = QString()) { return m_controller->OpenDoc(path); }
    bool SaveDoc(bool saveAs) { return m_controller->SaveDoc(saveAs); }
    void RunFile() { m_controller->RunFile(); }

    // Printing: the page settings of the program (read and written when the window is created,
    // written again when the page setup dialog changes them), the print command (the printer dialog
    // first when showDialog), the page setup dialog and the print preview. All print the text Save
    // would write.
    CPrinter &Printer() const { return *m_printer; }
    void PrintDocument(bool showDialog);
    void ShowPageSetup();
    void ShowPrintPreview();

    CDocument *Document() const { return m_doc; }
    StepListView *List() const { return m_list; }
    // The find bar under the step list (hidden until Find).
    FindBar *findBar() const { return m_findBar; }
    ActionTree *Tree() const { return m_atv; }
    CMru *Mru() const { return m_mru; }
    // The recovery files of the document (autosave, and the offer at start-up).
    DocumentRecovery *Recovery() const { return m_recovery; }
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
    bool ActionTreeVisible() const;
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

    // The commands: menu items and toolbar buttons by command, their handlers and enabling.
    CommandTable &commandTable() const { return *m_table; }
    QAction *action(Command command) const { return m_table->action(command); }
    QAction *button(Command command) const { return m_table->button(command); }
    QMenu *menu(const QString &name) const;       // "mnuFile", "mnuEdit", "mnuView", "mnuHelp"
    QToolBar *toolBar(const QString &name) const; // "tlbStandard", "tlbSteps", "tlbRun"
    // Status panel "Text", "Line" or "Problems".
    QLabel *statusPanel(const QString &key) const;
    QSplitter *splitter() const { return m_splitter; }
    // The "Problems" dock of the live checks.
    ProblemsPanel *Problems() const { return m_problems; }

public slots:
    // Updates the enabling of the commands and the status panels from the selection.
    void RefreshSelectionState();
    void ShowFileProperties();
    // The options dialog; afterwards the list is laid out and painted with the settings.
    void ShowOptions();
    void ShowAbout();
    // The help command; fromKey is true for F1 (keyword look-up).
    void HelpCommand(bool fromKey = false);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createCentre();
    void createToolBars();
    void createStatusBar();
    void connectFileCommands();
    void connectEditCommands();
    void connectViewCommands();
    void connectDocument();
    void connectHistory();
    void connectFind();
    void updateCaption();
    void onRowsChanged();
    void onOpenFinished(bool read);
    // After a button of the steps toolbar the focus returns to the step list.
    void afterStepsButton();
    // The problems dock with its status panel, and the View menu's items for it and for folds.
    void createViewExtras();

    CDocument *m_doc;
    StepListView *m_list = nullptr;
    FindBar *m_findBar = nullptr;
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
    DocumentController *m_controller = nullptr;
    DocumentRecovery *m_recovery = nullptr;
    CommandTable *m_table = nullptr;
    WindowLayout *m_layout = nullptr;
    ProblemsPanel *m_problems = nullptr;

    std::array<QMenu *, 4> m_menus{};
    std::array<QToolBar *, 3> m_toolBars{};
    QHash<QString, QLabel *> m_panels;
    QMenu *m_openMenu = nullptr;

    bool m_statusBarVisible = true;
    bool m_toolbarsVisible = true;
};
