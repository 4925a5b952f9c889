#include "gui/mainwindow/frmEdit.h"

#include "core/document/CDocument.h"
#include "core/document/DocumentCommands.h"
#include "core/document/DocumentHistory.h"
#include "core/document/SelectionState.h"
#include "core/host/MessageService.h"
#include "core/host/RuntimeFiles.h"
#include "core/printing/CPrinter.h"
#include "core/settings/CMru.h"
#include "core/settings/SettingsKeys.h"
#include "core/zml/ZmlWriter.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/editing/StepDialogs.h"
#include "gui/mainwindow/DocumentRecovery.h"
#include "gui/mainwindow/HelpViewer.h"
#include "gui/mainwindow/MruMenus.h"
#include "gui/mainwindow/ProblemsPanel.h"
#include "gui/mainwindow/WindowLayout.h"
#include "gui/mainwindow/frmAbout.h"
#include "gui/mainwindow/frmFileProp.h"
#include "gui/options/frmOptions.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/printing/frmPageSetup.h"
#include "gui/printing/frmPreview.h"
#include "gui/steplist/FindBar.h"
#include "gui/steplist/StepListView.h"
#include "gui/widgets/ElidedLabel.h"
#include "gui/widgets/ModalRunner.h"
#include "gui/widgets/TitleBar.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

const QString kMruSection = QStringLiteral("MRU List");
constexpr int kMruSize = 9;

// Tells the user when the store refused the page settings.
void reportPageSettings(const CPrinter::SaveResult &result)
{
    if (!result.Saved)
        ShowMessage(
            QCoreApplication::translate("CPrinter", "The page settings could not be saved.") +
                QStringLiteral("\r\n") + result.Problem,
            MsgIcon::Exclamation);
}

} // namespace

frmEdit::frmEdit(QWidget *parent)
    : QMainWindow(parent), m_doc(new CDocument(this)), m_mru(new CMru(this)),
      m_printer(std::make_unique<CPrinter>(CPrinter::Persistence::Settings))
{
    setObjectName(QStringLiteral("frmEdit"));
    QIcon appIcon;
    for (int size : {16, 32, 48, 64, 128})
        appIcon.addFile(QStringLiteral(":/icons/app/stepsmith-%1.png").arg(size),
                        QSize(size, size));
    setWindowIcon(appIcon);
    // The page settings are read, and written back at once so that the store holds them all.
    if (!m_printer->LoadProblem().isEmpty())
        ShowMessage(m_printer->LoadProblem(), MsgIcon::Exclamation);
    reportPageSettings(m_printer->Save());

    m_table = new CommandTable(this);
    m_controller = new DocumentController(*m_doc, *m_mru, this);
    m_recovery = new DocumentRecovery(*m_doc, *m_controller, this);
    createCentre();
    m_menus = m_table->buildMenus(this);
    createToolBars();
    createStatusBar();
    m_layout = new WindowLayout(*this, *m_splitter, *m_atv, m_toolBars);
    resize(WindowLayout::kDesignedWidth, WindowLayout::kDesignedHeight);

    m_stepDialogs = std::make_unique<StepDialogs>(
        this, [this](bool ranges) { return m_doc->VariableNames(ranges); }, &m_help);
    m_commands = new EditCommands(*m_doc, m_list, *m_stepDialogs, this);
    m_commands->setActionTree(m_atv);
    connectFileCommands();
    connectEditCommands();
    connectViewCommands();
    connectDocument();
    createViewExtras();
    connectHistory();
    connectFind();
    RefreshSelectionState();
    updateCaption();
}

void frmEdit::createViewExtras()
{
    m_problems = new ProblemsPanel(*m_doc, *m_list, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_problems);
    m_problems->hide();
    QMenu *view = menu(QStringLiteral("mnuView"));
    view->addSeparator();
    view->addAction(m_problems->toggleViewAction());
    QAction *foldAll = view->addAction(tr("&Fold All"), m_list, &StepListView::foldAll);
    foldAll->setObjectName(QStringLiteral("mnuViewFoldAll"));
    QAction *unfoldAll = view->addAction(tr("U&nfold All"), m_list, &StepListView::unfoldAll);
    unfoldAll->setObjectName(QStringLiteral("mnuViewUnfoldAll"));

    // The count shows only while there are problems, leaving the other panels their room.
    auto *count = new QLabel(statusBar());
    count->setObjectName(QStringLiteral("Problems"));
    count->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(count);
    count->hide();
    m_panels.insert(QStringLiteral("Problems"), count);
    connect(m_problems, &ProblemsPanel::countChanged, count, [count](int n) {
        count->setText(ProblemsPanel::countText(n));
        count->setVisible(n > 0);
    });
    connect(m_problems, &ProblemsPanel::rowActivated, this,
            [this](int row) { m_commands->GotoLine(row + 1); });
    connect(m_controller, &DocumentController::saveRefusedByBlocks, this, [this] {
        m_problems->checkNow();
        m_problems->showRow(ScriptChecks::FirstBlockProblemRow(m_problems->problems()));
    });
}

