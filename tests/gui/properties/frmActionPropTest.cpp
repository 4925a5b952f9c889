#include "gui/properties/frmActionProp.h"
#include "core/document/CElements.h"
#include "core/host/CHTMLHelp.h"
#include "support/MessageRecorder.h"

#include <fieldpane/CListItems.h>
#include <fieldpane/PropertyList.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Fieldpane::CListItem;

namespace {

// An action with one attribute of each kind the dialog distinguishes, and multi-line text.
std::shared_ptr<CElement> addShowAction(CElements &catalogue)
{
    auto e = catalogue.Add(QStringLiteral("msgbox"), QStringLiteral("Message box"), true,
                           QStringLiteral("Message text"), true, true);
    e->Information = QStringLiteral("Shows a message.");
    (void)e->Attributes().Add(QStringLiteral("title"), 1, QStringLiteral("stored title"), {}, true,
                              QStringLiteral("Default title"), QStringLiteral("Title"));
    (void)e->Attributes().Add(QStringLiteral("count"), 5, QStringLiteral("7"), {}, false, 3,
                              QStringLiteral("Count"));
    (void)e->Attributes().Add(QStringLiteral("modal"), 6, QStringLiteral("false"), {}, true, true,
                              QStringLiteral("Modal"));
    (void)e->Attributes().Add(QStringLiteral("icon"), 7, QStringLiteral("b"),
                              QStringLiteral("a|b|c"), false, QStringLiteral("c"),
                              QStringLiteral("Icon"));
    (void)e->Attributes().Add(QStringLiteral("result"), 8, QStringLiteral("x"), {}, false, {},
                              QStringLiteral("Result variable"));
    (void)e->Attributes().Add(QStringLiteral("where"), 9, {}, {}, false, {},
                              QStringLiteral("Range"));
    (void)e->Attributes().Add(QStringLiteral("file"), 3, {}, {}, false, {}, QStringLiteral("File"));
    return e;
}

// Steps of a script that declare variables a, b and the range r.
void addDeclarations(CElements &steps)
{
    const auto declare = [&](const char *key, const char *element, const char *name) {
        auto s = steps.Add(QString::fromLatin1(element));
        (void)s->Attributes().Add(QStringLiteral("name"), 8, QString::fromLatin1(name));
        auto copy = steps.AddCopy(*s, QString::fromLatin1(key));
        steps.Remove(QString::fromLatin1(element).toUpper());
        return copy;
    };
    declare("K1", "var", "a");
    declare("K2", "range", "r");
    declare("K3", "var", "b");
}

class PropDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        addDeclarations(steps);
        step = addShowAction(catalogue);
    }

    void open(bool useDefaults)
    {
        ASSERT_TRUE(dialog.Load(*step, useDefaults));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    Fieldpane::PropertyList *grid() const
    {
        return dialog.findChild<Fieldpane::PropertyList *>(QStringLiteral("props"));
    }
    Fieldpane::CListItems &rows() const { return *grid()->ListItems(); }
    QPushButton *button(const char *name) const
    {
        return dialog.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QCheckBox *enabled() const
    {
        return dialog.findChild<QCheckBox *>(QStringLiteral("chkEnabled"));
    }
    QLineEdit *editBox() const { return grid()->findChild<QLineEdit *>(QStringLiteral("txt")); }

    // Clicks the name cell of a row (1-based) so that its editor opens.
    void clickRow(int row) const
    {
        const int h = grid()->RowHeight();
        const QPoint at =
            grid()->contentsRect().topLeft() +
            QPoint(grid()->NameColumnWidth() / 2, (row - grid()->TopIndex()) * h + h / 2);
        QTest::mouseClick(grid(), Qt::LeftButton, {}, at);
    }

    CElements catalogue;
    CElements steps;
    std::shared_ptr<CElement> step;
    frmActionProp dialog{&steps};
};

} // namespace

