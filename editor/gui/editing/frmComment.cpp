#include "gui/editing/frmComment.h"

#include "core/settings/CommentPlacement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmComment::frmComment(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmComment"));
    setWindowTitle(tr("Comment"));
    setSizeGripEnabled(true);

    m_lblHeader = new QLabel(tr("Comment"), this);
    m_lblHeader->setObjectName(QStringLiteral("lblHeader"));
    QFont headerFont = m_lblHeader->font();
    headerFont.setBold(true);
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.25);
    m_lblHeader->setFont(headerFont);

    m_lblInfo = new QLabel(tr("Enter the text that you want to use as the comment in the text box "
                              "below. A comment can consist of multiple lines of text."),
                           this);
    m_lblInfo->setObjectName(QStringLiteral("lblInfo"));
    m_lblInfo->setWordWrap(true);

    m_txtComment = new QPlainTextEdit(this);
    m_txtComment->setObjectName(QStringLiteral("txtComment"));
    m_txtComment->setAccessibleName(tr("Comment"));
    m_txtComment->setTabChangesFocus(true);

    m_chkBottom = new QCheckBox(tr("Add to &bottom of the script"), this);
    m_chkBottom->setObjectName(QStringLiteral("chkBottom"));
    m_chkBefore = new QCheckBox(tr("Insert be&fore the selection"), this);
    m_chkBefore->setObjectName(QStringLiteral("chkBefore"));
    // Going to the bottom leaves no choice of side.
    connect(m_chkBottom, &QCheckBox::toggled, m_chkBefore, &QWidget::setDisabled);

    m_cmdOK = new QPushButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdOK->setEnabled(false);
    m_cmdCancel = new QPushButton(tr("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_chkBottom);
    buttons->addWidget(m_chkBefore);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblHeader);
    layout->addWidget(m_lblInfo);
    layout->addWidget(m_txtComment, 1);
    layout->addLayout(buttons);

    connect(m_txtComment, &QPlainTextEdit::textChanged, this, &frmComment::updateOk);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmComment::okClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmComment::cancelClicked);
    // Closing by the title bar or Escape counts as Cancel.
    connect(this, &QDialog::rejected, this, [this] { m_result.clear(); });

    resize(420, 300);
}

frmComment::~frmComment() = default;

void frmComment::HideCheckBox(bool flag)
{
    m_chkBottom->setHidden(flag);
    m_chkBefore->setHidden(flag);
    if (flag)
        m_chkBottom->setChecked(false);
}

QString frmComment::ShowMe(const QString &text)
{
    Load(text);
    exec();
    return m_result;
}

void frmComment::Load(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_txtComment->setPlainText(plain);
    m_txtComment->moveCursor(QTextCursor::End);
    m_txtComment->setFocus();
    m_result.clear();
    m_insertLast = false;
    m_insertBefore = false;
    m_chkBefore->setChecked(ReadCommentBefore());
    updateOk();
}

void frmComment::okClicked()
{
    QString text = m_txtComment->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    m_result = text;
    m_insertLast = m_chkBottom->isVisible() && m_chkBottom->isChecked();
    if (m_chkBefore->isVisible()) {
        m_insertBefore = !m_insertLast && m_chkBefore->isChecked();
        SaveCommentBefore(m_chkBefore->isChecked());
    }
    accept();
}

void frmComment::cancelClicked()
{
    m_result.clear();
    reject();
}

void frmComment::updateOk()
{
    m_cmdOK->setEnabled(!m_txtComment->document()->isEmpty());
}
