#include "gui/mainwindow/frmEdit.h"

#include "core/document/CDocument.h"
#include "core/document/SelectionState.h"
#include "core/document/StepRowGeometry.h"
#include "core/host/HostLauncher.h"
#include "core/host/MessageService.h"
#include "core/host/RuntimeFiles.h"
#include "core/printing/CPrinter.h"
#include "core/settings/CMru.h"
#include "core/settings/SettingsKeys.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/editing/StepDialogs.h"
#include "gui/mainwindow/EditBindings.h"
#include "gui/mainwindow/HelpViewer.h"
#include "gui/mainwindow/MruMenus.h"
#include "gui/mainwindow/frmAbout.h"
#include "gui/mainwindow/frmFileProp.h"
#include "gui/options/frmOptions.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/printing/frmPageSetup.h"
#include "gui/printing/frmPreview.h"
#include "gui/steplist/StepListView.h"
#include "gui/widgets/ElidedLabel.h"
#include "gui/widgets/ModalRunner.h"
#include "gui/widgets/TitleBar.h"

#include <fieldpane/CCommonDialogs.h>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <utility>

namespace {

const QString kAppName = QLatin1String(SettingsKeys::kProgramName);
const QString kMruSection = QStringLiteral("MRU List");
const QString kCaptionSuffix = QStringLiteral(" - Tessaro AddIn Editor");
constexpr int kMruSize = 9;
constexpr int kDesignedWidth = 860;  // pixels
constexpr int kDesignedHeight = 620; // pixels
constexpr int kDesignedSplitter = 220;
constexpr int kSplitterLimit = 30; // pixels kept between the splitter and either edge

// The toolbar button that does the same as a menu item.
const QHash<QString, QString> &buttonOfMenu()
{
    static const QHash<QString, QString> map{
        {QStringLiteral("mnuFileNew"), QStringLiteral("tlbStandard/New")},
        {QStringLiteral("mnuFileOpen"), QStringLiteral("tlbStandard/Open")},
        {QStringLiteral("mnuFileSave"), QStringLiteral("tlbStandard/Save")},
        {QStringLiteral("mnuFilePrint"), QStringLiteral("tlbStandard/Print")},
        {QStringLiteral("mnuFilePreview"), QStringLiteral("tlbStandard/PrintPreview")},
        {QStringLiteral("mnuEditCut"), QStringLiteral("tlbStandard/Cut")},
        {QStringLiteral("mnuEditCopy"), QStringLiteral("tlbStandard/Copy")},
        {QStringLiteral("mnuEditPaste"), QStringLiteral("tlbStandard/Paste")},
        {QStringLiteral("mnuEditDelete"), QStringLiteral("tlbStandard/Delete")},
        {QStringLiteral("mnuEditProperties"), QStringLiteral("tlbStandard/Properties")},
        {QStringLiteral("mnuEditMoveUp"), QStringLiteral("tlbSteps/MoveUp")},
        {QStringLiteral("mnuEditMoveDown"), QStringLiteral("tlbSteps/MoveDown")},
        {QStringLiteral("mnuEditComment"), QStringLiteral("tlbSteps/Comment")},
        {QStringLiteral("mnuFileRun"), QStringLiteral("tlbRun/Run")},
    };
    return map;
}

// What the run command needs of the window.
class RunDocument final : public HostLauncher::Document {
public:
    explicit RunDocument(frmEdit &window) : m_window(window) {}
    QString FileName() const override { return m_window.FileName(); }
    bool Dirty() const override { return m_window.Dirty(); }
    bool SaveDoc(bool saveAs) override { return m_window.SaveDoc(saveAs); }

private:
    frmEdit &m_window;
};

QIcon toolbarIcon(const QString &key)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/toolbar/16/%1.png").arg(key), QSize(16, 16));
    icon.addFile(QStringLiteral(":/toolbar/22/%1.png").arg(key), QSize(22, 22));
    return icon;
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

    createCentre();
    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    resize(kDesignedWidth, kDesignedHeight);

    connect(m_doc, &CDocument::fileNameChanged, this, &frmEdit::updateCaption);
    connect(m_doc, &CDocument::dirtyChanged, this, &frmEdit::onDirtyChanged);
    connect(m_doc, &CDocument::recentFileAdded, m_mru,
            [this](const QString &path) { m_mru->AddToMruList(path); });
    connect(m_doc, &CDocument::recentFileRemoved, m_mru,
            [this](const QString &path) { m_mru->RemoveFromMruList(path); });
    connect(m_doc, &CDocument::loadingStarted, this,
            [this] { m_list->setPaintingSuspended(true); });
    connect(m_doc, &CDocument::loadingFinished, this,
            [this] { m_list->setPaintingSuspended(false); });
    connect(m_doc, &CDocument::stepInserted, this, [this](int row) {
        const QModelIndex index = m_doc->Rows()->index(row, 0);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
        m_list->setFocus();
    });

    StepRowsModel *rows = m_doc->Rows();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &frmEdit::onRowsInserted);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &frmEdit::onRowsRemoved);
    connect(rows, &QAbstractItemModel::modelReset, this, &frmEdit::onRowsRemoved);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &frmEdit::RefreshSelectionState);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmEdit::RefreshSelectionState);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmEdit::RefreshSelectionState);
    connect(m_list, &QAbstractItemView::clicked, this, &frmEdit::RefreshSelectionState);
    connect(m_list, &StepListView::contextMenuRequested, this, &frmEdit::showEditMenu);
    connect(m_list, &StepListView::editRequested, this, &frmEdit::editRequested);
    connect(m_list, &StepListView::actionDropped, this, &frmEdit::actionDropped);

    m_stepDialogs = std::make_unique<StepDialogs>(this, &m_doc->Steps(), &m_help);
    m_commands = new EditCommands(*m_doc, m_list, *m_stepDialogs, this);
    BindEditCommands(*this, *m_commands);

    // Paste follows the clipboard: enabled while it holds text.
    QClipboard *clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, this,
            [this, clipboard] { SetPasteEnabled(!clipboard->text().isEmpty()); });

    updateCaption();
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
    m_atv->setMinimumWidth(kSplitterLimit);

    m_list = new StepListView(m_doc, m_splitter);
    m_list->setMinimumWidth(kSplitterLimit);
    m_list->setFrameShape(QFrame::StyledPanel);

    m_splitter->addWidget(m_atv);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kDesignedSplitter, kDesignedWidth - kDesignedSplitter});
    setCentralWidget(m_splitter);

    connect(m_atv, &ActionTree::CloseRequested, this, [this] { setActionTreeVisible(false); });
    connect(m_atv, &ActionTree::NodeClick, this, &frmEdit::onTreeNodeClick);
    connect(m_atv, &ActionTree::StatusText, this,
            [this](const QString &text) { m_panels.value(QStringLiteral("Text"))->setText(text); });
    connect(m_splitter, &QSplitter::splitterMoved, this, [this](int pos) {
        if (m_actionTreeVisible)
            m_lastSplitter = pos;
    });
}

