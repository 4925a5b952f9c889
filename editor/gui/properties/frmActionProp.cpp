#include "gui/properties/frmActionProp.h"

#include "core/document/CElement.h"
#include "core/document/CElements.h"
#include "core/host/CHTMLHelp.h"
#include "core/host/MessageService.h"

#include "CatalogueModel.h"

#include <fieldpane/CListItems.h>
#include <fieldpane/PropertyList.h>

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>

using Fieldpane::CListItem;
using Fieldpane::eValueTypes;

namespace {

namespace Catalogue = stepsmith::catalogue;

// Grid row type of an attribute's DataType: whole numbers are free text, range names are a
// variable row, unknown codes are free text.
eValueTypes rowType(qint32 dataType)
{
    switch (dataType) {
    case Catalogue::Integer:
    case 0:
        return Fieldpane::hlvString;
    case Catalogue::Range:
        return Fieldpane::hlvVariable;
    default:
        if (dataType >= Fieldpane::hlvString && dataType <= Fieldpane::hlvVariable)
            return static_cast<eValueTypes>(dataType);
        return Fieldpane::hlvString;
    }
}

// A label that reports clicks (the "Read more" link); it takes the focus with Tab, shows it
// with a focus frame and opens with Enter or Space too.
class ClickableLabel final : public QLabel {
public:
    explicit ClickableLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    std::function<void()> onClick;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
            event->modifiers() == Qt::NoModifier && onClick) {
            onClick();
            return;
        }
        QLabel::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick)
            onClick();
        QLabel::mouseReleaseEvent(event);
    }
};

} // namespace

void frmActionProp::createHeader()
{
    m_imgIcon = new QLabel(this);
    m_imgIcon->setObjectName(QStringLiteral("imgIcon"));
    m_imgIcon->setFixedSize(32, 32);

    m_lblHeader = new QLabel(tr("Action Name"), this);
    m_lblHeader->setObjectName(QStringLiteral("lblHeader"));
    QFont headerFont = m_lblHeader->font();
    headerFont.setBold(true);
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.25);
    m_lblHeader->setFont(headerFont);
    m_lblHeader->setWordWrap(true);

    m_txtDescription = new QPlainTextEdit(tr("Action description"), this);
    m_txtDescription->setObjectName(QStringLiteral("txtDescription"));
    m_txtDescription->setAccessibleName(tr("Action description"));
    m_txtDescription->setReadOnly(true);
    m_txtDescription->setFrameShape(QFrame::NoFrame);
    m_txtDescription->setBackgroundRole(QPalette::Window);
    m_txtDescription->viewport()->setBackgroundRole(QPalette::Window);
    m_txtDescription->setFocusPolicy(Qt::ClickFocus);
    m_txtDescription->setFixedHeight(m_txtDescription->fontMetrics().lineSpacing() * 4 + 8);
}

void frmActionProp::createFooter()
{
    m_chkEnabled = new QCheckBox(tr("&Enabled"), this);
    m_chkEnabled->setObjectName(QStringLiteral("chkEnabled"));
    m_chkEnabled->setChecked(true);

    auto *helpLabel = new ClickableLabel(tr("Read more"), this);
    helpLabel->onClick = [this] {
        showHelp();
    };
    m_lblHelp = helpLabel;
    m_lblHelp->setObjectName(QStringLiteral("lblHelp"));
    m_lblHelp->setCursor(Qt::PointingHandCursor);
    QFont linkFont = m_lblHelp->font();
    linkFont.setUnderline(true);
    m_lblHelp->setFont(linkFont);
    QPalette linkPalette = m_lblHelp->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    m_lblHelp->setPalette(linkPalette);
    m_lblHelp->setAccessibleDescription(tr("Opens the help of this action"));

    m_cmdOK = new QPushButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(tr("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
}

frmActionProp::frmActionProp(const CElements *documentSteps, const CHTMLHelp *help, QWidget *parent)
    : frmActionProp(documentSteps ? VariableNames([documentSteps](bool ranges) {
                        return documentSteps->GetVariableNames(ranges);
                    })
                                  : VariableNames(),
                    help, parent)
{}

frmActionProp::frmActionProp(VariableNames variableNames, const CHTMLHelp *help, QWidget *parent)
    : QDialog(parent), m_variableNames(std::move(variableNames)), m_help(help)
{
    setObjectName(QStringLiteral("frmActionProp"));
    setWindowTitle(tr("Properties"));
    setSizeGripEnabled(true);

    createHeader();

    m_tbs = new QTabWidget(this);
    m_tbs->setObjectName(QStringLiteral("tbs"));
    m_props = new Fieldpane::PropertyList(m_tbs);
    m_props->setObjectName(QStringLiteral("props"));
    m_props->setButtonForString(false);
    m_props->setAccessibleName(tr("Properties"));
    m_tbs->addTab(m_props, tr("Properties"));

    createFooter();

    auto *header = new QHBoxLayout;
    header->addWidget(m_imgIcon, 0, Qt::AlignTop);
    header->addSpacing(6);
    auto *headerText = new QVBoxLayout;
    headerText->addWidget(m_lblHeader);
    headerText->addWidget(m_txtDescription);
    header->addLayout(headerText, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_chkEnabled);
    buttons->addSpacing(12);
    buttons->addWidget(m_lblHelp);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_tbs, 1);
    layout->addLayout(buttons);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmActionProp::okClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmActionProp::cancelClicked);
    // The grid's string button (not offered: ButtonForString is off) leaves the text as it is.
    connect(m_props, &Fieldpane::PropertyList::StringButton, this, [](QString &) {});
    auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    helpKey->setContext(Qt::WindowShortcut);
    connect(helpKey, &QShortcut::activated, this, &frmActionProp::showHelp);
    // Ctrl+Enter confirms the dialog from any field, the grid's editors included.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *confirm = new QShortcut(keys, this);
        confirm->setContext(Qt::WindowShortcut);
        connect(confirm, &QShortcut::activated, this, &frmActionProp::okClicked);
    }

    // Wide enough for a path beside the longest names of the catalogue.
    resize(520, 460);
}

