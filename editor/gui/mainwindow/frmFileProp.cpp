#include "gui/mainwindow/frmFileProp.h"

#include "core/document/CHeader.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

frmFileProp::frmFileProp(const CHeader &header, QWidget *parent)
    : QDialog(parent), m_author(new QLineEdit(header.Author)),
      m_company(new QLineEdit(header.Company)), m_email(new QLineEdit(header.EMail)),
      m_web(new QLineEdit(header.Web)), m_version(new QLineEdit(header.Version)),
      m_description(new QPlainTextEdit(header.Description)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
{
    setObjectName(QStringLiteral("frmFileProp"));
    setWindowTitle(tr("File Properties"));
    m_description->setTabChangesFocus(true);
    m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 4 + 12);

    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    const auto addRow = [form](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(tr("&Author name:"), m_author);
    addRow(tr("&Company:"), m_company);
    addRow(tr("&Email:"), m_email);
    addRow(tr("&Home page:"), m_web);
    auto *versionRow = new QWidget;
    auto *versionLayout = new QHBoxLayout(versionRow);
    versionLayout->setContentsMargins(0, 0, 0, 0);
    versionLayout->addWidget(m_version, 1);
    auto *required = new QLabel(tr("Required value"));
    required->setEnabled(false);
    versionLayout->addWidget(required);
    auto *versionLabel = new QLabel(tr("File &version:"));
    versionLabel->setBuddy(m_version);
    form->addRow(versionLabel, versionRow);
    addRow(tr("File &description:"), m_description);

    auto *tabs = new QTabWidget;
    tabs->addTab(page, tr("Version info"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_version, &QLineEdit::textChanged, this, &frmFileProp::updateOk);

    for (QWidget *field :
         {static_cast<QWidget *>(m_author), static_cast<QWidget *>(m_company),
          static_cast<QWidget *>(m_email), static_cast<QWidget *>(m_web),
          static_cast<QWidget *>(m_version), static_cast<QWidget *>(m_description)})
        field->installEventFilter(this);
    resize(440, sizeHint().height());
    updateOk();
}

bool frmFileProp::okEnabled() const
{
    return m_buttons->button(QDialogButtonBox::Ok)->isEnabled();
}

void frmFileProp::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_version->text().trimmed().isEmpty());
}

bool frmFileProp::eventFilter(QObject *watched, QEvent *event)
{
    // Entering a field selects its whole text (after the focus change has placed the caret).
    if (event->type() == QEvent::FocusIn) {
        if (auto *line = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, line, &QLineEdit::selectAll);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(watched))
            QTimer::singleShot(0, text, &QPlainTextEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmFileProp::Apply(CHeader &header) const
{
    header.Author = m_author->text();
    header.Company = m_company->text();
    header.EMail = m_email->text();
    header.Web = m_web->text();
    header.Version = m_version->text();
    QString description = m_description->toPlainText();
    description.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    description.replace(QLatin1Char('\n'), QLatin1Char(' '));
    header.Description = description;
}
