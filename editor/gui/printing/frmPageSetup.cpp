#include "gui/printing/frmPageSetup.h"

#include "core/host/MessageService.h"
#include "core/host/Twips.h"
#include "core/printing/CPrintPreview.h"
#include "core/printing/CPrinter.h"
#include "core/printing/PageUnits.h"
#include "gui/printing/CPrintCommand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLabel *BuddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *NumericField(const QString &name)
{
    auto *field = new QLineEdit;
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(80);
    return field;
}

double ScreenDpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi =
        screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY())
               : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

double frmPageSetup::TwipsPerPixelX()
{
    return TwipsPerPixel(ScreenDpi(true));
}

double frmPageSetup::TwipsPerPixelY()
{
    return TwipsPerPixel(ScreenDpi(false));
}

QGroupBox *frmPageSetup::createMargins()
{
    auto *fraMargins = new QGroupBox(tr("Margins "));
    fraMargins->setObjectName(QStringLiteral("fraMargins"));
    auto *marginGrid = new QGridLayout(fraMargins);
    const QStringList marginLabels{tr("&Top:"), tr("&Bottom:"), tr("&Left:"), tr("&Right:")};
    for (int i = 0; i < 4; ++i) {
        QLineEdit *field = NumericField(QStringLiteral("txtMargin%1").arg(i));
        m_txtMargin.append(field);
        marginGrid->addWidget(BuddyLabel(marginLabels.at(i), field), i / 2, (i % 2) * 2);
        marginGrid->addWidget(field, i / 2, (i % 2) * 2 + 1);
    }
    return fraMargins;
}

QGroupBox *frmPageSetup::createHeaderFooter()
{
    auto *fraHeadFoot = new QGroupBox(tr("Header && Footer "));
    fraHeadFoot->setObjectName(QStringLiteral("fraHeadFoot"));
    auto *headFootLayout = new QVBoxLayout(fraHeadFoot);
    auto *fraEdge = new QGroupBox(tr("From Edge "));
    auto *edgeGrid = new QGridLayout(fraEdge);
    const QStringList edgeLabels{tr("&Header:"), tr("&Footer:")};
    for (int i = 0; i < 2; ++i) {
        QLineEdit *field = NumericField(QStringLiteral("txtHeadFoot%1").arg(i));
        m_txtHeadFoot.append(field);
        edgeGrid->addWidget(BuddyLabel(edgeLabels.at(i), field), 0, i * 2);
        edgeGrid->addWidget(field, 0, i * 2 + 1);
    }
    headFootLayout->addWidget(fraEdge);

    m_txtHeader = new QLineEdit;
    m_txtHeader->setObjectName(QStringLiteral("txtHeader"));
    m_txtFooter = new QLineEdit;
    m_txtFooter->setObjectName(QStringLiteral("txtFooter"));
    auto *templateGrid = new QGridLayout;
    const QList<QLineEdit *> templates{m_txtHeader, m_txtFooter};
    const QStringList templateLabels{tr("H&eader text:"), tr("F&ooter text:")};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton;
        button->setObjectName(QStringLiteral("cmdMenu%1").arg(i));
        button->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
        button->setToolTip(tr("Insert a macro"));
        button->setAccessibleName(tr("Insert a macro"));
        button->setFixedWidth(button->sizeHint().height());
        button->setAutoDefault(false);
        m_cmdMenu.append(button);
        connect(button, &QPushButton::clicked, this, [this, i] { ShowMacroMenu(i); });
        templateGrid->addWidget(BuddyLabel(templateLabels.at(i), templates.at(i)), i, 0);
        templateGrid->addWidget(templates.at(i), i, 1);
        templateGrid->addWidget(button, i, 2);
    }
    headFootLayout->addLayout(templateGrid);
    for (const char *help :
         {QT_TR_NOOP("$f  - File Name $F - Full Path   $p - Page num $P - Total page"),
          QT_TR_NOOP("$d - Current date $t  - Current time $D- File date   $T - File time"),
          QT_TR_NOOP("$L - Align left  $C - Align center $R - Align right")}) {
        auto *label = new QLabel(tr(help));
        label->setTextFormat(Qt::PlainText);
        headFootLayout->addWidget(label);
    }
    return fraHeadFoot;
}

