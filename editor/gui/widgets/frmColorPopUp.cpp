#include "gui/widgets/frmColorPopUp.h"

#include "core/settings/ColorNames.h"
#include "core/settings/ColorPalette.h"

#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/SystemColors.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr int PalettePage = 0;
constexpr int SystemPage = 1;
constexpr int Margin = 4;
constexpr int SwatchInset = 2;
constexpr int ColorValueRole = Qt::UserRole;

QPixmap swatchIcon(const QColor &color, const QSize &size, const QColor &box)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(box);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return pixmap;
}

} // namespace

void frmColorPopUp::createPalettePage()
{
    m_picker = new QWidget(m_pages[PalettePage]);
    m_picker->setObjectName(QStringLiteral("picColorPicker"));
    m_picker->setFixedSize(ColorPalette::ImageWidth, ColorPalette::ImageHeight);
    m_picker->setMouseTracking(true);
    m_picker->setFocusPolicy(Qt::StrongFocus);
    m_picker->setCursor(Qt::PointingHandCursor);
    m_picker->installEventFilter(this);

    m_selection = new QFrame(m_picker);
    m_selection->setObjectName(QStringLiteral("shpSelection"));
    m_selection->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_selection->setLineWidth(1);
    m_selection->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_selection->hide();

    m_custom = new QPushButton(tr("Custom..."), m_pages[PalettePage]);
    m_custom->setObjectName(QStringLiteral("cmdCustom"));
    m_custom->setAutoDefault(false);
    connect(m_custom, &QPushButton::clicked, this, &frmColorPopUp::chooseCustom);

    auto *paletteLayout = new QVBoxLayout(m_pages[PalettePage]);
    paletteLayout->setContentsMargins(0, 0, 0, 0);
    paletteLayout->setSpacing(Margin);
    paletteLayout->addWidget(m_picker, 0, Qt::AlignHCenter);
    paletteLayout->addWidget(m_custom);
}

void frmColorPopUp::createSystemPage()
{
    m_sysColors = new QListWidget(m_pages[SystemPage]);
    m_sysColors->setObjectName(QStringLiteral("odlSysColors"));
    m_sysColors->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sysColors->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sysColors->setUniformItemSizes(true);
    auto *systemLayout = new QVBoxLayout(m_pages[SystemPage]);
    systemLayout->setContentsMargins(0, 0, 0, 0);
    systemLayout->addWidget(m_sysColors);
    fillSystemColors();
    connect(m_sysColors, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item && item->isSelected())
            pickSystemRow(item);
    });
    connect(m_sysColors, &QListWidget::itemActivated, this, &frmColorPopUp::pickSystemRow);
}

frmColorPopUp::frmColorPopUp(QWidget *parent) : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmColorPopUp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    if (parent)
        setFont(parent->font());

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tbs"));
    m_tabs->setDrawBase(true);
    m_tabs->setExpanding(false);
    m_tabs->addTab(tr("Palette"));
    m_tabs->addTab(tr("System"));
    m_tabs->setFocusPolicy(Qt::TabFocus);

    for (int i = 0; i < 2; ++i) {
        m_pages[i] = new QWidget(this);
        m_pages[i]->setObjectName(QStringLiteral("picPag%1").arg(i));
    }

    createPalettePage();
    createSystemPage();

    // Both pages take the same place; the larger one sets the size.
    const QSize pageSize = m_pages[PalettePage]->sizeHint().expandedTo(
        QSize(fontMetrics().horizontalAdvance(ColorNames::SystemColorName(12)) +
                  m_sysColors->iconSize().width() + 40,
              0));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    auto *pageArea = new QWidget(this);
    pageArea->setObjectName(QStringLiteral("pages"));
    pageArea->setFixedSize(pageSize + QSize(0, Margin));
    for (QWidget *page : m_pages) {
        page->setParent(pageArea);
        page->setGeometry(0, Margin, pageSize.width(), pageSize.height());
    }
    layout->addWidget(pageArea);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_tabs, &QTabBar::currentChanged, this, &frmColorPopUp::showPage);
    showPage(PalettePage);
}

