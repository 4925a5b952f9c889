#include "gui/printing/frmPreview.h"

#include "core/host/MessageService.h"
#include "core/host/Twips.h"
#include "core/printing/CPrintPreview.h"
#include "core/printing/CPrinter.h"
#include "gui/printing/CPrintCommand.h"

#include <QAction>
#include <QBitmap>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

frmPreview::ExecHook &ExecHookInstance()
{
    static frmPreview::ExecHook hook;
    return hook;
}

// Rounds half to even, as whole twips are taken before an integer division.
long long Whole(double value)
{
    return static_cast<long long>(std::nearbyint(value));
}

QCursor ZoomCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto &[colour, width] : {std::pair{QColor(Qt::white), 5.0}, {Qt::black, 2.5}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawEllipse(QRectF(3, 3, 16, 16));
        painter.drawLine(QPointF(17, 17), QPointF(27, 27));
    }
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(7, 11), QPointF(15, 11));
    painter.drawLine(QPointF(11, 7), QPointF(11, 15));
    return QCursor(pixmap, 11, 11);
}

QIcon ZoomIcon()
{
    QPixmap pixmap(ZoomCursor().pixmap());
    return QIcon(pixmap.scaled(22, 22, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

// The visible page image: paints the shown page at its own size.
class frmPreview::PageView final : public QWidget {
public:
    explicit PageView(frmPreview *owner) : QWidget(owner), m_owner(owner)
    {
        setObjectName(QStringLiteral("picPage"));
        setCursor(ZoomCursor());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const CPrintPreview *preview = m_owner->PreviewObject();
        if (!preview) {
            painter.fillRect(rect(), Qt::white);
            return;
        }
        const double zoom = width() / std::max(1.0, preview->SheetSizePixels().width());
        preview->PaintPage(painter, m_owner->Page(), zoom);
    }

private:
    frmPreview *m_owner;
};

void frmPreview::createZoomMenu(QAction *zoom)
{
    m_zoomMenu = new QMenu(this);
    m_zoomMenu->setObjectName(QStringLiteral("mnuZoom"));
    const auto addZoom = [this](const QString &key, const QString &caption) {
        QAction *action = m_zoomMenu->addAction(caption);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { ChooseZoom(key); });
    };
    addZoom(QStringLiteral("Window"), tr("Whole page"));
    addZoom(QStringLiteral("Page"), tr("Page width"));
    m_zoomMenu->addSeparator();
    for (int percent : {25, 50, 75, 100, 200, 400})
        addZoom(QStringLiteral("P%1").arg(percent), QStringLiteral("%1%").arg(percent));
    zoom->setMenu(m_zoomMenu);
    qobject_cast<QToolButton *>(m_toolbar->widgetForAction(zoom))
        ->setPopupMode(QToolButton::MenuButtonPopup);
}

void frmPreview::createToolBar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("tlbPreview"));
    m_toolbar->setAutoFillBackground(true);
    m_toolbar->setPalette(QPalette());
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto addButton = [this](const QString &key, const QIcon &icon, const QString &text,
                                  const QString &tip) {
        QAction *action = m_toolbar->addAction(icon, text);
        action->setObjectName(key);
        action->setToolTip(tip);
        return action;
    };
    QStyle *st = style();
    QAction *first =
        addButton(QStringLiteral("First"), st->standardIcon(QStyle::SP_MediaSkipBackward),
                  QString(), tr("First Page"));
    QAction *prev = addButton(QStringLiteral("Prev"), st->standardIcon(QStyle::SP_ArrowLeft),
                              QString(), tr("Previous Page"));
    QAction *next = addButton(QStringLiteral("Next"), st->standardIcon(QStyle::SP_ArrowRight),
                              QString(), tr("Next Page"));
    QAction *last = addButton(QStringLiteral("Last"), st->standardIcon(QStyle::SP_MediaSkipForward),
                              QString(), tr("Last Page"));
    for (QAction *action : {first, prev, next, last})
        qobject_cast<QToolButton *>(m_toolbar->widgetForAction(action))
            ->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->addSeparator();
    QAction *zoom = addButton(QStringLiteral("Zoom"), ZoomIcon(), tr("Zoom"), tr("Zoom"));
    createZoomMenu(zoom);
    QAction *printAction = addButton(
        QStringLiteral("Print"),
        QIcon::fromTheme(QStringLiteral("document-print"), st->standardIcon(QStyle::SP_FileIcon)),
        tr("Print"), tr("Print"));
    QAction *closeAction =
        addButton(QStringLiteral("Close"), st->standardIcon(QStyle::SP_DialogCloseButton),
                  tr("Close"), tr("Close"));
    m_toolbar->addSeparator();
    m_pageCounter = new QLabel(m_toolbar);
    m_pageCounter->setObjectName(QStringLiteral("picCaption"));
    m_pageCounter->setMinimumWidth(
        m_pageCounter->fontMetrics().horizontalAdvance(QStringLiteral("Page:  9999 / 9999 ")));
    m_toolbar->addWidget(m_pageCounter);

    connect(first, &QAction::triggered, this, [this] { SetPage(0); });
    connect(prev, &QAction::triggered, this, [this] {
        if (m_page > 0)
            SetPage(m_page - 1);
    });
    connect(next, &QAction::triggered, this, [this] {
        if (m_page < PageCount() - 1)
            SetPage(m_page + 1);
    });
    connect(last, &QAction::triggered, this, [this] { SetPage(PageCount() - 1); });
    connect(zoom, &QAction::triggered, this, [this] { SetViewStyle(WholePage); });
    connect(printAction, &QAction::triggered, this, [this] {
        emit PrintMe();
        close();
    });
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
}

