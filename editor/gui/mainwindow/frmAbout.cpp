#include "gui/mainwindow/frmAbout.h"

#include "gui/mainwindow/ProgramInfo.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent), m_version(new QLabel(ProgramVersionText()))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About %1").arg(QString::fromUtf8(kProgramDescription)));

    auto *icon = new QLabel;
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/app/stepsmith-64.png")));
    icon->setAlignment(Qt::AlignTop);
    auto *title = new QLabel(QString::fromUtf8(kProgramDescription));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    m_version->setObjectName(QStringLiteral("lblVersion"));
    auto *legal = new QLabel(tr(kProgramLegalNotice));
    legal->setWordWrap(true);
    legal->setObjectName(QStringLiteral("lblLegal"));

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(m_version);
    text->addSpacing(8);
    text->addWidget(legal);
    text->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QString frmAbout::VersionText(int major, int minor, int revision)
{
    return tr("Version %1.%2 rev %3").arg(major).arg(minor).arg(revision);
}

QString frmAbout::ProgramVersionText()
{
    return VersionText(kProgramVersionMajor, kProgramVersionMinor, kProgramVersionRevision);
}