frmColorPopUp::~frmColorPopUp() = default;

void frmColorPopUp::fillSystemColors()
{
    const QSize iconSize(24, qMax(10, fontMetrics().height() - 4));
    m_sysColors->setIconSize(iconSize);
    const QColor box = palette().color(QPalette::WindowText);
    for (int i = 0; i < ColorNames::SystemColorCount; ++i) {
        auto *item = new QListWidgetItem(ColorNames::SystemColorName(i), m_sysColors);
        item->setIcon(QIcon(swatchIcon(Fieldpane::SystemColor(i), iconSize, box)));
        item->setData(ColorValueRole, static_cast<uint>(ColorNames::SystemFlag | uint(i)));
    }
}

void frmColorPopUp::ShowMe(quint32 color)
{
    m_color = color;
    m_finished = false;
    const auto cell = ColorPalette::FindSwatch(color);
    m_hotColumn = cell ? cell->column : 0;
    m_hotRow = cell ? cell->row : 0;
    placeSelectionFrame();

    m_sysColors->clearSelection();
    m_sysColors->setCurrentRow(-1, QItemSelectionModel::Clear);
    if (Fieldpane::IsSystemColor(color)) {
        for (int i = 0; i < m_sysColors->count(); ++i) {
            if (m_sysColors->item(i)->data(ColorValueRole).toUInt() == color) {
                m_sysColors->setCurrentRow(i);
                break;
            }
        }
        m_tabs->setCurrentIndex(SystemPage);
    } else {
        m_tabs->setCurrentIndex(PalettePage);
    }
    showPage(m_tabs->currentIndex());
    show();
    raise();
    activateWindow();
    if (QListWidgetItem *current = m_sysColors->currentItem())
        m_sysColors->scrollToItem(current, QAbstractItemView::PositionAtCenter);
    // The system list takes the focus only on a row: focusing it would make its first row
    // current.
    if (m_tabs->currentIndex() == PalettePage)
        m_picker->setFocus(Qt::PopupFocusReason);
    else if (m_sysColors->currentRow() >= 0)
        m_sysColors->setFocus(Qt::PopupFocusReason);
    else
        m_tabs->setFocus(Qt::PopupFocusReason);
}

QRect frmColorPopUp::SelectionRect() const
{
    return m_selection->isVisibleTo(m_picker) ? m_selection->geometry() : QRect();
}

void frmColorPopUp::Cancel()
{
    finish(QString(), NoColor);
}

void frmColorPopUp::showPage(int index)
{
    m_pages[PalettePage]->setVisible(index == PalettePage);
    m_pages[SystemPage]->setVisible(index == SystemPage);
}

void frmColorPopUp::placeSelectionFrame()
{
    m_selection->hide();
    if (const auto cell = ColorPalette::FindSwatch(m_color)) {
        m_selection->setGeometry(ColorPalette::SwatchRect(*cell).toRect());
        m_selection->show();
    }
}

void frmColorPopUp::paintPalette(QWidget *image)
{
    QPainter painter(image);
    const QPalette &pal = image->palette();
    painter.fillRect(image->rect(), pal.color(QPalette::Window));
    const QColor border = pal.color(QPalette::Dark);
    for (int row = 0; row < ColorPalette::Rows; ++row) {
        for (int column = 0; column < ColorPalette::Columns; ++column) {
            const ColorPalette::Cell cell{column, row};
            const QRect swatch = ColorPalette::SwatchRect(cell).toRect().adjusted(
                SwatchInset, SwatchInset, -SwatchInset, -SwatchInset);
            painter.fillRect(swatch, Fieldpane::FromOleColor(ColorPalette::SwatchColor(cell)));
            painter.setPen(border);
            painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        }
    }
    // The swatch under the pointer or the keyboard cursor.
    if (m_hotColumn >= 0 && (image->underMouse() || image->hasFocus())) {
        const QRect hot = ColorPalette::SwatchRect({m_hotColumn, m_hotRow}).toRect();
        painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(hot.adjusted(0, 0, -1, -1));
    }
}