frmActionProp::~frmActionProp() = default;

bool frmActionProp::ShowMe(CElement &step, bool useDefaults)
{
    if (!Load(step, useDefaults))
        return true;
    exec();
    return Finish();
}

bool frmActionProp::Load(CElement &step, bool useDefaults)
{
    m_step = &step;
    m_accepted = false;
    m_disabled = false;
    m_rows.clear();

    Fieldpane::CListItems *items = m_props->ListItems();
    items->Clear();
    for (const auto &attribute : step.Attributes()) {
        const eValueTypes type = rowType(attribute->DataType);
        QVariant validValues;
        if (attribute->DataType == Catalogue::Variable || attribute->DataType == Catalogue::Range) {
            const QStringList names = m_variableNames
                                          ? m_variableNames(attribute->DataType == Catalogue::Range)
                                          : QStringList();
            if (!names.isEmpty())
                validValues = names;
        } else if (attribute->DataType != Catalogue::Integer && !attribute->ArrayValues.isEmpty()) {
            validValues = attribute->ArrayValues.split(QLatin1Char('|'));
        }
        const QVariant value = useDefaults ? attribute->DefaultValue : QVariant(attribute->Value);
        // A caption is needed for the row and for the required-value message.
        const QString name =
            attribute->Description.isEmpty() ? attribute->AttributeName : attribute->Description;
        CListItem row = items->Add(name, type, value, validValues, attribute->AttributeName);
        if (row)
            row.setBold(attribute->Required);
    }
    if (step.ContainsText) {
        const eValueTypes type =
            step.TextAllowMultiLine ? Fieldpane::hlvTextArea : Fieldpane::hlvString;
        const QString name = step.TextDescription.isEmpty() ? tr("Text") : step.TextDescription;
        CListItem row = items->Add(name, type, useDefaults ? QString() : step.Text, QVariant(),
                                   QString::fromLatin1(kTextRowKey));
        if (row)
            row.setBold(step.TextRequired);
    }
    if (items->Count() == 0)
        return false;

    m_lblHeader->setText(step.Description);
    m_txtDescription->setPlainText(step.Information);
    setIcon(step.ElementName);
    m_props->Refresh();
    m_chkEnabled->setChecked(!step.Disabled);
    m_tbs->setCurrentIndex(0);
    // The dialog opens on the first row, its editor active.
    m_props->setSelectedIndex(1);
    return true;
}

bool frmActionProp::Finish()
{
    if (m_accepted && m_step) {
        for (const CListItem &row : m_rows) {
            const QString value = row.Value().toString();
            if (row.Key() == QLatin1String(kTextRowKey)) {
                m_step->Text = value;
            } else if (const auto attribute = m_step->Attributes().Item(row.Key())) {
                attribute->Value = value;
            }
        }
        m_step->Disabled = m_disabled;
    }
    m_rows.clear();
    m_step = nullptr;
    return m_accepted;
}

void frmActionProp::okClicked()
{
    // The grid writes the text still in its edit box into the row when it loses the focus.
    m_cmdOK->setFocus();
    m_props->CommitEdit();

    const Fieldpane::CListItems *items = m_props->ListItems();
    for (const CListItem &row : *items) {
        if (row.Bold() && row.Value().toString().isEmpty()) {
            ShowMessage(tr("\"%1\" requires a value").arg(row.Name()), MsgIcon::None,
                        MsgButtons::Ok);
            return;
        }
    }
    m_disabled = !m_chkEnabled->isChecked();
    m_accepted = true;
    m_rows.assign(items->begin(), items->end());
    accept();
}

void frmActionProp::cancelClicked()
{
    m_accepted = false;
    reject();
}

void frmActionProp::showHelp()
{
    const QString topic = m_step ? m_step->ElementName : QString();
    bool shown = false;
    if (m_help) {
        shown = m_help->ShowContent(topic);
    } else {
        CHTMLHelp help;
        help.setFileName(CHTMLHelp::DefaultFileName());
        shown = help.ShowContent(topic);
    }
    if (!shown)
        ShowMessage(tr("Can't find the help file. Make sure it is placed in the application "
                       "directory"),
                    MsgIcon::Exclamation, MsgButtons::Ok);
}

void frmActionProp::setIcon(const QString &elementName)
{
    QString path = QStringLiteral(":/icons/32/") + elementName + QStringLiteral(".png");
    if (elementName.isEmpty() || !QFile::exists(path))
        path = QStringLiteral(":/icons/32/Default_Icon.png");
    m_imgIcon->setPixmap(QPixmap(path));
}