QGroupBox *frmPageSetup::createFont()
{
    auto *fraFont = new QGroupBox(tr("Font "));
    auto *fontGrid = new QGridLayout(fraFont);
    m_cmbFontName = new QComboBox;
    m_cmbFontName->setObjectName(QStringLiteral("cmbFontName"));
    m_cmbFontSize = new QComboBox;
    m_cmbFontSize->setObjectName(QStringLiteral("cmbFontSize"));
    m_cmbFontSize->setEditable(true);
    fontGrid->addWidget(BuddyLabel(tr("&Name"), m_cmbFontName), 0, 0);
    fontGrid->addWidget(m_cmbFontName, 0, 1);
    fontGrid->addWidget(BuddyLabel(tr("Si&ze:"), m_cmbFontSize), 0, 2);
    fontGrid->addWidget(m_cmbFontSize, 0, 3);
    fontGrid->setColumnStretch(1, 1);
    return fraFont;
}

void frmPageSetup::createMacroMenu()
{
    m_mnuPop = new QMenu(this);
    m_mnuPop->setObjectName(QStringLiteral("mnuPop"));
    const QStringList captions{tr("File Name ($f)"),
                               tr("Full Path ($F)"),
                               tr("Page Number ($p)"),
                               tr("Page Count ($P)"),
                               QString(),
                               tr("Current Date ($d)"),
                               tr("Current Time ($t)"),
                               tr("File Date ($D)"),
                               tr("File Time ($T)"),
                               QString(),
                               tr("Align Left ($L)"),
                               tr("Align Center ($C)"),
                               tr("Align Right ($R)")};
    for (int i = 0; i < captions.size(); ++i) {
        QAction *action = captions.at(i).isEmpty() ? m_mnuPop->addSeparator()
                                                   : m_mnuPop->addAction(captions.at(i));
        action->setObjectName(QStringLiteral("mnuPopPop%1").arg(i));
        if (!captions.at(i).isEmpty()) {
            const QString &caption = captions.at(i);
            connect(action, &QAction::triggered, this, [this, caption] { InsertMacro(caption); });
        }
    }

    for (QLineEdit *field : m_txtMargin + m_txtHeadFoot)
        field->installEventFilter(this);
    connect(m_cmbScaleMode, &QComboBox::currentIndexChanged, this, &frmPageSetup::ScaleModeChanged);

    FormLoad();
}