frmEdit::~frmEdit() = default;

void frmEdit::setStepDialogs(IStepDialogs *dialogs)
{
    m_commands->setDialogs(dialogs ? *dialogs : *m_stepDialogs);
}

// ---------------------------------------------------------------------------------------------
// Building the window

void frmEdit::createCentre()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(5);

    m_atv = new ActionTree(m_splitter);
    m_atv->setObjectName(QStringLiteral("atv"));
    m_atv->titleBar()->setCaption(tr("Actions"));
    m_atv->setMinimumWidth(WindowLayout::kSplitterLimit);

    // The right pane: the step list with the find bar under it.
    auto *listPane = new QWidget(m_splitter);
    listPane->setObjectName(QStringLiteral("listPane"));
    m_list = new StepListView(m_doc, listPane);
    m_list->setMinimumWidth(WindowLayout::kSplitterLimit);
    m_list->setFrameShape(QFrame::StyledPanel);
    m_findBar = new FindBar(*m_doc, m_list, listPane);
    auto *paneLayout = new QVBoxLayout(listPane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);
    paneLayout->addWidget(m_list, 1);
    paneLayout->addWidget(m_findBar);

    m_splitter->addWidget(m_atv);
    m_splitter->addWidget(listPane);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({WindowLayout::kDesignedSplitter,
                          WindowLayout::kDesignedWidth - WindowLayout::kDesignedSplitter});
    setCentralWidget(m_splitter);
}