QAction *frmEdit::addAction(const QString &name, const QString &text, const QKeySequence &shortcut)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    m_actions.insert(name, action);
    return action;
}

void frmEdit::createActions()
{
    // File
    addAction(QStringLiteral("mnuFileNew"), tr("&New"), QKeySequence(QStringLiteral("Ctrl+N")));
    addAction(QStringLiteral("mnuFileOpen"), tr("&Open..."),
              QKeySequence(QStringLiteral("Ctrl+O")));
    addAction(QStringLiteral("mnuFileSave"), tr("&Save"), QKeySequence(QStringLiteral("Ctrl+S")));
    addAction(QStringLiteral("mnuFileSaveAs"), tr("Save &As..."));
    addAction(QStringLiteral("mnuFilePrint"), tr("&Print..."),
              QKeySequence(QStringLiteral("Ctrl+P")));
    addAction(QStringLiteral("mnuFilePageSetup"), tr("Page Set&up..."));
    addAction(QStringLiteral("mnuFilePreview"), tr("Print Pre&view..."));
    addAction(QStringLiteral("mnuFileRun"), tr("Run script"), QKeySequence(Qt::Key_F5));
    addAction(QStringLiteral("mnuFileExit"), tr("&Exit"));
    // Edit
    addAction(QStringLiteral("mnuEditCut"), tr("&Cut"), QKeySequence(QStringLiteral("Ctrl+X")));
    addAction(QStringLiteral("mnuEditCopy"), tr("C&opy"), QKeySequence(QStringLiteral("Ctrl+C")));
    addAction(QStringLiteral("mnuEditPaste"), tr("&Paste"), QKeySequence(QStringLiteral("Ctrl+V")));
    addAction(QStringLiteral("mnuEditDelete"), tr("&Delete"), QKeySequence(Qt::Key_Delete));
    addAction(QStringLiteral("mnuEditGoto"), tr("&Go to step..."),
              QKeySequence(QStringLiteral("Ctrl+G")));
    addAction(QStringLiteral("mnuEditMoveUp"), tr("Move step &up"),
              QKeySequence(QStringLiteral("Ctrl+U")));
    addAction(QStringLiteral("mnuEditMoveDown"), tr("Move step &down"),
              QKeySequence(QStringLiteral("Ctrl+D")));
    addAction(QStringLiteral("mnuEditComment"), tr("Add a co&mment..."),
              QKeySequence(QStringLiteral("Ctrl+R")));
    addAction(QStringLiteral("mnuEditSelectAll"), tr("Select &all"),
              QKeySequence(QStringLiteral("Ctrl+A")));
    addAction(QStringLiteral("mnuEditDisable"), tr("Di&sable steps"));
    addAction(QStringLiteral("mnuEditEnable"), tr("&Enable steps"));
    addAction(QStringLiteral("mnuEditProperties"), tr("&Properties"));
    addAction(QStringLiteral("mnuEditOptions"), tr("Option&s"));
    // View
    for (const auto &[name, text] :
         {std::pair{"mnuViewToolbars", "&Toolbars"}, std::pair{"mnuViewStatusbar", "&Statusbar"},
          std::pair{"mnuViewActions", "&Actions"}, std::pair{"mnuViewWordWrap", "&Word wrap"},
          std::pair{"mnuViewLineNumbers", "&Line numbers"}, std::pair{"mnuViewText", "Te&xt"},
          std::pair{"mnuViewSource", "So&urce"}}) {
        addAction(QString::fromLatin1(name), tr(text))->setCheckable(true);
    }
    m_iconGroup = new QActionGroup(this);
    m_iconGroup->setExclusive(true);
    const char *iconNames[] = {"mnuViewIconNone", "mnuViewIconSmall", "mnuViewIconLarge"};
    const char *iconTexts[] = {"&None", "&Small", "&Large"};
    for (int i = 0; i < 3; ++i) {
        QAction *a = addAction(QString::fromLatin1(iconNames[i]), tr(iconTexts[i]));
        a->setCheckable(true);
        m_iconGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setIconStyle(i); });
    }
    // Help: F1 (a window shortcut) looks up the selected step; the menu opens the start page.
    addAction(QStringLiteral("mnuHelpContents"),
              tr("&Help Contents") + QLatin1Char('\t') + QStringLiteral("F1"));
    addAction(QStringLiteral("mnuHelpAbout"), tr("&About"));
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { HelpCommand(true); });

    const auto trigger = [this](const QString &name, auto slot) {
        connect(m_actions.value(name), &QAction::triggered, this, slot);
    };
    trigger(QStringLiteral("mnuFileExit"), [this] { close(); });
    trigger(QStringLiteral("mnuViewToolbars"), [this](bool on) { setToolbarsVisible(on); });
    trigger(QStringLiteral("mnuViewStatusbar"), [this](bool on) { setStatusBarVisible(on); });
    trigger(QStringLiteral("mnuViewActions"), [this](bool on) { setActionTreeVisible(on); });
    trigger(QStringLiteral("mnuViewWordWrap"), [this](bool on) { setWordWrap(on); });
    trigger(QStringLiteral("mnuViewLineNumbers"), [this](bool on) { setLineNumbers(on); });
    trigger(QStringLiteral("mnuViewText"), [this] { setShowZML(!ShowZML()); });
    trigger(QStringLiteral("mnuViewSource"), [this] { setShowZML(!ShowZML()); });
    trigger(QStringLiteral("mnuHelpContents"), [this] { HelpCommand(false); });
    trigger(QStringLiteral("mnuHelpAbout"), [this] { ShowAbout(); });
}