TEST_F(PropDialog, RowsFollowTheAttributeTypesWithDefaultValuesForANewStep)
{
    open(true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Properties"));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("lblHeader"))->text(),
              QStringLiteral("Message box"));
    EXPECT_EQ(dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtDescription"))->toPlainText(),
              QStringLiteral("Shows a message."));
    EXPECT_EQ(dialog.findChild<QTabWidget *>(QStringLiteral("tbs"))->tabText(0),
              QStringLiteral("Properties"));
    EXPECT_FALSE(grid()->ButtonForString());

    ASSERT_EQ(rows().Count(), 8);
    struct Expect {
        const char *key;
        const char *name;
        Fieldpane::eValueTypes type;
        QVariant value;
        bool bold;
    };
    const Expect expected[] = {
        {"title", "Title", Fieldpane::hlvString, QStringLiteral("Default title"), true},
        {"count", "Count", Fieldpane::hlvString, QStringLiteral("3"), false},
        {"modal", "Modal", Fieldpane::hlvBoolean, QStringLiteral("true"), true},
        {"icon", "Icon", Fieldpane::hlvArray, QStringLiteral("c"), false},
        {"result", "Result variable", Fieldpane::hlvVariable, QString(), false},
        {"where", "Range", Fieldpane::hlvVariable, QString(), false},
        {"file", "File", Fieldpane::hlvFilePath, QString(), false},
        {"TEXT:", "Message text", Fieldpane::hlvTextArea, QString(), true},
    };
    for (int i = 0; i < 8; ++i) {
        const CListItem row = rows().Item(i + 1);
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(row.Key(), QString::fromLatin1(expected[i].key));
        EXPECT_EQ(row.Name(), QString::fromLatin1(expected[i].name));
        EXPECT_EQ(row.ValueType(), expected[i].type);
        EXPECT_EQ(row.Value().toString(), expected[i].value.toString());
        EXPECT_EQ(row.Bold(), expected[i].bold);
    }
    EXPECT_EQ(rows().Item(QStringLiteral("icon")).ValidValuesList(),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(rows().Item(QStringLiteral("result")).ValidValuesList(),
              QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(rows().Item(QStringLiteral("where")).ValidValuesList(),
              QStringList({QStringLiteral("r")}));
    EXPECT_TRUE(enabled()->isChecked());
}

TEST_F(PropDialog, EditingShowsTheStoredValuesAndSingleLineText)
{
    step->TextAllowMultiLine = false;
    step->Text = QStringLiteral("hello");
    step->Disabled = true;
    open(false);
    EXPECT_EQ(rows().Item(QStringLiteral("title")).Value().toString(),
              QStringLiteral("stored title"));
    EXPECT_EQ(rows().Item(QStringLiteral("count")).Value().toString(), QStringLiteral("7"));
    EXPECT_EQ(rows().Item(QStringLiteral("modal")).Value().toString(), QStringLiteral("false"));
    EXPECT_EQ(rows().Item(QStringLiteral("icon")).Value().toString(), QStringLiteral("b"));
    EXPECT_EQ(rows().Item(QStringLiteral("result")).Value().toString(), QStringLiteral("x"));
    const CListItem text = rows().Item(QStringLiteral("TEXT:"));
    EXPECT_EQ(text.ValueType(), Fieldpane::hlvString);
    EXPECT_EQ(text.Value().toString(), QStringLiteral("hello"));
    EXPECT_FALSE(enabled()->isChecked());
}

TEST_F(PropDialog, NoVariableListWithoutDeclarationsAndNoDialogWithoutRows)
{
    frmActionProp bare(nullptr);
    ASSERT_TRUE(bare.Load(*step, true));
    auto *g = bare.findChild<Fieldpane::PropertyList *>(QStringLiteral("props"));
    EXPECT_TRUE(g->ListItems()->Item(QStringLiteral("result")).ValidValuesList().isEmpty());

    auto beep = catalogue.Add(QStringLiteral("beep"), QStringLiteral("Beep"));
    EXPECT_FALSE(bare.Load(*beep, true));
    // ShowMe returns at once, confirmed, without a modal loop.
    EXPECT_TRUE(bare.ShowMe(*beep, true));
    EXPECT_FALSE(bare.isVisible());
}

TEST_F(PropDialog, RequiredEmptyRowIsReportedAndTheDialogStaysOpen)
{
    open(true);
    rows().Item(QStringLiteral("TEXT:")).setValue(QStringLiteral("body"));
    rows().Item(QStringLiteral("title")).setValue(QString());
    MessageRecorder messages;
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).text, QStringLiteral("\"Title\" requires a value"));
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::None);
    EXPECT_EQ(messages.messages().at(0).buttons, MsgButtons::Ok);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.Accepted());
    EXPECT_EQ(rows().Item(QStringLiteral("TEXT:")).Value().toString(), QStringLiteral("body"));
    EXPECT_FALSE(dialog.Finish());
    EXPECT_EQ(step->Text, QString());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
              QStringLiteral("stored title"));
}