frmPageSetup::frmPageSetup(CPrinter &printer, QWidget *parent) : QDialog(parent), m_printer(printer)
{
    setObjectName(QStringLiteral("frmPageSetup"));
    setWindowTitle(tr("Page Setup"));

    auto *heading = new QLabel(tr("Printer Page Setup"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);

    m_cmbScaleMode = new QComboBox;
    m_cmbScaleMode->setObjectName(QStringLiteral("cmbScaleMode"));
    auto *scaleRow = new QHBoxLayout;
    scaleRow->addWidget(BuddyLabel(tr("&Scale:"), m_cmbScaleMode));
    scaleRow->addWidget(m_cmbScaleMode);
    scaleRow->addStretch();

    QGroupBox *fraMargins = createMargins();

    QGroupBox *fraHeadFoot = createHeaderFooter();

    QGroupBox *fraFont = createFont();

    m_chkLineNumbers = new QCheckBox(tr("Print Line &Numbers"));
    m_chkLineNumbers->setObjectName(QStringLiteral("chkLineNumbers"));

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &frmPageSetup::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmPageSetup::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(scaleRow);
    layout->addWidget(fraMargins);
    layout->addWidget(fraHeadFoot);
    layout->addWidget(fraFont);
    layout->addWidget(m_chkLineNumbers);
    layout->addWidget(buttons);

    createMacroMenu();
}

void frmPageSetup::FormLoad()
{
    m_decimal = QLocale().toString(0.0, 'f', 1).at(1);

    const QList<float> margins{m_printer.MarginTop(), m_printer.MarginBottom(),
                               m_printer.MarginLeft(), m_printer.MarginRight()};
    const QLocale locale;
    for (int i = 0; i < 4; ++i)
        m_txtMargin.at(i)->setText(locale.toString(margins.at(i)));
    m_txtHeadFoot.at(0)->setText(locale.toString(m_printer.MarginHeader()));
    m_txtHeadFoot.at(1)->setText(locale.toString(m_printer.MarginFooter()));

    // The fonts the printer can use; a stored name the system lacks stays selectable.
    QStringList families = QFontDatabase::families();
    if (!families.contains(m_printer.FontName()))
        families.prepend(m_printer.FontName());
    m_cmbFontName->addItems(families);
    m_cmbFontName->setCurrentText(m_printer.FontName());

    m_chkLineNumbers->setChecked(m_printer.LineNumbers());
    m_txtHeader->setText(m_printer.HeaderText());
    m_txtFooter->setText(m_printer.FooterText());

    QStringList sizes;
    for (int size = 8; size <= 12; ++size)
        sizes.append(QString::number(size));
    for (int size = 14; size <= 28; size += 2)
        sizes.append(QString::number(size));
    sizes << QStringLiteral("36") << QStringLiteral("72");
    m_cmbFontSize->addItems(sizes);
    m_cmbFontSize->setCurrentText(QString::number(m_printer.FontSize()));

    m_shownMode = m_printer.ScaleMode();
    const QSignalBlocker blocker(m_cmbScaleMode);
    m_cmbScaleMode->clear();
    m_cmbScaleMode->addItem(tr("Pixels"), 3);
    m_cmbScaleMode->addItem(tr("Inches"), 5);
    m_cmbScaleMode->addItem(tr("Millimeters"), 6);
    m_cmbScaleMode->addItem(tr("Centimeters"), 7);
    const int index = m_cmbScaleMode->findData(m_shownMode);
    m_cmbScaleMode->setCurrentIndex(index);
    if (index >= 0)
        ScaleModeChanged(index);
}

void frmPageSetup::ScaleModeChanged(int index)
{
    const int mode = m_cmbScaleMode->itemData(index).toInt();
    if (mode != 3 && mode != 5 && mode != 6 && mode != 7)
        return;
    const QLocale locale;
    // Left and right convert horizontally; top, bottom, header and footer vertically.
    const QList<QLineEdit *> fields = m_txtMargin + m_txtHeadFoot;
    for (int i = 0; i < fields.size(); ++i) {
        QLineEdit *field = fields.at(i);
        double value = 0;
        if (!PageUnits::Parse(field->text(), &value, locale))
            continue; // a field that holds no number is left for OK to refuse
        const bool horizontal = i == 2 || i == 3;
        const double tpp = horizontal ? TwipsPerPixelX() : TwipsPerPixelY();
        field->setText(
            PageUnits::Format(PageUnits::Convert(value, m_shownMode, mode, tpp), mode, locale));
    }
    m_shownMode = mode;
}

bool frmPageSetup::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, field, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        // Editing and moving keys and shortcuts pass; typed characters are filtered.
        if (text.isEmpty() || key->key() == Qt::Key_Backspace ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
            (text.size() == 1 && text.at(0).unicode() < 0x20))
            return false;
        if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 0x80)
            return false;
        if (text == m_decimal || text == QStringLiteral(".")) {
            const QString selected = field->selectedText();
            const bool hasSeparator =
                field->text().contains(m_decimal) && !selected.contains(m_decimal);
            if (!hasSeparator)
                field->insert(m_decimal);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmPageSetup::ShowMacroMenu(int which)
{
    m_menuTarget = which == 0 ? m_txtHeader : m_txtFooter;
    m_menuTarget->setFocus();
    QPushButton *button = m_cmdMenu.at(which);
    m_mnuPop->popup(button->mapToGlobal(QPoint(button->width(), 0)));
}

void frmPageSetup::InsertMacro(const QString &caption)
{
    if (!m_menuTarget)
        return;
    const qsizetype dollar = caption.indexOf(u'$');
    if (dollar >= 0)
        m_menuTarget->insert(caption.mid(dollar, 2));
    m_menuTarget->setFocus();
}

bool frmPageSetup::ReadNumber(QLineEdit *field, const QString &label, double *value)
{
    if (PageUnits::Parse(field->text(), value) && *value >= 0)
        return true;
    Refuse(field,
           tr("Please enter a number of 0 or more in the field '%1'.").arg(FieldName(label)));
    return false;
}

QString frmPageSetup::FieldName(const QString &label)
{
    QString name = label;
    name.remove(u'&');
    while (name.endsWith(u':') || name.endsWith(u' '))
        name.chop(1);
    return name;
}

void frmPageSetup::Refuse(QLineEdit *field, const QString &message)
{
    ShowMessage(message, MsgIcon::Exclamation);
    field->setFocus();
    field->selectAll();
}

bool frmPageSetup::CheckRoom(const CPrinter &page)
{
    // Measured as the preview and PDF files lay the page out: on the current printer's paper,
    // pixels being those of the screen.
    CPrintPreview sheet(CPrintCommand::CurrentPageLayout(), ScreenDpi(false));
    sheet.ApplySettings(page);
    const CPrinter::Margin margin = page.CrampedMargin(sheet.ScaleWidth(), sheet.ScaleHeight(),
                                                       sheet.TextHeight(QStringLiteral("Xy")),
                                                       sheet.TextWidth(QStringLiteral("W")));
    QLineEdit *field = nullptr;
    QString label;
    switch (margin) {
    case CPrinter::Margin::None:
        return true;
    case CPrinter::Margin::Top:
        field = m_txtMargin.at(0);
        label = tr("&Top:");
        break;
    case CPrinter::Margin::Bottom:
        field = m_txtMargin.at(1);
        label = tr("&Bottom:");
        break;
    case CPrinter::Margin::Left:
        field = m_txtMargin.at(2);
        label = tr("&Left:");
        break;
    case CPrinter::Margin::Right:
        field = m_txtMargin.at(3);
        label = tr("&Right:");
        break;
    case CPrinter::Margin::Header:
        field = m_txtHeadFoot.at(0);
        label = tr("&Header:");
        break;
    case CPrinter::Margin::Footer:
        field = m_txtHeadFoot.at(1);
        label = tr("&Footer:");
        break;
    }
    const bool across = margin == CPrinter::Margin::Left || margin == CPrinter::Margin::Right;
    Refuse(field, (across ? tr("The margins leave no room for text between the left and the "
                               "right margin. Please change the value in the field '%1'.")
                          : tr("The margins leave less than one line of text between the header "
                               "and the footer. Please change the value in the field '%1'."))
                      .arg(FieldName(label)));
    return false;
}

void frmPageSetup::accept()
{
    const QStringList marginLabels{tr("&Top:"), tr("&Bottom:"), tr("&Left:"), tr("&Right:")};
    const QStringList edgeLabels{tr("&Header:"), tr("&Footer:")};
    double margins[4] = {};
    double edges[2] = {};
    for (int i = 0; i < 4; ++i)
        if (!ReadNumber(m_txtMargin.at(i), marginLabels.at(i), &margins[i]))
            return;
    for (int i = 0; i < 2; ++i)
        if (!ReadNumber(m_txtHeadFoot.at(i), edgeLabels.at(i), &edges[i]))
            return;
    bool sizeOk = false;
    const int fontSize = m_cmbFontSize->currentText().trimmed().toInt(&sizeOk);
    if (!sizeOk || fontSize < 1 || fontSize > 1638) {
        ShowMessage(tr("Please enter a whole number from 1 to 1638 as the font size."),
                    MsgIcon::Exclamation);
        m_cmbFontSize->setFocus();
        return;
    }

    CPrinter page(m_printer);
    page.SetScaleMode(static_cast<short>(m_cmbScaleMode->currentData().toInt()));
    page.SetFontName(m_cmbFontName->currentText());
    page.SetFontSize(static_cast<short>(fontSize));
    page.SetFooterText(m_txtFooter->text());
    page.SetHeaderText(m_txtHeader->text());
    page.SetLineNumbers(m_chkLineNumbers->isChecked());
    page.SetMarginBottom(static_cast<float>(margins[1]));
    page.SetMarginFooter(static_cast<float>(edges[1]));
    page.SetMarginHeader(static_cast<float>(edges[0]));
    page.SetMarginLeft(static_cast<float>(margins[2]));
    page.SetMarginRight(static_cast<float>(margins[3]));
    page.SetMarginTop(static_cast<float>(margins[0]));
    if (!CheckRoom(page))
        return;
    m_printer = page;
    QDialog::accept();
}