void frmEdit::createMenus()
{
    QMenuBar *bar = menuBar();
    const auto a = [this](const char *name) {
        return m_actions.value(QString::fromLatin1(name));
    };

    QMenu *file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(a("mnuFileNew"));
    file->addAction(a("mnuFileOpen"));
    file->addSeparator();
    file->addAction(a("mnuFileSave"));
    file->addAction(a("mnuFileSaveAs"));
    file->addSeparator();
    file->addAction(a("mnuFilePrint"));
    file->addAction(a("mnuFilePageSetup"));
    file->addAction(a("mnuFilePreview"));
    file->addSeparator();
    file->addAction(a("mnuFileRun"));
    file->addSeparator();
    QAction *sepMru = file->addSeparator();
    sepMru->setObjectName(QStringLiteral("mnuFileSepMru"));
    m_actions.insert(QStringLiteral("mnuFileSepMru"), sepMru);
    file->addAction(a("mnuFileExit"));

    QMenu *edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    for (const char *name :
         {"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditDelete", "-", "mnuEditGoto",
          "mnuEditMoveUp", "mnuEditMoveDown", "mnuEditComment", "-", "mnuEditSelectAll", "-",
          "mnuEditDisable", "mnuEditEnable", "-", "mnuEditProperties", "mnuEditOptions"}) {
        if (qstrcmp(name, "-") == 0)
            edit->addSeparator();
        else
            edit->addAction(a(name));
    }

    QMenu *view = bar->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(a("mnuViewToolbars"));
    view->addAction(a("mnuViewStatusbar"));
    view->addAction(a("mnuViewActions"));
    m_iconMenu = view->addMenu(tr("&Icon size"));
    m_iconMenu->setObjectName(QStringLiteral("mnuViewIconSize"));
    m_iconMenu->addActions(m_iconGroup->actions());
    view->addAction(a("mnuViewWordWrap"));
    view->addAction(a("mnuViewLineNumbers"));
    view->addSeparator();
    view->addAction(a("mnuViewText"));
    view->addAction(a("mnuViewSource"));

    QMenu *help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(a("mnuHelpContents"));
    help->addAction(a("mnuHelpAbout"));

    for (QMenu *m : {file, edit, view, help})
        m_menus.insert(m->objectName(), m);
}

