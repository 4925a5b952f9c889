// A whole edit in the program's main window, started as the program starts it (the start-up
// catalogue loader, an empty settings folder): drag, properties, tree click, comment, copy and
// paste, disable, save, reopen from the recent files, save again, run on a substitute host and
// print to PDF. Only the modal dialogs, the file and printer dialogs, the message boxes and the
// platform drag are answered by the test; everything else is real key and mouse events and the
// window's own commands.
#include "support/MessageRecorder.h"
#include "support/PdfText.h"
#include "support/TempSettingsStore.h"

#include "core/document/CDocument.h"
#include "core/document/CElements.h"
#include "core/document/StepRowsModel.h"
#include "core/host/RuntimeFiles.h"
#include "core/settings/CRegistry.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/editing/frmComment.h"
#include "gui/mainwindow/ProgramInfo.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/properties/frmActionProp.h"
#include "gui/steplist/StepListView.h"
#include "gui/widgets/ModalRunner.h"

#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/CListItems.h>
#include <fieldpane/PropertyList.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Dialogs = Fieldpane::CCommonDialogs;

// What the user sees of a row, and what is saved of it.
struct RowView {
    QString text;
    int depth = 0;
    bool disabled = false;
    bool comment = false;
    bool operator==(const RowView &other) const
    {
        return text == other.text && depth == other.depth && disabled == other.disabled &&
               comment == other.comment;
    }
};

