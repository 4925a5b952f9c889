#include "gui/widgets/AppMessageBox.h"

#include "core/host/MessageService.h"

#include <QApplication>
#include <QMessageBox>

void InstallMessageBoxHandler()
{
    SetMessageHandler([](const QString &text, MsgIcon icon, MsgButtons buttons) {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(QString::fromLatin1(kMessageTitle));
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        box.setText(shown);
        box.setTextFormat(Qt::PlainText);
        switch (icon) {
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::None:
            break;
        }
        switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Ok:
            return MsgResult::Ok;
        default:
            return MsgResult::Cancel;
        }
    });
}

void ShowNotices(const QList<Notice> &notices)
{
    for (const Notice &notice : notices)
        ShowMessage(notice.Text, notice.Icon, MsgButtons::Ok);
}