QAction *frmEdit::addButton(QToolBar *bar, const QString &key, const QString &toolTip,
                            const QString &iconKey)
{
    QAction *button = bar->addAction(toolbarIcon(iconKey.isEmpty() ? key : iconKey), toolTip);
    button->setObjectName(bar->objectName() + QLatin1Char('/') + key);
    button->setToolTip(toolTip);
    button->setData(key);
    m_actions.insert(button->objectName(), button);
    return button;
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
        m_toolBars.insert(name, bar);
        bar->installEventFilter(this);
        return bar;
    };

    QToolBar *standard = makeBar(QStringLiteral("tlbStandard"), tr("Standard"));
    addButton(standard, QStringLiteral("New"), tr("New"));
    QAction *open = addButton(standard, QStringLiteral("Open"), tr("Open"));
    addButton(standard, QStringLiteral("Save"), tr("Save"));
    standard->addSeparator();
    addButton(standard, QStringLiteral("Print"), tr("Print"));
    addButton(standard, QStringLiteral("PrintPreview"), tr("Print Preview"));
    standard->addSeparator();
    addButton(standard, QStringLiteral("Cut"), tr("Cut"));
    addButton(standard, QStringLiteral("Copy"), tr("Copy"));
    addButton(standard, QStringLiteral("Paste"), tr("Paste"));
    addButton(standard, QStringLiteral("Delete"), tr("Delete"));
    standard->addSeparator();
    addButton(standard, QStringLiteral("Properties"), tr("Properties"));
    m_openMenu = new QMenu(this);
    m_openMenu->setObjectName(QStringLiteral("mnuOpenDropDown"));
    if (auto *button = qobject_cast<QToolButton *>(standard->widgetForAction(open))) {
        button->setMenu(m_openMenu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }

    QToolBar *steps = makeBar(QStringLiteral("tlbSteps"), tr("Steps"));
    addButton(steps, QStringLiteral("MoveUp"), tr("Move Up"));
    addButton(steps, QStringLiteral("MoveDown"), tr("Move Down"));
    steps->addSeparator();
    addButton(steps, QStringLiteral("Outdent"), tr("Decrease Indent"));
    addButton(steps, QStringLiteral("Indent"), tr("Increase Indent"));
    steps->addSeparator();
    for (const char *key : {"WordWrap", "LineNums", "ZML"}) {
        const QString k = QString::fromLatin1(key);
        const QString tip = k == QLatin1String("WordWrap")   ? tr("Word Wrap")
                            : k == QLatin1String("LineNums") ? tr("Line Numbers")
                                                             : tr("View Source");
        addButton(steps, k, tip)->setCheckable(true);
    }
    steps->addSeparator();
    addButton(steps, QStringLiteral("Comment"), tr("Add a comment"));
    QAction *iconSize = addButton(steps, QStringLiteral("IconSize"), tr("Icon Size"));
    auto *iconDrop = new QMenu(this);
    iconDrop->setObjectName(QStringLiteral("mnuIconSizeDropDown"));
    const char *names[] = {"None", "Small", "Large"};
    for (int i = 0; i < 3; ++i) {
        QAction *item = iconDrop->addAction(tr(names[i]));
        connect(item, &QAction::triggered, this, [this, i] {
            setIconStyle(i);
            afterStepsButton();
        });
    }
    if (auto *button = qobject_cast<QToolButton *>(steps->widgetForAction(iconSize))) {
        button->setMenu(iconDrop);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }

    QToolBar *run = makeBar(QStringLiteral("tlbRun"), tr("Run"));
    QAction *runButton = addButton(run, QStringLiteral("Run"), tr("Run script"));
    run->widgetForAction(runButton)->setProperty("toolButtonStyle", Qt::ToolButtonTextBesideIcon);
    runButton->setIconText(tr("Run"));
    if (auto *button = qobject_cast<QToolButton *>(run->widgetForAction(runButton)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    // View switches and the steps toolbar.
    const auto button = [this](const char *name) {
        return m_actions.value(QString::fromLatin1(name));
    };
    connect(button("tlbSteps/WordWrap"), &QAction::triggered, this, [this](bool on) {
        setWordWrap(on);
        afterStepsButton();
    });
    connect(button("tlbSteps/LineNums"), &QAction::triggered, this, [this](bool on) {
        setLineNumbers(on);
        afterStepsButton();
    });
    connect(button("tlbSteps/ZML"), &QAction::triggered, this, [this](bool on) {
        setShowZML(on);
        afterStepsButton();
    });
    connect(button("tlbSteps/Indent"), &QAction::triggered, this, [this] {
        IndentSelection();
        afterStepsButton();
    });
    connect(button("tlbSteps/Outdent"), &QAction::triggered, this, [this] {
        OutdentSelection();
        afterStepsButton();
    });
    connect(iconSize, &QAction::triggered, this, [this] {
        setIconStyle((IconStyle() + 1) % 3);
        afterStepsButton();
    });

    // Commands of this window; the others stay disabled until bound.
    bindCommand(QStringLiteral("mnuFileNew"), [this] { NewDoc(); });
    bindCommand(QStringLiteral("mnuFileOpen"), [this] { OpenDoc(); });
    bindCommand(QStringLiteral("mnuFileSave"), [this] { SaveDoc(false); });
    bindCommand(QStringLiteral("mnuFileSaveAs"), [this] { SaveDoc(true); });
    bindCommand(QStringLiteral("mnuFileRun"), [this] { RunFile(); });
    bindCommand(QStringLiteral("mnuEditSelectAll"), [this] { SelectAll(); });
    bindCommand(QStringLiteral("mnuEditProperties"), [this] { ShowFileProperties(); });
    // "&Print..." asks for the printer; the toolbar's Print prints on the current one.
    bindCommand(
        QStringLiteral("mnuFilePrint"), [this] { PrintDocument(true); },
        [this] { PrintDocument(false); });
    bindCommand(QStringLiteral("mnuFilePageSetup"), [this] { ShowPageSetup(); });
    bindCommand(QStringLiteral("mnuFilePreview"), [this] { ShowPrintPreview(); });
    for (const char *name : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditDelete",
                             "mnuEditGoto", "mnuEditMoveUp", "mnuEditMoveDown", "mnuEditComment",
                             "mnuEditDisable", "mnuEditEnable", "mnuEditOptions"})
        setCommandEnabled(QString::fromLatin1(name), false);
    for (const char *name : {"mnuFileRun", "mnuEditSelectAll"})
        setCommandEnabled(QString::fromLatin1(name), false);
    bindCommand(QStringLiteral("mnuEditOptions"), [this] { ShowOptions(); });
    setCommandEnabled(QStringLiteral("mnuEditOptions"), true);
}

void frmEdit::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    auto *text = new ElidedLabel(bar);
    text->setObjectName(QStringLiteral("Text"));
    text->setMinimumWidth(40);
    auto *line = new QLabel(bar);
    line->setObjectName(QStringLiteral("Line"));
    line->setTextFormat(Qt::PlainText);
    line->setMinimumWidth(
        line->fontMetrics().horizontalAdvance(QStringLiteral("Line: 00000 of 00000")));
    bar->addWidget(text, 1);
    bar->addPermanentWidget(line);
    m_panels.insert(QStringLiteral("Text"), text);
    m_panels.insert(QStringLiteral("Line"), line);
}

// ---------------------------------------------------------------------------------------------
// Commands and enabling

void frmEdit::bindCommand(const QString &name, std::function<void()> handler,
                          std::function<void()> buttonHandler)
{
    QAction *menuItem = m_actions.value(name);
    if (menuItem == nullptr || !handler)
        return;
    const bool first = !m_handlers.contains(name);
    m_handlers.insert(name, std::move(handler));
    if (buttonHandler)
        m_buttonHandlers.insert(name, std::move(buttonHandler));
    else
        m_buttonHandlers.remove(name);
    if (!first)
        return;
    const auto run = [this, name] {
        if (const auto h = m_handlers.value(name))
            h();
    };
    const auto runButton = [this, name] {
        if (const auto h = m_buttonHandlers.value(name))
            h();
        else if (const auto h2 = m_handlers.value(name))
            h2();
    };
    connect(menuItem, &QAction::triggered, this, run);
    if (QAction *button = m_actions.value(buttonOfMenu().value(name)))
        connect(button, &QAction::triggered, this, runButton);
    refreshEnabling(name);
}

void frmEdit::refreshEnabling(const QString &name)
{
    static const QStringList alwaysOn{
        QStringLiteral("mnuFileNew"),        QStringLiteral("mnuFileOpen"),
        QStringLiteral("mnuFileSave"),       QStringLiteral("mnuFileSaveAs"),
        QStringLiteral("mnuFilePrint"),      QStringLiteral("mnuFilePageSetup"),
        QStringLiteral("mnuFilePreview"),    QStringLiteral("mnuEditComment"),
        QStringLiteral("mnuEditProperties"), QStringLiteral("mnuEditOptions")};
    if (alwaysOn.contains(name))
        setCommandEnabled(name, true);
    else if (name == QLatin1String("mnuEditPaste"))
        SetPasteEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    else if (name == QLatin1String("mnuFileRun"))
        setCommandEnabled(name, m_doc->RowCount() > 0);
    else
        RefreshSelectionState();
}