TEST_F(PropDialog, RequiredTextRowIsCheckedAfterTheAttributes)
{
    open(true);
    MessageRecorder messages;
    button("cmdOK")->click();
    // The required boolean always holds a value; the empty text is the one reported.
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("\"Message text\" requires a value")}));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PropDialog, OkWritesValuesTextAndDisabledFlagBack)
{
    open(true);
    rows().Item(QStringLiteral("TEXT:")).setValue(QStringLiteral("line 1\r\nline 2"));
    rows().Item(QStringLiteral("icon")).setValue(QStringLiteral("a"));
    QTest::mouseClick(enabled(), Qt::LeftButton);
    EXPECT_FALSE(enabled()->isChecked());
    MessageRecorder messages;
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Finish());
    EXPECT_EQ(step->Text, QStringLiteral("line 1\r\nline 2"));
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
              QStringLiteral("Default title"));
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("count"))->Value, QStringLiteral("3"));
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("modal"))->Value, QStringLiteral("true"));
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("icon"))->Value, QStringLiteral("a"));
    EXPECT_TRUE(step->Disabled);
}

TEST_F(PropDialog, CancelLeavesTheStepAsItWas)
{
    step->Text = QStringLiteral("kept");
    open(false);
    rows().Item(QStringLiteral("title")).setValue(QStringLiteral("changed"));
    QTest::mouseClick(enabled(), Qt::LeftButton);
    QTest::mouseClick(button("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.Finish());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
              QStringLiteral("stored title"));
    EXPECT_EQ(step->Text, QStringLiteral("kept"));
    EXPECT_FALSE(step->Disabled);
}

TEST_F(PropDialog, EscapeCancels)
{
    open(false);
    rows().Item(QStringLiteral("title")).setValue(QStringLiteral("changed"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.Finish());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
              QStringLiteral("stored title"));
}

TEST_F(PropDialog, ValueTypedInTheGridAndConfirmedDirectlyWithOkIsKept)
{
    step->Text = QStringLiteral("body");
    open(false);
    clickRow(1);
    ASSERT_TRUE(editBox()->isVisible());
    editBox()->selectAll();
    QTest::keyClicks(editBox(), QStringLiteral("typed title"));
    // The edit box still has the focus: OK must take the text from it.
    EXPECT_EQ(rows().Item(QStringLiteral("title")).Value().toString(),
              QStringLiteral("stored title"));
    button("cmdOK")->click();
    EXPECT_TRUE(dialog.Finish());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value,
              QStringLiteral("typed title"));
}

TEST_F(PropDialog, ValueTypedInTheGridAndConfirmedWithTheMouseIsKept)
{
    step->Text = QStringLiteral("body");
    open(false);
    clickRow(2);
    ASSERT_TRUE(editBox()->isVisible());
    editBox()->selectAll();
    QTest::keyClicks(editBox(), QStringLiteral("12"));
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(dialog.Finish());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("count"))->Value, QStringLiteral("12"));
}

TEST_F(PropDialog, HelpShowsTheActionTopicByF1AndReadMore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stepsmith.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><a id=\"index\"></a><h2 id=\"msgbox\">msgbox</h2></body></html>");
    file.close();
    CHTMLHelp help;
    help.setFileName(path);
    QList<QUrl> shown;
    const auto previous = CHTMLHelp::SetViewer([&](const QUrl &url) { shown.append(url); });

    frmActionProp withHelp(&steps, &help);
    ASSERT_TRUE(withHelp.Load(*step, true));
    withHelp.show();
    QApplication::setActiveWindow(&withHelp);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&withHelp));
    MessageRecorder messages;
    QTest::keyClick(withHelp.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::Key_F1);
    auto *readMore = withHelp.findChild<QLabel *>(QStringLiteral("lblHelp"));
    EXPECT_EQ(readMore->text(), QStringLiteral("Read more"));
    QTest::mouseClick(readMore, Qt::LeftButton);
    // From the keyboard: Tab from the check box reaches the link; Enter and Space open it.
    withHelp.findChild<QCheckBox *>(QStringLiteral("chkEnabled"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), readMore);
    QTest::keyClick(readMore, Qt::Key_Return);
    QTest::keyClick(readMore, Qt::Key_Space);
    CHTMLHelp::SetViewer(previous);

    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown.at(0).fragment(), QStringLiteral("msgbox"));
    EXPECT_EQ(shown.at(1), shown.at(0));
    EXPECT_EQ(shown.at(3), shown.at(0));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_TRUE(withHelp.isVisible());
}

