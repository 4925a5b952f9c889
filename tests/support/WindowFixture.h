#pragma once

#include "support/MessageRecorder.h"
#include "support/TempSettingsStore.h"

#include "core/document/CDocument.h"
#include "core/document/CElements.h"
#include "core/settings/CRegistry.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/widgets/ModalRunner.h"

#include <fieldpane/CCommonDialogs.h>

#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <memory>

// A real main window over a private settings store, with the bundled catalogue; file dialogs
// and message boxes are answered by the test.
class WindowTest : public TempSettingsStore {
protected:
    using Dialogs = Fieldpane::CCommonDialogs;

    void SetUp() override
    {
        TempSettingsStore::SetUp();
        ASSERT_TRUE(m_files.isValid());
        Dialogs::SetDialogHook([this](const Dialogs::Request &request) {
            m_requests.push_back(request);
            Dialogs::Answer answer;
            if (!m_fileAnswers.empty()) {
                answer.FileName = m_fileAnswers.front();
                m_fileAnswers.pop_front();
                answer.Accepted = !answer.FileName.isEmpty();
            }
            return answer;
        });
        SetModalRunner([](QDialog &) { return 0; });
    }

    void TearDown() override
    {
        m_window.reset();
        Dialogs::SetDialogHook({});
        SetModalRunner({});
        TempSettingsStore::TearDown();
    }

    static bool LoadBundledCatalogue(CElements &catalogue)
    {
        catalogue.LoadFile(QStringLiteral(STEPSMITH_ACTIONS_DAT));
        return catalogue.Count() > 0;
    }

    // Creates and loads the window (a previous one is destroyed without closing).
    frmEdit &open(const QString &commandLine = QString())
    {
        m_window.reset();
        m_window = std::make_unique<frmEdit>();
        m_loaded = m_window->Load(commandLine, &LoadBundledCatalogue);
        return *m_window;
    }

    // Writes a script file with the given body lines; returns its path.
    QString writeScript(const QString &name, const QStringList &bodyLines) const
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        QString text = QStringLiteral("<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
                                      "    <zmlhead>\r\n"
                                      "        <author>A</author>\r\n"
                                      "        <company>C</company>\r\n"
                                      "        <web></web>\r\n"
                                      "        <email></email>\r\n"
                                      "        <version>1.0</version>\r\n"
                                      "        <description>D</description>\r\n"
                                      "    </zmlhead>\r\n"
                                      "    <zmlbody>\r\n");
        for (const QString &line : bodyLines)
            text += QStringLiteral("        ") + line + QStringLiteral("\r\n");
        text += QStringLiteral("    </zmlbody>\r\n</zml>\r\n");
        file.write(text.toUtf8());
        return path;
    }

    // Answers the next file dialog with path ("" cancels it).
    void answerFileDialog(const QString &path) { m_fileAnswers.push_back(path); }

    // Makes the open script changed.
    void makeDirty() { m_window->Document()->SetDirty(true); }

    QTemporaryDir m_files;
    MessageRecorder m_messages;
    std::unique_ptr<frmEdit> m_window;
    bool m_loaded = false;
    std::deque<QString> m_fileAnswers;
    std::vector<Dialogs::Request> m_requests;
};