frmPreview::frmPreview(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(tr("Print Preview"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    setPalette(palette);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    createToolBar();

    m_view = new PageView(this);
    m_view->installEventFilter(this);
    m_hsb = new QScrollBar(Qt::Horizontal, this);
    m_hsb->setObjectName(QStringLiteral("hsbPage"));
    m_vsb = new QScrollBar(Qt::Vertical, this);
    m_vsb->setObjectName(QStringLiteral("vsbPage"));
    m_corner = new QWidget(this);
    m_corner->setAutoFillBackground(true);
    m_corner->setPalette(QPalette());
    connect(m_hsb, &QScrollBar::valueChanged, this, &frmPreview::OnHorizontalScroll);
    connect(m_vsb, &QScrollBar::valueChanged, this, &frmPreview::OnVerticalScroll);
    // A page scrolled up runs under the toolbar, which stays on top of it and usable.
    m_toolbar->raise();

    resize(800, 600);
}

frmPreview::~frmPreview() = default;

void frmPreview::SetPreviewObject(const CPrintPreview *preview)
{
    m_preview = preview;
    m_page = 0;
    SetPage(0);
}

int frmPreview::PageCount() const
{
    return m_preview ? m_preview->PageCount() : 0;
}

void frmPreview::SetViewStyle(int style)
{
    if (style < WholePage || style > Percent)
        return;
    m_viewStyle = style;
    ZoomChanged();
}

void frmPreview::SetPercentage(int percent)
{
    m_percentage = std::clamp(percent, 25, 400);
    ZoomChanged();
}

void frmPreview::ZoomChanged()
{
    // A new zoom starts at the page's top-left corner; paging keeps the shown page.
    {
        const QSignalBlocker hBlock(m_hsb);
        const QSignalBlocker vBlock(m_vsb);
        m_hsb->setValue(0);
        m_vsb->setValue(m_viewStyle == WholePage ? m_page : 0);
    }
    LayoutPage();
}

void frmPreview::ChooseZoom(const QString &key)
{
    if (key == QLatin1String("Window")) {
        m_viewStyle = WholePage;
    } else if (key == QLatin1String("Page")) {
        m_viewStyle = PageWidth;
    } else {
        m_viewStyle = Percent;
        m_percentage = key.mid(1).toInt();
    }
    ZoomChanged();
}

QString frmPreview::PageCounterText() const
{
    return m_pageCounter->text();
}

QRect frmPreview::PageRect() const
{
    return m_view->geometry();
}

void frmPreview::SetPage(int page)
{
    const int count = PageCount();
    if (page < 0 || page >= std::max(count, 1))
        return;
    m_pageCounter->setText(tr("Page:  %1 / %2 ").arg(page + 1).arg(count));
    m_page = page;
    m_view->update();
    LayoutPage();
}

double frmPreview::TwipsPerPixelX() const
{
    const QScreen *s = screen();
    return TwipsPerPixel(s ? s->logicalDotsPerInchX() : 96.0);
}

double frmPreview::TwipsPerPixelY() const
{
    const QScreen *s = screen();
    return TwipsPerPixel(s ? s->logicalDotsPerInchY() : 96.0);
}

void frmPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int toolbarHeight = m_toolbar->sizeHint().height();
    const int vsbWidth = m_vsb->sizeHint().width();
    const int hsbHeight = m_hsb->sizeHint().height();
    m_toolbar->setGeometry(0, 0, width(), toolbarHeight);
    m_vsb->setGeometry(width() - vsbWidth, toolbarHeight, vsbWidth,
                       std::max(0, height() - toolbarHeight - hsbHeight));
    m_hsb->setGeometry(0, height() - hsbHeight, std::max(0, width() - vsbWidth), hsbHeight);
    m_corner->setGeometry(width() - vsbWidth, height() - hsbHeight, vsbWidth, hsbHeight);
    LayoutPage();
}

// The page's size in twips for the view style: the whole page in availH (and the window's
// width), the window's width, or the zoom percentage of the sheet; at least 15 each way.
QSizeF frmPreview::pageExtent(const QSizeF &sheet, double scaleWidth, double availH,
                              double vsbWidth) const
{
    const double aspect = sheet.height() / std::max(1.0, sheet.width());
    double w = 0;
    double h = 0;
    switch (m_viewStyle) {
    case WholePage: {
        const double availW = scaleWidth - 600;
        if (availW > 0 && availH / availW >= aspect) {
            w = Whole(availW);
            h = Whole(aspect * availW);
        } else {
            h = Whole(availH);
            w = Whole(availH / aspect);
        }
        break;
    }
    case PageWidth:
        w = scaleWidth - 600 - vsbWidth;
        h = aspect * w;
        break;
    default:
        w = sheet.width() * m_percentage / 100.0;
        h = sheet.height() * m_percentage / 100.0;
        break;
    }
    w = std::max(w, 15.0);
    h = std::max(h, 15.0);
    return {w, h};
}

void frmPreview::LayoutPage()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    // Computed in twips as the window's measures, then placed in pixels.
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const double scaleWidth = width() * tx;
    const double scaleHeight = height() * ty;
    const double toolbar = m_toolbar->sizeHint().height() * ty;
    const double vsbWidth = m_vsb->sizeHint().width() * tx;
    const double hsbHeight = m_hsb->sizeHint().height() * ty;
    const double hsbTop = scaleHeight - hsbHeight;

    QSizeF sheet(8.27 * kTwipsPerInch, 11.69 * kTwipsPerInch);
    if (m_preview)
        sheet = m_preview->SheetSizePixels() / m_preview->Dpi() * double(kTwipsPerInch);

    const QSizeF extent = pageExtent(sheet, scaleWidth, hsbTop - 600 - toolbar, vsbWidth);
    const double w = extent.width();
    const double h = extent.height();

    // Whole halves, as the layout always had them.
    const long long halfWidth = Whole(scaleWidth - w - vsbWidth) / 2;
    const long long halfHeight = Whole(scaleHeight - h + toolbar) / 2;
    double left = std::max<double>(halfWidth, 300);
    double top = std::max<double>(halfHeight - hsbHeight, toolbar + 300);

    const auto steps = [](double overflow, double twipsPerPixel) {
        const long long max = Whole(overflow) / Whole(20 * twipsPerPixel);
        return max < 1 ? 0 : static_cast<int>(std::min<long long>(max, 1000000));
    };
    const int hMax = steps(w + 300 + vsbWidth + left - scaleWidth, tx);
    const QSignalBlocker hBlock(m_hsb);
    const QSignalBlocker vBlock(m_vsb);
    m_hsb->setRange(0, hMax);
    m_hsb->setPageStep(std::max(1, static_cast<int>(scaleWidth / (20 * tx))));
    m_hsb->setEnabled(hMax >= 1);
    if (hMax >= 1)
        left = 300 - m_hsb->value() * 20 * tx;

    if (m_viewStyle == WholePage) {
        const int last = std::max(0, PageCount() - 1);
        m_vsb->setRange(0, last);
        m_vsb->setPageStep(1);
        m_vsb->setValue(m_page);
        m_vsb->setEnabled(last >= 1);
    } else {
        const int vMax = steps(h + 600 + hsbHeight + toolbar - scaleHeight, ty);
        m_vsb->setRange(0, vMax);
        m_vsb->setPageStep(std::max(1, static_cast<int>(scaleHeight / (20 * ty))));
        m_vsb->setEnabled(vMax >= 1);
        if (vMax >= 1)
            top = toolbar + 300 - m_vsb->value() * 20 * ty;
    }

    m_view->setGeometry(qRound(left / tx), qRound(top / ty), qRound(w / tx), qRound(h / ty));
    m_view->update();
    m_layingOut = false;
}