bool frmEdit::isBound(const QString &name) const
{
    return m_handlers.contains(name);
}

void frmEdit::setCommandEnabled(const QString &name, bool enabled)
{
    const bool on = enabled && isBound(name);
    if (QAction *menuItem = m_actions.value(name))
        menuItem->setEnabled(on);
    if (QAction *button = m_actions.value(buttonOfMenu().value(name)))
        button->setEnabled(on);
}

void frmEdit::SetEditCommandsEnabled(bool enabled)
{
    for (const char *name : {"mnuEditCut", "mnuEditCopy", "mnuEditDelete"})
        setCommandEnabled(QString::fromLatin1(name), enabled);
}

void frmEdit::SetPasteEnabled(bool enabled)
{
    setCommandEnabled(QStringLiteral("mnuEditPaste"), enabled);
}

QAction *frmEdit::action(const QString &name) const
{
    return m_actions.value(name);
}

QMenu *frmEdit::menu(const QString &name) const
{
    return m_menus.value(name);
}

QToolBar *frmEdit::toolBar(const QString &name) const
{
    return m_toolBars.value(name);
}

QLabel *frmEdit::statusPanel(const QString &key) const
{
    return m_panels.value(key);
}

std::vector<int> frmEdit::selectedRows() const
{
    return m_list->selectedRows();
}

