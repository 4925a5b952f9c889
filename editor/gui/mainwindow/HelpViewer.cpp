#include "gui/mainwindow/HelpViewer.h"

#include "core/host/CHTMLHelp.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// The window CHTMLHelp currently shows help in.
HelpViewer *installedViewer = nullptr;

} // namespace

HelpViewer::HelpViewer(QWidget *parent)
    : QWidget(parent, Qt::Window), m_toolBar(new QToolBar(this)), m_browser(new QTextBrowser(this)),
      m_back(new QAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"), this)),
      m_forward(new QAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"), this)),
      m_home(new QAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Home"), this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(tr("Tessaro AddIn Editor Help"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app/stepsmith-32.png")));
    m_browser->setObjectName(QStringLiteral("browser"));
    // Links inside the help page stay in the viewer; links to the web open in the browser.
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);

    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_toolBar->setObjectName(QStringLiteral("tlbHelp"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->addAction(m_back);
    m_toolBar->addAction(m_forward);
    m_toolBar->addAction(m_home);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_browser, 1);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, &HelpViewer::goHome);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);

    QSize size(760, 620);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

HelpViewer::~HelpViewer()
{
    if (installedViewer == this) {
        CHTMLHelp::SetViewer({});
        installedViewer = nullptr;
    }
}

void HelpViewer::Install()
{
    CHTMLHelp::SetViewer([this](const QUrl &url) { ShowUrl(url); });
    installedViewer = this;
}

void HelpViewer::ShowUrl(const QUrl &url)
{
    QUrl home = url;
    home.setFragment(QString());
    m_homeUrl = home;
    stayUsableOverModalWindow();
    if (isHidden())
        show();
    else if (isMinimized())
        showNormal();
    // Coming back to the same anchor after scrolling away scrolls to it again.
    if (m_browser->source() == url && url.hasFragment())
        m_browser->scrollToAnchor(url.fragment());
    else
        m_browser->setSource(url);
    raise();
    activateWindow();
}

bool HelpViewer::event(QEvent *event)
{
    if (event->type() == QEvent::WindowBlocked)
        stayUsableOverModalWindow();
    return QWidget::event(event);
}

// A modal dialog blocks every window but its own children. Help asked for from a dialog (or
// open while one is) is read beside it, so the help window becomes a transient child of the
// innermost modal window: usable, and kept above it. Once that dialog is gone the window is
// the transient of its owner again.
void HelpViewer::stayUsableOverModalWindow()
{
    QWindow *modal = QGuiApplication::modalWindow();
    if (modal == nullptr || modal == windowHandle())
        return;
    if (windowHandle() == nullptr)
        create();
    QWindow *own = windowHandle();
    if (own == nullptr || own->transientParent() == modal)
        return;
    own->setTransientParent(modal);
    connect(
        modal, &QWindow::visibleChanged, this,
        [this, own = QPointer<QWindow>(own), modal](bool visible) {
            if (visible || own == nullptr || own->transientParent() != modal)
                return;
            QWidget *owner = parentWidget();
            own->setTransientParent(owner != nullptr ? owner->window()->windowHandle() : nullptr);
        },
        Qt::SingleShotConnection);
}

void HelpViewer::goHome()
{
    if (m_homeUrl.isValid())
        m_browser->setSource(m_homeUrl);
}