void frmPreview::OnHorizontalScroll(int value)
{
    QRect rect = m_view->geometry();
    rect.moveLeft(qRound((300 - value * 20 * TwipsPerPixelX()) / TwipsPerPixelX()));
    m_view->setGeometry(rect);
}

void frmPreview::OnVerticalScroll(int value)
{
    if (m_viewStyle == WholePage) {
        SetPage(value);
        return;
    }
    const double ty = TwipsPerPixelY();
    const double toolbar = m_toolbar->sizeHint().height() * ty;
    QRect rect = m_view->geometry();
    rect.moveTop(qRound((toolbar + 300 - value * 20 * ty) / ty));
    m_view->setGeometry(rect);
}

void frmPreview::keyPressEvent(QKeyEvent *event)
{
    // Page keys page through the job, as the toolbar buttons do.
    switch (event->key()) {
    case Qt::Key_PageDown:
        SetPage(std::min(m_page + 1, PageCount() - 1));
        return;
    case Qt::Key_PageUp:
        SetPage(std::max(m_page - 1, 0));
        return;
    case Qt::Key_Home:
        SetPage(0);
        return;
    case Qt::Key_End:
        SetPage(PageCount() - 1);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool frmPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_view->rect().contains(mouse->position().toPoint())) {
            if (mouse->button() == Qt::LeftButton) {
                if (m_percentage < 400)
                    m_percentage = std::min(m_percentage * 2, 400);
            } else if (mouse->button() == Qt::RightButton) {
                if (m_percentage > 25)
                    m_percentage = std::max(m_percentage / 2, 25);
            } else {
                return false;
            }
            m_viewStyle = Percent;
            ZoomChanged();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPreview::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        emit CloseMe();
    }
    QDialog::done(result);
}