TEST_F(PropDialog, MissingHelpFileGivesTheMessage)
{
    CHTMLHelp help; // no file
    frmActionProp noHelp(&steps, &help);
    ASSERT_TRUE(noHelp.Load(*step, true));
    noHelp.show();
    MessageRecorder messages;
    QTest::mouseClick(noHelp.findChild<QLabel *>(QStringLiteral("lblHelp")), Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).text,
              QStringLiteral("Can't find the help file. Make sure it is placed in the application "
                             "directory"));
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(noHelp.isVisible());
}

TEST_F(PropDialog, IconOfTheActionOrTheDefaultIcon)
{
    const auto pixmapOf = [](frmActionProp &d) {
        return d.findChild<QLabel *>(QStringLiteral("imgIcon"))
            ->pixmap()
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    };
    ASSERT_TRUE(dialog.Load(*step, true)); // msgbox has an icon of its own
    const QImage own = pixmapOf(dialog);
    auto unknown = catalogue.Add(QStringLiteral("nosuchaction"), QStringLiteral("Unknown"));
    (void)unknown->Attributes().Add(QStringLiteral("a"), 1);
    ASSERT_TRUE(dialog.Load(*unknown, true));
    const QImage fallback = pixmapOf(dialog);
    EXPECT_FALSE(own.isNull());
    EXPECT_FALSE(fallback.isNull());
    EXPECT_EQ(fallback, QPixmap(QStringLiteral(":/icons/32/Default_Icon.png"))
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32));
    EXPECT_NE(own, fallback);
}

TEST_F(PropDialog, GridFollowsTheDialogSize)
{
    open(true);
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tbs"));
    const QSize before = grid()->size();
    dialog.resize(dialog.width() + 120, dialog.height() + 80);
    QApplication::processEvents();
    EXPECT_EQ(grid()->width(), before.width() + 120);
    EXPECT_EQ(grid()->height(), before.height() + 80);
    EXPECT_EQ(tabs->width() + 2 * tabs->x(), dialog.width());
}

TEST_F(PropDialog, ALongRowNameLeavesAtLeastHalfTheGridToTheValues)
{
    (void)step->Attributes().Add(QStringLiteral("capture"), 6, {}, {}, false, false,
                                 QStringLiteral("Send its output to the output window as well"));
    step->Attributes().Item(QStringLiteral("file"))->Value =
        QStringLiteral("/home/ann/scripts/format.sh");
    open(false);
    const int rowsWidth =
        grid()->findChild<QWidget *>(QStringLiteral("scroll"))->x() - grid()->contentsRect().left();
    EXPECT_LE(grid()->NameColumnWidth(), rowsWidth / 2);
    // At the default size a path of that length shows whole.
    const int valueRoom = rowsWidth - grid()->NameColumnWidth() - grid()->RowHeight();
    EXPECT_GT(valueRoom, grid()->fontMetrics().horizontalAdvance(
                             step->Attributes().Item(QStringLiteral("file"))->Value));
}

TEST_F(PropDialog, OpensOnTheFirstRowsEditorAndCtrlEnterConfirmsFromIt)
{
    step->Text = QStringLiteral("body");
    MessageRecorder messages;
    open(false);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(grid()->SelectedIndex(), 1);
    ASSERT_EQ(QApplication::focusWidget(), editBox());
    EXPECT_TRUE(editBox()->isVisible());
    EXPECT_EQ(editBox()->selectedText(), QStringLiteral("stored title"));
    QTest::keyClicks(editBox(), QStringLiteral("typed"));
    QTest::keyClick(editBox(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Finish());
    EXPECT_EQ(step->Attributes().Item(QStringLiteral("title"))->Value, QStringLiteral("typed"));
}

TEST_F(PropDialog, TypingOnAMultiLineTextRowOpensItsPopUpWithTheTypedText)
{
    step->Text = QStringLiteral("old text");
    open(false);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    grid()->setSelectedIndex(rows().Count());
    ASSERT_EQ(rows().Item(rows().Count()).Key(), QStringLiteral("TEXT:"));
    QTest::keyClick(QApplication::focusWidget(), 'H');
    auto *popup = grid()->findChild<QPlainTextEdit *>(QStringLiteral("txt"));
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_I);
    EXPECT_EQ(popup->toPlainText(), QStringLiteral("Hi"));
}