void frmEdit::createToolBars()
{
    const auto makeBar = [this](const QString &name, const QString &title) {
        auto *bar = new QToolBar(title, this);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(true);
        bar->setFloatable(false);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };
    m_toolBars = {makeBar(QStringLiteral("tlbStandard"), tr("Standard")),
                  makeBar(QStringLiteral("tlbSteps"), tr("Steps")),
                  makeBar(QStringLiteral("tlbRun"), tr("Run"))};
    m_table->fillToolBars(m_toolBars[0], m_toolBars[1], m_toolBars[2]);

    // The drop-downs of Open (recent files) and Icon Size.
    m_openMenu = new QMenu(this);
    m_openMenu->setObjectName(QStringLiteral("mnuOpenDropDown"));
    auto *iconDrop = new QMenu(this);
    iconDrop->setObjectName(QStringLiteral("mnuIconSizeDropDown"));
    const char *names[] = {QT_TR_NOOP("None"), QT_TR_NOOP("Small"), QT_TR_NOOP("Large")};
    for (int i = 0; i < 3; ++i) {
        connect(iconDrop->addAction(tr(names[i])), &QAction::triggered, this, [this, i] {
            setIconStyle(i);
            afterStepsButton();
        });
    }
    for (const auto &[bar, command, menu] :
         {std::tuple{m_toolBars[0], Command::FileOpen, m_openMenu},
          std::tuple{m_toolBars[1], Command::ViewIconSize, iconDrop}}) {
        if (auto *tool = qobject_cast<QToolButton *>(bar->widgetForAction(button(command)))) {
            tool->setMenu(menu);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
}

void frmEdit::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    auto *text = new ElidedLabel(bar);
    text->setObjectName(QStringLiteral("Text"));
    text->setMinimumWidth(40);
    text->setAccessibleName(tr("Step information"));
    auto *line = new QLabel(bar);
    line->setObjectName(QStringLiteral("Line"));
    line->setTextFormat(Qt::PlainText);
    line->setAccessibleName(tr("Position"));
    line->setMinimumWidth(
        line->fontMetrics().horizontalAdvance(QStringLiteral("Line: 00000 of 00000")));
    bar->addWidget(text, 1);
    bar->addPermanentWidget(line);
    m_panels.insert(QStringLiteral("Text"), text);
    m_panels.insert(QStringLiteral("Line"), line);
}

QMenu *frmEdit::menu(const QString &name) const
{
    const auto at = std::find_if(m_menus.begin(), m_menus.end(),
                                 [&name](QMenu *m) { return m->objectName() == name; });
    return at != m_menus.end() ? *at : nullptr;
}

QToolBar *frmEdit::toolBar(const QString &name) const
{
    const auto at = std::find_if(m_toolBars.begin(), m_toolBars.end(),
                                 [&name](QToolBar *b) { return b->objectName() == name; });
    return at != m_toolBars.end() ? *at : nullptr;
}

QLabel *frmEdit::statusPanel(const QString &key) const
{
    return m_panels.value(key);
}

// ---------------------------------------------------------------------------------------------
// View switches

bool frmEdit::WordWrap() const
{
    return m_list->WordWrap();
}

void frmEdit::setWordWrap(bool on)
{
    m_table->setChecked(Command::ViewWordWrap, on);
    m_list->setWordWrap(on);
}

bool frmEdit::LineNumbers() const
{
    return m_list->LineNumbers();
}

void frmEdit::setLineNumbers(bool on)
{
    m_table->setChecked(Command::ViewLineNumbers, on);
    m_list->setLineNumbers(on);
}

bool frmEdit::ShowZML() const
{
    return m_list->ShowZML();
}

void frmEdit::setShowZML(bool on)
{
    m_table->setChecked(Command::ViewText, !on);
    m_table->setChecked(Command::ViewSource, on);
    m_list->setShowZML(on);
}

int frmEdit::IconStyle() const
{
    return m_list->IconStyle();
}

void frmEdit::setIconStyle(int style)
{
    style = std::clamp(style, 0, 2);
    const Command items[] = {Command::ViewIconNone, Command::ViewIconSmall, Command::ViewIconLarge};
    m_table->setChecked(items[style], true);
    m_list->setIconStyle(style);
}

bool frmEdit::ActionTreeVisible() const
{
    return m_layout->paneVisible();
}

void frmEdit::setActionTreeVisible(bool on)
{
    m_table->setChecked(Command::ViewActions, on);
    m_layout->setPaneVisible(on);
}

void frmEdit::setStatusBarVisible(bool on)
{
    m_statusBarVisible = on;
    m_table->setChecked(Command::ViewStatusbar, on);
    statusBar()->setVisible(on);
}

void frmEdit::setToolbarsVisible(bool on)
{
    m_toolbarsVisible = on;
    m_table->setChecked(Command::ViewToolbars, on);
    for (QToolBar *bar : m_toolBars)
        bar->setVisible(on);
}

const SharedSettings &frmEdit::Settings() const
{
    return m_list->Settings();
}

void frmEdit::ApplySettings(const SharedSettings &settings)
{
    m_list->setSettings(settings);
}

// ---------------------------------------------------------------------------------------------
// Dialogs and help

QString frmEdit::FileName() const
{
    return m_doc->FileName();
}

bool frmEdit::Dirty() const
{
    return m_doc->Dirty();
}

void frmEdit::updateCaption()
{
    const QString name = FileName().isEmpty() ? tr("Untitled") : FileName();
    setWindowTitle(tr("[%1] - Tessaro AddIn Editor").arg(name));
}

void frmEdit::ShowFileProperties()
{
    frmFileProp dialog(m_doc->Header(), this);
    if (RunModal(dialog) == QDialog::Accepted) {
        CHeader header = m_doc->Header();
        dialog.Apply(header);
        DocumentHistory &history = m_commands->history();
        history.stack()->push(new HeaderCommand(history, tr("File Properties"), header));
    }
}

void frmEdit::PrintDocument(bool showDialog)
{
    CPrintCommand::PrintDocument(this, *m_printer, BuildDocumentText(*m_doc), FileName(),
                                 showDialog);
}

void frmEdit::ShowPageSetup()
{
    frmPageSetup dialog(*m_printer, this);
    if (RunModal(dialog) == QDialog::Accepted)
        reportPageSettings(m_printer->Save());
}

void frmEdit::ShowPrintPreview()
{
    // The window is disabled while the preview is open; printing from the preview uses the
    // current printer without the dialog.
    frmPreview::ShowPreview(this, *m_printer, BuildDocumentText(*m_doc), FileName(),
                            [this] { PrintDocument(false); });
}

void frmEdit::ShowOptions()
{
    SharedSettings settings = Settings();
    frmOptions::ShowOptions(settings, this);
    // After OK and Cancel alike the rows are measured and painted again.
    ApplySettings(settings);
}

void frmEdit::ShowAbout()
{
    frmAbout dialog(this);
    RunModal(dialog);
}

void frmEdit::HelpCommand(bool fromKey)
{
    if (m_help.FileName().isEmpty() || !QFileInfo::exists(m_help.FileName())) {
        ShowMessage(tr("Can't find the help file. Make sure it is placed in the application "
                       "directory"),
                    MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    QString keyword;
    if (fromKey) {
        if (m_list->hasFocus()) {
            const int first = m_commands->FirstSelectedIndex();
            if (first >= 0) {
                keyword = m_doc->ElementName(first);
            }
        } else if (QTreeWidgetItem *node = m_atv->SelectedItem();
                   node != nullptr && !ActionTree::IsFolder(node)) {
            keyword = ActionTree::KeyOf(node);
        }
    }
    if (!keyword.isEmpty())
        m_help.ShowContent(keyword);
    else
        m_help.Display();
}

// ---------------------------------------------------------------------------------------------
// Start-up, closing and settings

bool frmEdit::Load(const QString &commandLine, const CatalogueLoader &loadCatalogue)
{
    // The command line names the file to open.
    QString file = commandLine;
    file.remove(QLatin1Char('"'));
    file = file.trimmed();

    // The named lock, held while the program runs (a second copy may still run).
    m_mutex = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("TRAidMutex")));
    m_mutex->setStaleLockTime(0);
    m_mutex->tryLock(0);

    m_help.setFileName(FindRuntimeFile(QStringLiteral("stepsmith.html")));
    if (m_helpViewer == nullptr) {
        m_helpViewer = new HelpViewer(this);
        m_helpViewer->Install();
    }

    m_mruMenus =
        new MruMenus(m_mru, menu(QStringLiteral("mnuFile")),
                     findChild<QAction *>(QStringLiteral("mnuFileSepMru")), m_openMenu, this);
    connect(m_mruMenus, &MruMenus::openRequested, this,
            [this](const QString &path) { OpenDoc(path); });
    m_mru->setListSize(kMruSize);
    m_mru->GetMruList(QLatin1String(SettingsKeys::kProgramName), kMruSection);
    m_mruMenus->Rebuild();
    // Every change of the list is written at once, so that a stopped program loses no entry.
    connect(m_mru, &CMru::MruListChanged, this,
            [this] { m_mru->SaveMruList(QLatin1String(SettingsKeys::kProgramName), kMruSection); });

    if (!loadCatalogue || !loadCatalogue(m_doc->Catalogue()) || m_doc->Catalogue().Count() == 0)
        return false;
    m_atv->Fill(m_doc->Catalogue());
    NewDoc();

    if (!file.isEmpty()) {
        if (QFileInfo(file).isFile()) {
            OpenDoc(file);
        } else {
            ShowMessage(tr("Can't find the file:\r\n'%1'").arg(file), MsgIcon::Information,
                        MsgButtons::Ok);
            m_mru->RemoveFromMruList(file);
        }
    }

    m_recovery->start();
    m_recovery->offer();

    ReadSettings();
    m_list->setFocus();
    return true;
}

void frmEdit::closeEvent(QCloseEvent *event)
{
    m_mru->SaveMruList(QLatin1String(SettingsKeys::kProgramName), kMruSection);
    if (QuerySave() == SaveAnswer::Cancel) {
        event->ignore();
        return;
    }
    m_recovery->finish();
    SaveSettings();
    if (m_helpViewer != nullptr)
        m_helpViewer->close();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    event->accept();
}

void frmEdit::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_layout->windowShown();
}