void frmPreview::SetExecHook(ExecHook hook)
{
    ExecHookInstance() = std::move(hook);
}

bool frmPreview::ShowPreview(QWidget *owner, const CPrinter &settings, const QString &text,
                             const QString &documentPath, const std::function<void()> &printMe)
{
    QPointer<QWidget> window = owner;
    if (window)
        window->setEnabled(false);
    const auto enableOwner = [&window] {
        if (window)
            window->setEnabled(true);
    };
    try {
        const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        CPrintPreview preview(CPrintCommand::CurrentPageLayout(), dpi);
        preview.ApplySettings(settings);
        preview.SetDocumentPath(documentPath);
        preview.PrintText(text, settings.LineNumbers());

        frmPreview dialog(owner);
        if (owner) {
            dialog.setWindowIcon(owner->windowIcon());
            dialog.setWindowTitle(owner->window()->windowTitle());
            dialog.setGeometry(owner->window()->geometry());
            if (owner->window()->isMaximized())
                dialog.setWindowState(Qt::WindowMaximized);
        }
        dialog.SetPreviewObject(&preview);
        bool printRequested = false;
        connect(&dialog, &frmPreview::PrintMe, &dialog,
                [&printRequested] { printRequested = true; });
        if (ExecHookInstance())
            ExecHookInstance()(dialog);
        else
            dialog.exec();
        enableOwner();
        if (printRequested && printMe)
            printMe();
        return true;
    } catch (const std::exception &error) {
        ShowMessage(QString::fromLocal8Bit(error.what()), MsgIcon::None);
    } catch (...) {
        ShowMessage(tr("Unexpected error"), MsgIcon::None);
    }
    ShowMessage(tr("Can't create Print Preview Window"), MsgIcon::Information);
    enableOwner();
    return false;
}
