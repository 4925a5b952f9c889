#include "DescriptionPane.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace Fieldpane {

DescriptionPane::DescriptionPane(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setObjectName(QStringLiteral("description"));
    // Presses on the pane belong to it, not to the rows above it.
    setAttribute(Qt::WA_NoMousePropagation);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("descriptionName"));
    m_name->setTextFormat(Qt::PlainText);
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("descriptionText"));
    m_description->setTextFormat(Qt::PlainText);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_description->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    layout->addWidget(m_name);
    layout->addWidget(m_description, 1);
    updateFonts();
}

DescriptionPane::~DescriptionPane() = default;

void DescriptionPane::setContent(const QString &name, const QString &description)
{
    m_name->setText(name);
    m_description->setText(description);
}

QString DescriptionPane::name() const
{
    return m_name->text();
}

QString DescriptionPane::description() const
{
    return m_description->text();
}

void DescriptionPane::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateFonts();
    QFrame::changeEvent(event);
}

void DescriptionPane::updateFonts()
{
    QFont bold = font();
    bold.setBold(true);
    m_name->setFont(bold);
}

} // namespace Fieldpane
