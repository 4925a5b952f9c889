// The program's start-up and main window, driven line by line from standard input, for the
// tests that stop it the hard way. Only the edits come from the driver: start-up, autosave and
// recovery are the program's own. Replies go to standard output, one line each.
//
// Environment: STEPSMITH_DRIVER_RECOVER answers the recovery question: "later" (default),
// "discard" (every entry) or "recover" (the first entry). Messages are printed and answered
// with No (or OK).
//
// Commands: "add NAME [ATTRIBUTE=VALUE...]", "comment TEXT", "save PATH" (the document saved
// as Save writes it), "savedoc" (the Save command), "autosave" (write the recovery file now and
// wait), "hang" (the next autosave write stops before its commit, after printing "hanging"),
// "state", "rows" (each row's depth and text), "recovery" (the path of this instance's recovery
// file), "open PATH", "quit".
#include "core/document/CDocument.h"
#include "core/document/StepRowsModel.h"
#include "core/document/StepText.h"
#include "core/host/MessageService.h"
#include "core/recovery/Autosaver.h"
#include "core/recovery/RecoveryPrompt.h"
#include "core/recovery/RecoveryStore.h"
#include "core/zml/ZmlWriter.h"
#include "gui/mainwindow/DocumentRecovery.h"
#include "gui/mainwindow/ProgramInfo.h"
#include "gui/mainwindow/frmEdit.h"

#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void reply(const QString &line)
{
    std::cout << line.toStdString() << std::endl;
}

void installAnswers()
{
    SetMessageHandler([](const QString &text, MsgIcon, MsgButtons) {
        reply(QStringLiteral("message ") + QString(text).replace(QStringLiteral("\r\n"), " "));
        return MsgResult::No;
    });
    const QByteArray mode = qgetenv("STEPSMITH_DRIVER_RECOVER");
    SetRecoveryChooser([mode](const std::vector<RecoveryEntry> &entries) {
        std::vector<RecoveryChoice> choices(entries.size(), RecoveryChoice::Later);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            reply(QStringLiteral("offered %1|%2|%3")
                      .arg(RecoveryDisplayName(entries[i]), RecoveryDisplayFolder(entries[i]),
                           entries[i].readable ? QStringLiteral("readable")
                                               : QStringLiteral("unreadable")));
            if (mode == "discard")
                choices[i] = RecoveryChoice::Discard;
        }
        if (mode == "recover")
            choices[0] = RecoveryChoice::Recover;
        return choices;
    });
}

void addStep(frmEdit &window, const QStringList &words)
{
    CDocument &doc = *window.Document();
    const auto action = doc.Catalogue().Item(words.value(1));
    if (!action) {
        reply(QStringLiteral("error no action"));
        return;
    }
    const auto step = CElements::Copy(*action);
    for (const QString &word : words.mid(2)) {
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (const auto attribute = step->Attributes().Item(word.left(equals)))
            attribute->Value = word.mid(equals + 1);
    }
    doc.InsertStep(*step, -1);
    reply(QStringLiteral("ok"));
}

void run(frmEdit &window, const QString &line)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.value(0);
    const QString rest = line.section(QLatin1Char(' '), 1);
    DocumentRecovery &recovery = *window.Recovery();
    CDocument &doc = *window.Document();
    if (command == QLatin1String("add")) {
        addStep(window, words);
    } else if (command == QLatin1String("comment")) {
        CElement step;
        step.IsComment = true;
        step.Text = rest;
        doc.InsertStep(step, -1);
        reply(QStringLiteral("ok"));
    } else if (command == QLatin1String("save")) {
        reply(SaveDocument(doc, rest, false) ? QStringLiteral("ok") : QStringLiteral("failed"));
    } else if (command == QLatin1String("savedoc")) {
        reply(window.SaveDoc(false) ? QStringLiteral("ok") : QStringLiteral("failed"));
    } else if (command == QLatin1String("autosave")) {
        recovery.autosaver().writeNow();
        recovery.autosaver().waitForJobs();
        reply(QStringLiteral("ok"));
    } else if (command == QLatin1String("hang")) {
        RecoveryStore::setWriteHook([](QSaveFile &) {
            reply(QStringLiteral("hanging"));
            for (;;)
                QThread::sleep(1);
            return false;
        });
        recovery.autosaver().writeNow();
    } else if (command == QLatin1String("state")) {
        reply(QStringLiteral("state %1|%2|%3|%4")
                  .arg(doc.FileName(),
                       doc.Dirty() ? QStringLiteral("changed") : QStringLiteral("unchanged"))
                  .arg(doc.RowCount())
                  .arg(window.windowTitle()));
    } else if (command == QLatin1String("rows")) {
        QStringList rows;
        for (int row = 0; row < doc.RowCount(); ++row)
            rows.append(QString::number(doc.Rows()->depth(row)) + QLatin1Char(' ') +
                        BuildStepText(*doc.Step(row)).replace(QStringLiteral("\r\n"), " "));
        reply(QStringLiteral("rows ") + rows.join(QStringLiteral(" | ")));
    } else if (command == QLatin1String("recovery")) {
        reply(QStringLiteral("recovery ") + recovery.store().textFile());
    } else if (command == QLatin1String("open")) {
        reply(window.OpenDoc(rest) ? QStringLiteral("ok") : QStringLiteral("failed"));
    } else if (command == QLatin1String("quit")) {
        window.close();
        reply(QStringLiteral("ok"));
        QApplication::quit();
    } else {
        reply(QStringLiteral("error unknown command"));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpApplication();
    installAnswers();

    frmEdit window;
    const QString programDir = QFileInfo(QStringLiteral(STEPSMITH_ACTIONS_DAT)).absolutePath();
    const QString file = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    if (!window.Load(file, [programDir](CElements &catalogue) {
            return LoadStartupCatalogue(catalogue, programDir, programDir);
        }))
        return 1;
    window.show();
    reply(QStringLiteral("ready"));

    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&window, &input] {
        std::string line;
        do {
            if (!std::getline(std::cin, line)) {
                input.setEnabled(false);
                QApplication::quit();
                return;
            }
            run(window, QString::fromStdString(line).trimmed());
        } while (std::cin.rdbuf()->in_avail() > 0);
    });
    return QApplication::exec();
}