void PrintTo(const RowView &row, std::ostream *out)
{
    *out << row.depth << (row.disabled ? " disabled " : " ") << (row.comment ? "comment " : "")
         << row.text.toStdString();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TypicalEditTest : public TempSettingsStore {
protected:
    void SetUp() override
    {
        TempSettingsStore::SetUp();
        ASSERT_TRUE(m_work.isValid());
        ASSERT_TRUE(QDir().mkpath(m_work.filePath(QStringLiteral("my scripts"))));
        ASSERT_TRUE(QDir().mkpath(m_work.filePath(QStringLiteral("host dir"))));
        CPrintCommand::ResetCurrentPrinter();
        CPrintCommand::SetInstalledPrinters([] { return QStringList(); });
        // File dialogs take the next queued path; the printer dialog prints to m_pdf.
        Dialogs::SetDialogHook([this](const Dialogs::Request &request) {
            m_dialogKinds.push_back(request.Kind);
            Dialogs::Answer answer;
            if (request.Kind == Dialogs::DialogKind::Printer) {
                answer.Accepted = !m_pdf.isEmpty();
                answer.OutputFileName = m_pdf;
                answer.Orientation = 1;
                answer.PrintCopies = 1;
            } else if (!m_fileAnswers.empty()) {
                answer.FileName = m_fileAnswers.front();
                m_fileAnswers.pop_front();
                answer.Accepted = !answer.FileName.isEmpty();
            }
            return answer;
        });
        // Each modal dialog is answered by the next queued handler; any other one is a fault.
        SetModalRunner([this](QDialog &dialog) {
            m_modalDialogs.append(dialog.metaObject()->className());
            if (m_modalAnswers.empty()) {
                ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
                return int(QDialog::Rejected);
            }
            auto answer = std::move(m_modalAnswers.front());
            m_modalAnswers.pop_front();
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            const int result = answer(dialog);
            // Closing a modal dialog gives the activation back to the main window.
            dialog.hide();
            if (m_window) {
                QApplication::setActiveWindow(m_window.get());
                EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
            }
            return result;
        });
    }

    void TearDown() override
    {
        m_window.reset();
        ActionTree::SetDragRunner({});
        Dialogs::SetDialogHook({});
        SetModalRunner({});
        CPrintCommand::SetInstalledPrinters({});
        CPrintCommand::ResetCurrentPrinter();
        TempSettingsStore::TearDown();
    }

    // Starts the window as the program does: the start-up catalogue loader over the folder the
    // build puts Actions.dat in, then shown.
    frmEdit &startProgram(const QString &commandLine = QString())
    {
        m_window.reset();
        m_window = std::make_unique<frmEdit>();
        const QString programDir = QFileInfo(QStringLiteral(STEPSMITH_ACTIONS_DAT)).absolutePath();
        const bool loaded = m_window->Load(commandLine, [programDir](CElements &catalogue) {
            return LoadStartupCatalogue(catalogue, programDir, QString());
        });
        EXPECT_TRUE(loaded);
        m_window->resize(900, 600);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        settle();
        return *m_window;
    }

    static void settle()
    {
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(50);
        }
    }

    frmEdit &w() { return *m_window; }
    CDocument &doc() { return *m_window->Document(); }
    QWidget *listViewport() { return m_window->List()->viewport(); }
    QWidget *treeViewport() { return m_window->Tree()->Tree()->viewport(); }
    std::vector<int> selected() { return m_window->Commands()->SelectedRows(); }

    std::vector<RowView> rows()
    {
        std::vector<RowView> result;
        for (int r = 0; r < doc().RowCount(); ++r) {
            const auto step = doc().Step(r);
            result.push_back({doc().Rows()->rowText(r), doc().Rows()->depth(r), step->Disabled,
                              step->IsComment});
        }
        return result;
    }
    QStringList names()
    {
        QStringList result;
        for (int r = 0; r < doc().RowCount(); ++r) {
            const auto step = doc().Step(r);
            result.append(step->IsComment ? QLatin1Char('#') + step->Text : step->ElementName);
        }
        return result;
    }

    QPoint rowCentre(int row)
    {
        return m_window->List()->visualRect(doc().Rows()->index(row, 0)).center();
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(listViewport(), Qt::LeftButton, modifiers, rowCentre(row));
    }
    QPoint nodeCentre(const QString &element)
    {
        QTreeWidgetItem *node = m_window->Tree()->ActionNode(element);
        m_window->Tree()->Tree()->scrollToItem(node);
        return m_window->Tree()->Tree()->visualItemRect(node).center();
    }
    void clickButton(Command command)
    {
        QWidget *button = nullptr;
        for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
            if (QWidget *w = bar->widgetForAction(m_window->button(command)))
                button = w;
        }
        ASSERT_NE(button, nullptr) << static_cast<int>(command);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void triggerMenuItem(Command command)
    {
        QAction *item = m_window->action(command);
        ASSERT_NE(item, nullptr) << static_cast<int>(command);
        ASSERT_TRUE(item->isEnabled()) << static_cast<int>(command);
        item->trigger();
    }

    // Presses the mouse on the tree's node and moves it away; the platform drag that starts is
    // replaced by drag enter, move and drop events carrying the drag's own mime data, sent to
    // the list's viewport at dropAt.
    void dragFromTree(const QString &element, QPoint dropAt)
    {
        ActionTree::SetDragRunner([this, dropAt](QDrag *drag) {
            ++m_drags;
            QMimeData *mime = drag->mimeData();
            QDragEnterEvent enter(dropAt, Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &enter);
            QDragMoveEvent move(dropAt, Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &move);
            QDropEvent drop(QPointF(dropAt), Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &drop);
            EXPECT_TRUE(drop.isAccepted());
        });
        const QPoint from = nodeCentre(element);
        QTest::mousePress(treeViewport(), Qt::LeftButton, {}, from);
        for (const QPoint &to : {from + QPoint(0, 12), from + QPoint(0, 30)}) {
            QMouseEvent moveEvent(QEvent::MouseMove, to, treeViewport()->mapToGlobal(to),
                                  Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(treeViewport(), &moveEvent);
        }
        QTest::mouseRelease(treeViewport(), Qt::LeftButton, {}, from + QPoint(0, 30));
        ActionTree::SetDragRunner({});
    }

    // Grid helpers of the properties dialog.
    static Fieldpane::PropertyList *grid(QDialog &dialog)
    {
        return dialog.findChild<Fieldpane::PropertyList *>(QStringLiteral("props"));
    }
    static void clickGridRow(Fieldpane::PropertyList *grid, const QString &key)
    {
        Fieldpane::CListItems &items = *grid->ListItems();
        const int row = items.IndexOf(items.Item(key));
        const int h = grid->RowHeight();
        QTest::mouseClick(
            grid, Qt::LeftButton, {},
            grid->contentsRect().topLeft() +
                QPoint(grid->NameColumnWidth() / 2, (row - grid->TopIndex()) * h + h / 2));
    }
    // Clicks the row and types text into its edit box, replacing what was there.
    static void typeIntoRow(Fieldpane::PropertyList *grid, const QString &key, const QString &text)
    {
        clickGridRow(grid, key);
        auto *box = grid->findChild<QLineEdit *>(QStringLiteral("txt"));
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isVisible()) << key.toStdString();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    static void clickOk(QDialog &dialog)
    {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    }

    QTemporaryDir m_work;
    MessageRecorder m_messages;
    std::unique_ptr<frmEdit> m_window;
    std::deque<QString> m_fileAnswers;
    std::vector<Dialogs::DialogKind> m_dialogKinds;
    std::deque<std::function<int(QDialog &)>> m_modalAnswers;
    QStringList m_modalDialogs;
    QString m_pdf;
    int m_drags = 0;
};

} // namespace

