#include "core/settings/CommentPlacement.h"
#include "gui/editing/frmComment.h"
#include "gui/editing/frmGoto.h"
#include "support/MessageRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

template <typename T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void showActive(QWidget &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

TEST(CommentDialog, TextsAndOkEnabledOnlyWithText)
{
    frmComment dialog;
    dialog.Load(QString());
    showActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Comment"));
    EXPECT_EQ(child<QLabel>(dialog, "lblHeader")->text(), QStringLiteral("Comment"));
    EXPECT_EQ(child<QLabel>(dialog, "lblInfo")->text(),
              QStringLiteral("Enter the text that you want to use as the comment in the text box "
                             "below. A comment can consist of multiple lines of text."));
    EXPECT_EQ(child<QCheckBox>(dialog, "chkBottom")->text(),
              QStringLiteral("Add to &bottom of the script"));
    auto *ok = child<QPushButton>(dialog, "cmdOK");
    auto *text = child<QPlainTextEdit>(dialog, "txtComment");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(text, QStringLiteral("x"));
    EXPECT_TRUE(ok->isEnabled());
    QTest::keyClick(text, Qt::Key_Backspace);
    EXPECT_FALSE(ok->isEnabled());
}

TEST(CommentDialog, EnterInTheTextAddsALineAndOkReturnsCrLfText)
{
    frmComment dialog;
    dialog.Load(QString());
    showActive(dialog);
    auto *text = child<QPlainTextEdit>(dialog, "txtComment");
    ASSERT_TRUE(text->hasFocus());
    QTest::keyClicks(text, QStringLiteral("first"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Enter);
    QTest::keyClicks(text, QStringLiteral("third"));
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Result(), QStringLiteral("first\r\n\r\nthird"));
    EXPECT_FALSE(dialog.InsertLast());
}

TEST(CommentDialog, EnterElsewhereConfirmsWithTheCheckBox)
{
    frmComment dialog;
    dialog.Load(QStringLiteral("a\r\nb"));
    showActive(dialog);
    auto *check = child<QCheckBox>(dialog, "chkBottom");
    EXPECT_EQ(child<QPlainTextEdit>(dialog, "txtComment")->toPlainText(), QStringLiteral("a\nb"));
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_TRUE(check->isChecked());
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Result(), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(dialog.InsertLast());
}

TEST(CommentDialog, HiddenCheckBoxIsClearedAndCancelReturnsNothing)
{
    frmComment dialog;
    auto *check = child<QCheckBox>(dialog, "chkBottom");
    check->setChecked(true);
    dialog.HideCheckBox(true);
    dialog.Load(QStringLiteral("note"));
    showActive(dialog);
    EXPECT_FALSE(check->isVisible());
    EXPECT_FALSE(check->isChecked());
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.Result(), QStringLiteral("note"));
    EXPECT_FALSE(dialog.InsertLast());

    dialog.HideCheckBox(false);
    dialog.Load(QStringLiteral("note"));
    showActive(dialog);
    EXPECT_TRUE(check->isVisible());
    QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Result().isEmpty());

    dialog.Load(QStringLiteral("note"));
    showActive(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.Result().isEmpty());
}

TEST(CommentDialog, BeforeTheSelectionIsAChoiceThatIsRemembered)
{
    {
        frmComment dialog;
        dialog.Load(QStringLiteral("note"));
        showActive(dialog);
        auto *before = child<QCheckBox>(dialog, "chkBefore");
        EXPECT_FALSE(before->isChecked());
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Space);
        QTest::keyClick(before, Qt::Key_Return);
        EXPECT_TRUE(dialog.InsertBefore());
        EXPECT_FALSE(dialog.InsertLast());
    }
    frmComment again;
    again.Load(QStringLiteral("note"));
    showActive(again);
    EXPECT_TRUE(child<QCheckBox>(again, "chkBefore")->isChecked());
    // The bottom of the script leaves no side to choose.
    child<QCheckBox>(again, "chkBottom")->setChecked(true);
    EXPECT_FALSE(child<QCheckBox>(again, "chkBefore")->isEnabled());
    QTest::mouseClick(child<QPushButton>(again, "cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(again.InsertLast());
    EXPECT_FALSE(again.InsertBefore());
    // Without a selection there is no choice, and nothing is stored.
    frmComment hidden;
    hidden.HideCheckBox(true);
    hidden.Load(QStringLiteral("note"));
    showActive(hidden);
    QTest::mouseClick(child<QPushButton>(hidden, "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(hidden.InsertBefore());
    frmComment last;
    last.Load(QString());
    EXPECT_TRUE(child<QCheckBox>(last, "chkBefore")->isChecked());
    SaveCommentBefore(false);
}

TEST(GotoDialog, NumberIsRoundedAndReturned)
{
    frmGoto dialog;
    dialog.Load();
    showActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Go to step"));
    EXPECT_EQ(child<QLabel>(dialog, "lblLine")->text(), QStringLiteral("&Line number:"));
    auto *ok = child<QPushButton>(dialog, "cmdOK");
    auto *text = child<QLineEdit>(dialog, "txtLine");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(text, QStringLiteral("2.6"));
    EXPECT_TRUE(ok->isEnabled());
    MessageRecorder messages;
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Result(), 3);
}

TEST(GotoDialog, InvalidEntriesGiveTheMessageAndTheDialogStays)
{
    frmGoto dialog;
    dialog.Load();
    showActive(dialog);
    auto *text = child<QLineEdit>(dialog, "txtLine");
    auto *ok = child<QPushButton>(dialog, "cmdOK");
    MessageRecorder messages;
    for (const QString &entry : {QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("abc"),
                                 QStringLiteral("4294967297")}) {
        text->clear();
        QTest::keyClicks(text, entry);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << entry.toStdString();
        ASSERT_FALSE(messages.messages().isEmpty());
        EXPECT_EQ(messages.messages().last().text,
                  entry + QStringLiteral(" is not a valid line number"));
        EXPECT_EQ(messages.messages().last().icon, MsgIcon::Information);
        EXPECT_EQ(messages.messages().last().buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(messages.messages().size(), 4);
    EXPECT_EQ(dialog.Result(), 0);
    QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Result(), 0);
}