bool frmColorPopUp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_picker)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintPalette(m_picker);
        return true;
    case QEvent::MouseButtonPress:
        return true;
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (const auto cell =
                ColorPalette::HitTest(mouse->position().toPoint(), m_picker->size())) {
            if (cell->column != m_hotColumn || cell->row != m_hotRow) {
                m_hotColumn = cell->column;
                m_hotRow = cell->row;
                m_picker->update();
            }
        }
        return false;
    }
    case QEvent::Leave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        m_picker->update();
        return false;
    case QEvent::MouseButtonRelease:
        pickPaletteAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Left:
            moveHot(-1, 0);
            return true;
        case Qt::Key_Right:
            moveHot(1, 0);
            return true;
        case Qt::Key_Up:
            moveHot(0, -1);
            return true;
        case Qt::Key_Down:
            moveHot(0, 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: {
            const quint32 color = ColorPalette::SwatchColor({m_hotColumn, m_hotRow});
            finish(ColorNames::HexColorName(color), static_cast<qint32>(color));
            return true;
        }
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

void frmColorPopUp::moveHot(int dColumn, int dRow)
{
    m_hotColumn = qBound(0, m_hotColumn + dColumn, ColorPalette::Columns - 1);
    m_hotRow = qBound(0, m_hotRow + dRow, ColorPalette::Rows - 1);
    m_picker->update();
}

void frmColorPopUp::pickPaletteAt(const QPoint &pos)
{
    const auto cell = ColorPalette::HitTest(pos, m_picker->size());
    if (!cell)
        return;
    const quint32 color = ColorPalette::SwatchColor(*cell);
    finish(ColorNames::HexColorName(color), static_cast<qint32>(color));
}

void frmColorPopUp::pickSystemRow(QListWidgetItem *item)
{
    if (!item)
        return;
    finish(item->text(), static_cast<qint32>(item->data(ColorValueRole).toUInt()));
}

void frmColorPopUp::chooseCustom()
{
    if (m_finished || m_inCustom)
        return;
    Fieldpane::CCommonDialogs dialog;
    dialog.Init(parentWidget() ? parentWidget()->window() : nullptr);
    dialog.setColor(m_color);
    // The pop-up holds the mouse while it shows; it steps aside for the colour dialog.
    QPointer<frmColorPopUp> self(this);
    const QRect geometry = this->geometry();
    m_inCustom = true;
    hide();
    const bool confirmed = dialog.ShowColor();
    if (!self)
        return;
    m_inCustom = false;
    if (confirmed) {
        finish(ColorNames::HexColorName(dialog.Color()), static_cast<qint32>(dialog.Color()));
        return;
    }
    setGeometry(geometry);
    show();
    raise();
    activateWindow();
    m_custom->setFocus(Qt::PopupFocusReason);
}

void frmColorPopUp::finish(const QString &name, qint32 color)
{
    if (m_finished)
        return;
    m_finished = true;
    Q_EMIT Closing(name, color);
    close();
}

void frmColorPopUp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QFrame::keyPressEvent(event);
}

void frmColorPopUp::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // A press on the pages or the tab strip belongs to them; any other one cancels.
    for (QWidget *part : {static_cast<QWidget *>(m_tabs), m_pages[PalettePage]->parentWidget()}) {
        if (rect().contains(at) && part->geometry().contains(at))
            return;
    }
    // Pressing the control that opened the picker closes it without opening it again.
    if (QWidget *owner = parentWidget()) {
        const QRect ownerRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
        if (ownerRect.contains(event->globalPosition().toPoint()))
            setAttribute(Qt::WA_NoMouseReplay);
    }
    Cancel();
}

void frmColorPopUp::closeEvent(QCloseEvent *event)
{
    if (!m_finished) {
        m_finished = true;
        Q_EMIT Closing(QString(), NoColor);
    }
    QFrame::closeEvent(event);
}