int frmEdit::FirstSelectedIndex() const
{
    int first = -1;
    for (const QItemSelectionRange &range : m_list->selectionModel()->selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}

void frmEdit::RefreshSelectionState()
{
    if (m_panels.isEmpty())
        return; // still being built
    if (!m_list->DropMarker().isEmpty()) {
        m_list->setDropMarker(QString());
        m_list->setFocus();
    }
    const int count = m_doc->RowCount();
    int selectedCount = 0;
    bool firstSelected = false;
    bool lastSelected = false;
    for (const QItemSelectionRange &range : m_list->selectionModel()->selection()) {
        selectedCount += range.height();
        firstSelected = firstSelected || range.top() == 0;
        lastSelected = lastSelected || range.bottom() == count - 1;
    }
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    QString information;
    if (current >= 0) {
        if (const auto step = m_doc->Step(current))
            information = step->Information;
    }
    const SelectionState s = ComputeSelectionState(count, selectedCount, firstSelected,
                                                   lastSelected, current, information);
    m_panels.value(QStringLiteral("Text"))->setText(s.TextPanel);
    m_panels.value(QStringLiteral("Line"))->setText(s.LinePanel);
    setCommandEnabled(QStringLiteral("mnuEditMoveUp"), s.MoveUp);
    setCommandEnabled(QStringLiteral("mnuEditMoveDown"), s.MoveDown);
    setCommandEnabled(QStringLiteral("mnuEditDisable"), s.EditCommands);
    setCommandEnabled(QStringLiteral("mnuEditEnable"), s.EditCommands);
    SetEditCommandsEnabled(s.EditCommands);
    setCommandEnabled(QStringLiteral("mnuEditGoto"), s.GotoStep);
    setCommandEnabled(QStringLiteral("mnuEditSelectAll"), s.SelectAll);
    // Outdent and indent act on the selection.
    m_actions.value(QStringLiteral("tlbSteps/Outdent"))->setEnabled(selectedCount > 0);
    m_actions.value(QStringLiteral("tlbSteps/Indent"))->setEnabled(selectedCount > 0);
}

void frmEdit::onRowsInserted()
{
    setCommandEnabled(QStringLiteral("mnuFileRun"), true);
    if (m_list->currentIndex().isValid())
        RefreshSelectionState();
    else
        m_panels.value(QStringLiteral("Line"))->setText(StepsPanelText(m_doc->RowCount()));
}

void frmEdit::onRowsRemoved()
{
    const int count = m_doc->RowCount();
    if (count == 0) {
        for (const char *name : {"mnuFileRun", "mnuEditMoveUp", "mnuEditMoveDown"})
            setCommandEnabled(QString::fromLatin1(name), false);
    }
    if (m_list->currentIndex().isValid()) {
        RefreshSelectionState();
    } else if (count > 0) {
        m_panels.value(QStringLiteral("Line"))->setText(StepsPanelText(count));
    } else {
        m_panels.value(QStringLiteral("Line"))->clear();
        m_panels.value(QStringLiteral("Text"))->clear();
        RefreshSelectionState();
        m_panels.value(QStringLiteral("Line"))->clear();
    }
}

void frmEdit::onDirtyChanged()
{
    updateCaption();
}

void frmEdit::SelectAll()
{
    if (m_doc->RowCount() == 0)
        return;
    m_list->selectAll();
    m_list->setFocus();
}

void frmEdit::IndentSelection()
{
    m_commands->IndentSelection();
    m_list->relayout();
}

void frmEdit::OutdentSelection()
{
    m_commands->OutdentSelection();
    m_list->relayout();
}

void frmEdit::afterStepsButton()
{
    QCoreApplication::processEvents();
    m_list->setFocus();
}

void frmEdit::showEditMenu(const QPoint &globalPos)
{
    m_menus.value(QStringLiteral("mnuEdit"))->popup(globalPos);
}

void frmEdit::onTreeNodeClick(QTreeWidgetItem *node)
{
    if (node == nullptr || ActionTree::IsFolder(node))
        return;
    emit actionClicked(ActionTree::KeyOf(node));
}

// ---------------------------------------------------------------------------------------------
// View switches

bool frmEdit::WordWrap() const
{
    return m_list->WordWrap();
}

void frmEdit::setWordWrap(bool on)
{
    m_actions.value(QStringLiteral("mnuViewWordWrap"))->setChecked(on);
    m_actions.value(QStringLiteral("tlbSteps/WordWrap"))->setChecked(on);
    m_list->setWordWrap(on);
}

bool frmEdit::LineNumbers() const
{
    return m_list->LineNumbers();
}

void frmEdit::setLineNumbers(bool on)
{
    m_actions.value(QStringLiteral("mnuViewLineNumbers"))->setChecked(on);
    m_actions.value(QStringLiteral("tlbSteps/LineNums"))->setChecked(on);
    m_list->setLineNumbers(on);
}

bool frmEdit::ShowZML() const
{
    return m_list->ShowZML();
}

void frmEdit::setShowZML(bool on)
{
    m_actions.value(QStringLiteral("mnuViewText"))->setChecked(!on);
    m_actions.value(QStringLiteral("mnuViewSource"))->setChecked(on);
    m_actions.value(QStringLiteral("tlbSteps/ZML"))->setChecked(on);
    m_list->setShowZML(on);
}

int frmEdit::IconStyle() const
{
    return m_list->IconStyle();
}

void frmEdit::setIconStyle(int style)
{
    style = std::clamp(style, 0, 2);
    m_iconGroup->actions().at(style)->setChecked(true);
    m_list->setIconStyle(style);
}

void frmEdit::setActionTreeVisible(bool on)
{
    m_actions.value(QStringLiteral("mnuViewActions"))->setChecked(on);
    if (on == m_actionTreeVisible && m_atv->isVisibleTo(this) == on)
        return;
    if (!on && m_atv->isVisibleTo(this))
        m_lastSplitter = m_splitter->sizes().value(0);
    m_actionTreeVisible = on;
    m_atv->setVisible(on);
    if (on)
        applySplitter();
}

void frmEdit::setStatusBarVisible(bool on)
{
    m_statusBarVisible = on;
    m_actions.value(QStringLiteral("mnuViewStatusbar"))->setChecked(on);
    statusBar()->setVisible(on);
}

void frmEdit::setToolbarsVisible(bool on)
{
    m_toolbarsVisible = on;
    m_actions.value(QStringLiteral("mnuViewToolbars"))->setChecked(on);
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
// Document lifecycle

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
    const QString name = FileName().isEmpty() ? QStringLiteral("Untitled") : FileName();
    setWindowTitle(QLatin1Char('[') + name + QLatin1Char(']') + kCaptionSuffix);
}

frmEdit::SaveAnswer frmEdit::QuerySave()
{
    if (!Dirty())
        return SaveAnswer::Unchanged;
    const MsgResult answer =
        ShowMessage(tr("The script has been changed.") + QStringLiteral("\r\n\r\n") +
                        tr("Do you want to save the changes?"),
                    MsgIcon::Question, MsgButtons::YesNoCancel);
    switch (answer) {
    case MsgResult::Yes:
        return SaveDoc(false) ? SaveAnswer::Yes : SaveAnswer::Cancel;
    case MsgResult::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

void frmEdit::NewDoc()
{
    if (QuerySave() == SaveAnswer::Cancel)
        return;
    setCommandEnabled(QStringLiteral("mnuFileRun"), false);
    m_doc->Clear();
    SetEditCommandsEnabled(false);
    m_list->setFocus();
    updateCaption();
}

bool frmEdit::chooseFile(bool save, QString *path)
{
    Fieldpane::CCommonDialogs dialog;
    dialog.Init(this);
    dialog.setFilter(QStringLiteral("ZML Files|*.zml|All Files|*.*"));
    dialog.setDefExt(QStringLiteral("zml"));
    dialog.setPath(ReadLastPath());
    if (!FileName().isEmpty() && save)
        dialog.setFileName(FileName());
    const bool chosen = save ? dialog.ShowSave() : dialog.ShowOpen();
    if (!chosen || dialog.FileName().isEmpty())
        return false;
    *path = dialog.FileName();
    setLastPath(*path);
    return true;
}

void frmEdit::setLastPath(const QString &file)
{
    WriteLastPath(QFileInfo(file).absolutePath());
}

bool frmEdit::OpenDoc(const QString &requested)
{
    if (QuerySave() == SaveAnswer::Cancel)
        return false;
    m_doc->SetDirty(false);
    QString path = requested;
    if (path.isEmpty() && !chooseFile(false, &path))
        return false;
    m_list->selectionModel()->clear();
    const bool opened = OpenDocument(*m_doc, path);
    m_list->setPaintingSuspended(false);
    updateCaption();
    if (opened) {
        m_list->scrollToTop();
        // The first row is selected, and the keyboard goes to the actions.
        if (m_doc->RowCount() > 0)
            m_list->selectionModel()->setCurrentIndex(m_doc->Rows()->index(0, 0),
                                                      QItemSelectionModel::ClearAndSelect);
        RefreshSelectionState();
        m_atv->setFocus();
    }
    return opened;
}

bool frmEdit::SaveDoc(bool saveAs)
{
    QString path = FileName();
    bool chosen = false;
    if (path.isEmpty() || saveAs) {
        if (!chooseFile(true, &path) || !ConfirmReplacingSavedName(path))
            return false;
        chosen = true;
    }
    const bool saved = SaveDocument(*m_doc, path, chosen);
    updateCaption();
    return saved;
}

void frmEdit::RunFile()
{
    RunDocument document(*this);
    HostLauncher::RunFile(document);
}

void frmEdit::ShowFileProperties()
{
    frmFileProp dialog(m_doc->Header(), this);
    if (RunModal(dialog) == QDialog::Accepted) {
        dialog.Apply(m_doc->Header());
        m_doc->SetDirty(true);
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
    RunModal(dialog);
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
            const int first = FirstSelectedIndex();
            if (first >= 0) {
                if (const auto step = m_doc->Step(first))
                    keyword = step->ElementName;
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
// Start-up and closing

bool frmEdit::Load(const QString &commandLine, const CatalogueLoader &loadCatalogue)
{
    // 1. The command line names the file to open.
    QString file = commandLine;
    file.remove(QLatin1Char('"'));
    file = file.trimmed();

    // 2. The named lock, held while the program runs (a second copy may still run).
    m_mutex = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("TRAidMutex")));
    m_mutex->setStaleLockTime(0);
    m_mutex->tryLock(0);

    // 3. Help.
    m_help.setFileName(FindRuntimeFile(QStringLiteral("stepsmith.html")));
    if (m_helpViewer == nullptr) {
        m_helpViewer = new HelpViewer(this);
        m_helpViewer->Install();
    }

    // 4. Recent files.
    m_mruMenus = new MruMenus(m_mru, m_menus.value(QStringLiteral("mnuFile")),
                              m_actions.value(QStringLiteral("mnuFileSepMru")), m_openMenu, this);
    connect(m_mruMenus, &MruMenus::openRequested, this,
            [this](const QString &path) { OpenDoc(path); });
    m_mru->setListSize(kMruSize);
    m_mru->GetMruList(kAppName, kMruSection);
    m_mruMenus->Rebuild();

    // 5. The catalogue and the action tree.
    if (!loadCatalogue || !loadCatalogue(m_doc->Catalogue()) || m_doc->Catalogue().Count() == 0)
        return false;
    m_atv->Fill(m_doc->Catalogue());

    // 6. A new document.
    setCommandEnabled(QStringLiteral("mnuEditGoto"), false);
    NewDoc();

    // 7. The file of the command line.
    if (!file.isEmpty()) {
        if (QFileInfo(file).isFile()) {
            OpenDoc(file);
        } else {
            ShowMessage(tr("Can't find the file:") + QStringLiteral("\r\n'") + file +
                            QLatin1Char('\''),
                        MsgIcon::Information, MsgButtons::Ok);
            m_mru->RemoveFromMruList(file);
        }
    }

    // 8. Window and view settings.
    ReadSettings();
    m_list->setFocus();
    return true;
}

void frmEdit::closeEvent(QCloseEvent *event)
{
    m_mru->SaveMruList(kAppName, kMruSection);
    if (QuerySave() == SaveAnswer::Cancel) {
        event->ignore();
        return;
    }
    SaveSettings();
    if (m_helpViewer != nullptr)
        m_helpViewer->close();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Settings

void frmEdit::rememberNormalGeometry()
{
    if (isVisible() && windowState() == Qt::WindowNoState)
        m_normalGeometry = QRect(pos(), size());
}

void frmEdit::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
}

void frmEdit::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The splitter knows its width only once the window is laid out.
    if (!m_shown) {
        m_shown = true;
        applySplitter();
    }
}

void frmEdit::applySplitter()
{
    if (m_lastSplitter <= 0 || !m_actionTreeVisible)
        return;
    const int total = std::max(m_splitter->width(), 2 * kSplitterLimit + 1);
    const int left = std::clamp(m_lastSplitter, kSplitterLimit, total - kSplitterLimit);
    m_splitter->setSizes({left, std::max(total - left - m_splitter->handleWidth(), 1)});
}

void frmEdit::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    rememberNormalGeometry();
}

void frmEdit::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    rememberNormalGeometry();
}

std::vector<ToolbarBand> frmEdit::Bands() const
{
    std::vector<QToolBar *> bars;
    for (const char *name : {"tlbStandard", "tlbSteps", "tlbRun"})
        bars.push_back(m_toolBars.value(QString::fromLatin1(name)));
    // Position order: by row, then from left to right, as laid out in the top area.
    const bool laidOut =
        std::any_of(bars.begin(), bars.end(), [](QToolBar *b) { return b->isVisible(); });
    if (laidOut) {
        std::stable_sort(bars.begin(), bars.end(), [](QToolBar *a, QToolBar *b) {
            if (a->y() != b->y())
                return a->y() < b->y();
            return a->x() < b->x();
        });
    } else {
        bars.clear();
        for (const QString &name : m_bandOrder)
            bars.push_back(m_toolBars.value(name));
    }
    std::vector<ToolbarBand> bands;
    int previousY = -1;
    for (QToolBar *bar : bars) {
        ToolbarBand band;
        band.Name = bar->objectName().mid(3); // without "tlb"
        band.Width = bar->width();
        band.MinWidth = bar->minimumSizeHint().width();
        band.NewRow = laidOut ? (previousY >= 0 && bar->y() > previousY) : toolBarBreak(bar);
        previousY = bar->y();
        bands.push_back(band);
    }
    return bands;
}

void frmEdit::restoreBands(const std::vector<ToolbarBand> &bands)
{
    setUpdatesEnabled(false);
    std::vector<QToolBar *> order;
    for (const ToolbarBand &band : bands) {
        if (QToolBar *bar = m_toolBars.value(QStringLiteral("tlb") + band.Name))
            order.push_back(bar);
    }
    if (static_cast<qsizetype>(order.size()) == m_toolBars.size()) {
        for (QToolBar *bar : order)
            removeToolBar(bar);
        m_bandOrder.clear();
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (i > 0 && bands[i].NewRow)
                addToolBarBreak(Qt::TopToolBarArea);
            addToolBar(Qt::TopToolBarArea, order[i]);
            order[i]->setVisible(m_toolbarsVisible);
            m_bandOrder.push_back(order[i]->objectName());
        }
    }
    setUpdatesEnabled(true);
}

