#include "gui/editing/frmGoto.h"

#include "core/document/EditRules.h"
#include "core/host/MessageService.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmGoto::frmGoto(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(tr("Go to step"));

    m_lblLine = new QLabel(tr("&Line number:"), this);
    m_lblLine->setObjectName(QStringLiteral("lblLine"));
    m_txtLine = new QLineEdit(this);
    m_txtLine->setObjectName(QStringLiteral("txtLine"));
    m_lblLine->setBuddy(m_txtLine);

    m_cmdOK = new QPushButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdOK->setEnabled(false);
    m_cmdCancel = new QPushButton(tr("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_lblLine, 0, 0);
    layout->addWidget(m_txtLine, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    layout->addLayout(buttons, 1, 0, 1, 2);

    connect(m_txtLine, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_cmdOK->setEnabled(!text.isEmpty()); });
    connect(m_cmdOK, &QPushButton::clicked, this, &frmGoto::okClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmGoto::cancelClicked);
    connect(this, &QDialog::rejected, this, [this] { m_result = 0; });
    setFixedHeight(sizeHint().height());
    resize(300, height());
}

frmGoto::~frmGoto() = default;

int frmGoto::ShowMe()
{
    Load();
    exec();
    return m_result;
}

void frmGoto::Load()
{
    m_txtLine->clear();
    m_txtLine->setFocus();
    m_result = 0;
}

void frmGoto::okClicked()
{
    const QString text = m_txtLine->text();
    int line = 0;
    if (!EditRules::ParseLineNumber(text, &line)) {
        ShowMessage(tr("%1 is not a valid line number").arg(text), MsgIcon::Information,
                    MsgButtons::Ok);
        m_txtLine->setFocus();
        m_txtLine->selectAll();
        return;
    }
    m_result = line;
    accept();
}

void frmGoto::cancelClicked()
{
    m_result = 0;
    reject();
}