TEST_F(TypicalEditTest, FromAnEmptySettingsFolderToTheSavedRunAndPrintedScript)
{
    ASSERT_TRUE(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    startProgram();
    ASSERT_EQ(doc().RowCount(), 0);
    EXPECT_FALSE(w().Dirty());
    EXPECT_TRUE(w().FileName().isEmpty());
    EXPECT_GT(doc().Catalogue().Count(), 20);

    // 1. A message box dragged from the tree; its properties typed into the grid.
    m_modalAnswers.push_back([](QDialog &dialog) {
        EXPECT_NE(qobject_cast<frmActionProp *>(&dialog), nullptr);
        EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("lblHeader"))->text(),
                  QStringLiteral("Message box"));
        Fieldpane::PropertyList *props = grid(dialog);
        EXPECT_EQ(props->ListItems()->Item(QStringLiteral("title")).Value().toString(),
                  QStringLiteral("Tessaro"));
        // The message through the text pop-up: two lines.
        clickGridRow(props, QStringLiteral("TEXT:"));
        QTest::keyClick(props->findChild<QLineEdit *>(QStringLiteral("txt")), Qt::Key_F4);
        // The pop-up is the application's open pop-up window.
        QWidget *opened = QApplication::activePopupWidget();
        auto *popupText = opened ? opened->findChild<QPlainTextEdit *>() : nullptr;
        EXPECT_NE(popupText, nullptr);
        if (popupText != nullptr) {
            QTest::keyClicks(popupText, QStringLiteral("Shall we <go> & start?"));
            QTest::keyClick(popupText, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(popupText, QStringLiteral("Answer, please."));
            QTest::keyClick(popupText, Qt::Key_Return);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        typeIntoRow(props, QStringLiteral("title"), QStringLiteral("Greeting"));
        typeIntoRow(props, QStringLiteral("result"), QStringLiteral("answer"));
        clickOk(dialog);
        return dialog.result();
    });
    dragFromTree(QStringLiteral("msgbox"), QPoint(40, 40));
    EXPECT_EQ(m_drags, 1);
    ASSERT_EQ(names(), QStringList({"msgbox"}));
    {
        const auto step = doc().Step(0);
        EXPECT_EQ(step->Text, QStringLiteral("Shall we <go> & start?\r\nAnswer, please."));
        EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
                  QStringLiteral("Greeting"));
        EXPECT_EQ(step->Attributes().Item(QStringLiteral("result"))->Value,
                  QStringLiteral("answer"));
        EXPECT_EQ(step->Attributes().Item(QStringLiteral("buttons"))->Value, QStringLiteral("OK"));
    }
    EXPECT_TRUE(w().Dirty());
    EXPECT_EQ(selected(), std::vector<int>({0}));

    // 2. An if block from a click on the tree: OK with the required variable empty is refused
    // with a message, then the values are typed; the End If comes with it.
    m_modalAnswers.push_back([this](QDialog &dialog) {
        Fieldpane::PropertyList *props = grid(dialog);
        clickOk(dialog);
        EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
        EXPECT_EQ(m_messages.texts(), QStringList({"\"Variable\" requires a value"}));
        typeIntoRow(props, QStringLiteral("var"), QStringLiteral("answer"));
        typeIntoRow(props, QStringLiteral("value"), QStringLiteral("OK"));
        clickOk(dialog);
        return dialog.result();
    });
    QTest::mouseClick(treeViewport(), Qt::LeftButton, {}, nodeCentre(QStringLiteral("if")));
    ASSERT_EQ(names(), QStringList({"msgbox", "if", "endif"}));
    EXPECT_EQ(doc().Rows()->rowText(1),
              QStringLiteral("<if var=\"answer\" operator=\"=\" value=\"OK\" />"));
    EXPECT_EQ(selected(), std::vector<int>({1}));
    EXPECT_TRUE(w().List()->hasFocus());

    // 3. A two-line comment at the bottom, from the toolbar button and the comment dialog.
    m_modalAnswers.push_back([](QDialog &dialog) {
        EXPECT_NE(qobject_cast<frmComment *>(&dialog), nullptr);
        auto *box = dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtComment"));
        auto *bottom = dialog.findChild<QCheckBox *>(QStringLiteral("chkBottom"));
        EXPECT_TRUE(bottom->isVisible()); // a row is selected: the choice is offered
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("Ask first,"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("then decide"));
        QTest::mouseClick(bottom, Qt::LeftButton);
        EXPECT_TRUE(bottom->isChecked());
        clickOk(dialog);
        return dialog.result();
    });
    clickButton(Command::EditComment);
    ASSERT_EQ(names(), QStringList({"msgbox", "if", "endif", "#Ask first,\r\nthen decide"}));
    EXPECT_EQ(selected(), std::vector<int>({3}));

    // 4. The if block copied with Ctrl+C and pasted with the Edit menu before the comment.
    clickRow(1);
    clickRow(2, Qt::ShiftModifier);
    ASSERT_EQ(selected(), std::vector<int>({1, 2}));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(w().List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<if var=\"answer\" operator=\"=\" value=\"OK\" >\r\n</if>\r\n"));
    settle();
    clickRow(3);
    triggerMenuItem(Command::EditPaste);
    ASSERT_EQ(names(),
              QStringList({"msgbox", "if", "endif", "if", "endif", "#Ask first,\r\nthen decide"}));
    EXPECT_EQ(doc().Rows()->rowText(3), doc().Rows()->rowText(1));
    EXPECT_EQ(selected(), std::vector<int>({4}));
    EXPECT_TRUE(w().Tree()->Tree()->hasFocus());

    // 5. The message box disabled from the Edit menu.
    clickRow(0);
    triggerMenuItem(Command::EditDisable);
    EXPECT_TRUE(doc().Step(0)->Disabled);
    EXPECT_TRUE(doc().Rows()->rowText(0).startsWith(QStringLiteral("<!-- <msgbox ")));
    EXPECT_TRUE(w().action(Command::EditEnable)->isEnabled());

    // 6. Ctrl+S asks for the name (a folder and a file name with blanks) and saves.
    const QString path = m_work.filePath(QStringLiteral("my scripts/greeting edit.zml"));
    m_fileAnswers.push_back(path);
    QTest::keyClick(w().List(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(m_dialogKinds, std::vector<Dialogs::DialogKind>({Dialogs::DialogKind::Save}));
    EXPECT_EQ(w().FileName(), path);
    EXPECT_FALSE(w().Dirty());
    EXPECT_TRUE(w().windowTitle().contains(QStringLiteral("greeting edit.zml")));
    const QByteArray saved = readBytes(path);
    EXPECT_EQ(saved.toStdString(),
              "<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
              "    <zmlhead>\r\n"
              "        <author></author>\r\n"
              "        <company></company>\r\n"
              "        <web></web>\r\n"
              "        <email></email>\r\n"
              "        <version>1.0</version>\r\n"
              "        <description></description>\r\n"
              "    </zmlhead>\r\n"
              "    <zmlbody>\r\n"
              "        <!-- <msgbox title=\"Greeting\" buttons=\"OK\" icon=\"None\" "
              "result=\"answer\">Shall we &lt;go&gt; &amp; start?&#10;Answer, please.</msgbox> "
              "-->\r\n"
              "        <if var=\"answer\" operator=\"=\" value=\"OK\">\r\n"
              "        </if>\r\n"
              "        <if var=\"answer\" operator=\"=\" value=\"OK\">\r\n"
              "        </if>\r\n"
              "    <!--\r\n"
              "Ask first,\r\n"
              "then decide\r\n"
              "-->\r\n"
              "    </zmlbody>\r\n"
              "</zml>\r\n");
    const std::vector<RowView> before = rows();

    // 7. Closing asks nothing (nothing is unsaved) and writes the settings, the recent file
    // among them.
    EXPECT_TRUE(w().close());
    EXPECT_FALSE(w().isVisible());
    m_window.reset();
    EXPECT_TRUE(readUserFile().contains("greeting edit.zml"));

    // 8. A fresh window opens the script from the recent files of the File menu.
    startProgram();
    EXPECT_EQ(doc().RowCount(), 0);
    QAction *recent = nullptr;
    for (QAction *item : w().menu(QStringLiteral("mnuFile"))->actions()) {
        if (item->statusTip() == QDir::toNativeSeparators(path))
            recent = item;
    }
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    settle();
    EXPECT_EQ(w().FileName(), path);
    EXPECT_FALSE(w().Dirty());
    EXPECT_EQ(rows(), before);

    // 9. Save As writes the same bytes.
    const QString second = m_work.filePath(QStringLiteral("my scripts/second.zml"));
    m_fileAnswers.push_back(second);
    triggerMenuItem(Command::FileSaveAs);
    EXPECT_EQ(m_dialogKinds.back(), Dialogs::DialogKind::Save);
    EXPECT_EQ(w().FileName(), second);
    EXPECT_EQ(readBytes(second), saved);

    // 10. Run hands the saved file, as one argument, to the host found through its settings.
    const QString hostDir = m_work.filePath(QStringLiteral("host dir"));
    const QString argsFile = m_work.filePath(QStringLiteral("args.txt"));
    {
        CRegistry reg;
        reg.SectionKey = QStringLiteral("Software\\Tessaro\\Paths");
        reg.ValueKey = QStringLiteral("AppPath");
        reg.ValueType = 1;
        reg.setValue(hostDir);
        QFile host(QDir(hostDir).filePath(QStringLiteral("tessapp")));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly));
        host.write(
            QStringLiteral("#!/bin/sh\n"
                           "printf '%d\\n' \"$#\" > '%1.part'\n"
                           "for arg in \"$@\"; do printf '%s\\n' \"$arg\"; done >> '%1.part'\n"
                           "mv '%1.part' '%1'\n")
                .arg(argsFile)
                .toUtf8());
        host.close();
        ASSERT_TRUE(host.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    clickButton(Command::FileRun);
    for (int waited = 0; !QFileInfo::exists(argsFile) && waited < 10000; waited += 50)
        QTest::qWait(50);
    EXPECT_EQ(QString::fromUtf8(readBytes(argsFile)),
              QStringLiteral("1\n-addin:") + second + QLatin1Char('\n'));

    // 11. Print to a PDF file through the printer dialog: the saved text, with the file's name.
    m_pdf = m_work.filePath(QStringLiteral("printed script.pdf"));
    triggerMenuItem(Command::FilePrint);
    EXPECT_EQ(m_dialogKinds.back(), Dialogs::DialogKind::Printer);
    ASSERT_TRUE(QFileInfo(m_pdf).size() > 0);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        ADD_FAILURE() << "pdftotext (poppler-utils) is not installed";
    } else {
        const QString text = PdfText(m_pdf);
        for (const char *expected :
             {"<zml version=\"1.0\" edition=\"Tessaro\">", "<!-- <msgbox title=\"Greeting\"",
              "<if var=\"answer\" operator=\"=\" value=\"OK\">", "</if>", "Ask first,",
              "then decide", "</zml>", "second.zml"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }

    // Nothing else was asked.
    EXPECT_TRUE(w().close());
    EXPECT_EQ(m_messages.texts(), QStringList({"\"Variable\" requires a value"}));
    EXPECT_EQ(m_modalDialogs, QStringList({"frmActionProp", "frmActionProp", "frmComment"}));
    EXPECT_TRUE(m_modalAnswers.empty());
    EXPECT_EQ(m_dialogKinds.size(), 3U);
}
