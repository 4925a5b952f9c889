#include "gui/options/frmOptions.h"

#include "core/settings/OptionsChoice.h"
#include "gui/widgets/ColorDD.h"
#include "gui/widgets/ModalRunner.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QStringList installedFontNames()
{
    QStringList names;
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        if (!QFontDatabase::isPrivateFamily(family))
            names.append(family);
    }
    return names;
}

// A list of font names, each drawn in its own face.
QComboBox *makeFontList(const QString &name, const QStringList &fontNames, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->setMaxVisibleItems(16);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(22);
    if (auto *view = qobject_cast<QListView *>(list->view()))
        view->setUniformItemSizes(true);
    const qreal points = list->font().pointSizeF() > 0 ? list->font().pointSizeF() + 1 : 10;
    for (const QString &family : fontNames) {
        list->addItem(family);
        QFont face(family);
        face.setPointSizeF(points);
        list->setItemData(list->count() - 1, face, Qt::FontRole);
    }
    list->setCurrentIndex(-1);
    return list;
}

QComboBox *makeSizeList(const QString &name, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(frmOptions::FontSizes());
    list->setCurrentIndex(-1);
    return list;
}

QStringList entries(const QComboBox *list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

// The first entry that begins with `prefix`, letter case ignored, becomes current (or none:
// then the list shows the stored value greyed, as a value it does not offer).
void selectPrefix(QComboBox *list, const QString &prefix)
{
    list->setPlaceholderText(prefix);
    list->setCurrentIndex(FindStringPrefix(entries(list), prefix));
}

std::optional<QString> currentEntry(const QComboBox *list)
{
    if (list->currentIndex() < 0)
        return std::nullopt;
    return list->currentText();
}

} // namespace

frmOptions::frmOptions(SharedSettings &settings, QWidget *parent)
    : frmOptions(settings, installedFontNames(), parent)
{}

frmOptions::frmOptions(SharedSettings &settings, const QStringList &fontNames, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    QStringList sorted = fontNames;
    sorted.removeDuplicates();
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    build(sorted);
    load();
}

frmOptions::~frmOptions() = default;

QStringList frmOptions::FontSizes()
{
    return {QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
            QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"),
            QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20")};
}

void frmOptions::build(const QStringList &fontNames)
{
    auto *visual = new QGroupBox(tr("Visual mode settings"), this);
    m_odlFontVisual = makeFontList(QStringLiteral("odlFontVisual"), fontNames, visual);
    m_cmbVisualFontSize = makeSizeList(QStringLiteral("cmbVisualFontSize"), visual);
    m_cddComment = new ColorDD(visual);
    m_cddComment->setObjectName(QStringLiteral("cddComment"));
    auto *visualForm = new QFormLayout(visual);
    visualForm->addRow(tr("&Font name:"), m_odlFontVisual);
    visualForm->addRow(tr("Font &size:"), m_cmbVisualFontSize);
    visualForm->addRow(tr("&Comment color:"), m_cddComment);

    auto *source = new QGroupBox(tr("Source mode settings"), this);
    m_odlFontSource = makeFontList(QStringLiteral("odlFontSource"), fontNames, source);
    m_cmbSourceFontSize = makeSizeList(QStringLiteral("cmbSourceFontSize"), source);
    auto *sourceForm = new QFormLayout(source);
    sourceForm->addRow(tr("Font &name:"), m_odlFontSource);
    sourceForm->addRow(tr("Font si&ze:"), m_cmbSourceFontSize);

    // The size lists are as wide as a colour field, so the two groups line up.
    for (QComboBox *sizes : {m_cmbVisualFontSize, m_cmbSourceFontSize})
        sizes->setMinimumWidth(m_cddComment->sizeHint().width());
    m_cddComment->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The fields of both groups start at the same place.
    int labelWidth = 0;
    for (QFormLayout *form : {visualForm, sourceForm}) {
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem *label = form->itemAt(row, QFormLayout::LabelRole))
                labelWidth = qMax(labelWidth, label->sizeHint().width());
        }
    }
    for (QFormLayout *form : {visualForm, sourceForm}) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem *label = form->itemAt(row, QFormLayout::LabelRole))
                label->widget()->setMinimumWidth(labelWidth);
        }
    }

    auto *buttons = new QDialogButtonBox(this);
    m_cmdOK = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &frmOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmOptions::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(visual);
    layout->addWidget(source);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmOptions::load()
{
    selectPrefix(m_odlFontVisual, m_settings.FontName);
    selectPrefix(m_odlFontSource, m_settings.FontNameZML);
    selectPrefix(m_cmbVisualFontSize, QString::number(m_settings.FontSize));
    selectPrefix(m_cmbSourceFontSize, QString::number(m_settings.FontSizeZML));
    m_cddComment->setColor(m_settings.CommentColor);
}

void frmOptions::accept()
{
    OptionsChoice choice;
    choice.FontNameZML = currentEntry(m_odlFontSource);
    choice.FontSizeZML = m_cmbSourceFontSize->currentText();
    choice.FontName = currentEntry(m_odlFontVisual);
    choice.FontSize = m_cmbVisualFontSize->currentText();
    choice.CommentColor = m_cddComment->Color();
    StoreOptions(choice, m_settings);
    QDialog::accept();
}

bool frmOptions::ShowOptions(SharedSettings &settings, QWidget *owner)
{
    frmOptions dialog(settings, owner);
    return RunModal(dialog) == QDialog::Accepted;
}