bool frmEdit::eventFilter(QObject *watched, QEvent *event)
{
    auto *bar = qobject_cast<QToolBar *>(watched);
    const bool press = event->type() == QEvent::MouseButtonPress;
    if ((press || event->type() == QEvent::MouseButtonRelease) && bar != nullptr &&
        m_toolBars.value(bar->objectName()) == bar) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (press && mouse->button() == Qt::LeftButton) {
            m_barsBeforeDrag.clear();
            for (QToolBar *each : std::as_const(m_toolBars))
                m_barsBeforeDrag.insert(each, each->geometry());
            m_draggedBar = bar;
            m_dragStart = mapFromGlobal(mouse->globalPosition().toPoint());
        } else if (!press && mouse->button() == Qt::LeftButton && m_draggedBar == bar) {
            m_draggedBar = nullptr;
            const QPoint dropped = mapFromGlobal(mouse->globalPosition().toPoint());
            // After the toolbar has finished its own move.
            QMetaObject::invokeMethod(
                this,
                [this, bar = QPointer<QToolBar>(bar), dropped] { settleToolbars(bar, dropped); },
                Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A toolbar dragged along its row squeezes its neighbours into chevrons and keeps its place
// among them. Once it is dropped, it takes the place the pointer shows among the others of
// that row (by their centres before the drag), and every toolbar gets its full width again.
// Moves to another row keep what the main window made of them.
void frmEdit::settleToolbars(QToolBar *moved, const QPoint &dropped)
{
    const QHash<QToolBar *, QRect> before = std::exchange(m_barsBeforeDrag, {});
    if (moved == nullptr || !before.contains(moved))
        return;
    // Only drags along the row: a move to another row the main window has placed already.
    // The pointer tells the place (the first toolbar of a row does not move at all).
    const QRect start = before.value(moved);
    if (moved->geometry().top() != start.top() || dropped.y() < start.top() ||
        dropped.y() > start.bottom() ||
        qAbs(dropped.x() - m_dragStart.x()) <= QApplication::startDragDistance())
        return;

    // The rows as laid out now, each from left to right; the moved toolbar goes before the
    // first other one of its row whose centre was right of the pointer.
    std::vector<std::vector<QToolBar *>> rows;
    for (const ToolbarBand &band : Bands()) {
        if (rows.empty() || band.NewRow)
            rows.emplace_back();
        rows.back().push_back(m_toolBars.value(QStringLiteral("tlb") + band.Name));
    }
    for (auto &row : rows) {
        const auto at = std::find(row.begin(), row.end(), moved);
        if (at == row.end())
            continue;
        row.erase(at);
        auto place = row.begin();
        while (place != row.end() && before.value(*place).center().x() < dropped.x())
            ++place;
        row.insert(place, moved);
    }
    std::vector<ToolbarBand> bands;
    for (const auto &row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            ToolbarBand band;
            band.Name = row[i]->objectName().mid(3);
            band.NewRow = !bands.empty() && i == 0;
            bands.push_back(band);
        }
    }
    restoreBands(bands);
}

void frmEdit::ReadSettings()
{
    const WindowSettings s = ReadWindowSettings(Bands());
    setWordWrap(s.WordWrap);
    setLineNumbers(s.LineNumbers);
    setShowZML(s.ShowSource);
    setIconStyle(s.IconStyle);
    ApplySettings(s.Shared);

    QScreen *scr = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const double dpiX = scr != nullptr ? scr->logicalDotsPerInchX() : 96.0;
    const double dpiY = scr != nullptr ? scr->logicalDotsPerInchY() : 96.0;
    const QRect avail = scr != nullptr ? scr->availableGeometry() : QRect(0, 0, 1024, 768);
    int width = s.Width ? TwipsToPixels(*s.Width, dpiX) : kDesignedWidth;
    int height = s.Height ? TwipsToPixels(*s.Height, dpiY) : kDesignedHeight;
    width = std::clamp(width, 200, std::max(avail.width(), 200));
    height = std::clamp(height, 150, std::max(avail.height(), 150));
    int left = s.Left ? TwipsToPixels(*s.Left, dpiX) : avail.x() + (avail.width() - width) / 2;
    int top = s.Top ? TwipsToPixels(*s.Top, dpiY) : avail.y() + (avail.height() - height) / 2;
    // A window stored off every screen comes back centred.
    const QRect wanted(left, top, width, height);
    bool onScreen = false;
    for (QScreen *each : QGuiApplication::screens())
        onScreen = onScreen ||
                   each->availableGeometry().intersects(wanted.adjusted(0, 0, 0, -height + 30));
    if (!onScreen) {
        left = avail.x() + (avail.width() - width) / 2;
        top = avail.y() + (avail.height() - height) / 2;
    }
    resize(width, height);
    move(left, top);
    m_normalGeometry = QRect(left, top, width, height);
    if (s.State == WindowSettings::kStateMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    const int splitter = s.Splitter ? TwipsToPixels(*s.Splitter, dpiX) : kDesignedSplitter;
    m_lastSplitter =
        std::clamp(splitter, kSplitterLimit, std::max(width - kSplitterLimit, kSplitterLimit));
    applySplitter();

    setToolbarsVisible(s.Toolbars);
    setStatusBarVisible(s.StatusBar);
    m_actionTreeVisible = !s.ActionTree; // force the update
    setActionTreeVisible(s.ActionTree);
    restoreBands(s.Bands);
}

void frmEdit::SaveSettings()
{
    WindowSettings s;
    s.WordWrap = WordWrap();
    s.LineNumbers = LineNumbers();
    s.ShowSource = ShowZML();
    s.IconStyle = IconStyle();
    s.Shared = Settings();
    s.ActionTree = m_actionTreeVisible;
    s.StatusBar = m_statusBarVisible;
    s.Toolbars = m_toolbarsVisible;

    QScreen *scr = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const double dpiX = scr != nullptr ? scr->logicalDotsPerInchX() : 96.0;
    const double dpiY = scr != nullptr ? scr->logicalDotsPerInchY() : 96.0;
    const bool normal =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if (normal) {
        s.Left = PixelsToTwips(pos().x(), dpiX);
        s.Top = PixelsToTwips(pos().y(), dpiY);
        s.Width = PixelsToTwips(width(), dpiX);
        s.Height = PixelsToTwips(height(), dpiY);
    }
    s.State = windowState().testFlag(Qt::WindowMaximized) ? WindowSettings::kStateMaximized
                                                          : WindowSettings::kStateNormal;
    const int splitter =
        m_actionTreeVisible && m_atv->isVisible() ? m_splitter->sizes().value(0) : m_lastSplitter;
    if (splitter > 0)
        s.Splitter = PixelsToTwips(splitter, dpiX);
    s.Bands = Bands();
    SaveWindowSettings(s, normal);
}