std::vector<ToolbarBand> frmEdit::Bands() const
{
    return m_layout->Bands();
}

void frmEdit::ReadSettings()
{
    const WindowSettings s = ReadWindowSettings(Bands());
    setWordWrap(s.WordWrap);
    setLineNumbers(s.LineNumbers);
    setShowZML(s.ShowSource);
    setIconStyle(s.IconStyle);
    ApplySettings(s.Shared);
    m_layout->restore(s);
    setToolbarsVisible(s.Toolbars);
    setStatusBarVisible(s.StatusBar);
    m_table->setChecked(Command::ViewActions, s.ActionTree);
    m_layout->setPaneVisible(s.ActionTree, true);
    m_layout->restoreBands(s.Bands, m_toolbarsVisible);
    m_problems->setVisible(s.Problems);
}

void frmEdit::SaveSettings()
{
    WindowSettings s;
    s.WordWrap = WordWrap();
    s.LineNumbers = LineNumbers();
    s.ShowSource = ShowZML();
    s.IconStyle = IconStyle();
    s.Shared = Settings();
    s.ActionTree = ActionTreeVisible();
    s.StatusBar = m_statusBarVisible;
    s.Toolbars = m_toolbarsVisible;
    s.Problems = !m_problems->isHidden();
    m_layout->store(s);
    SaveWindowSettings(
        s, !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)));
}
