#include "core/printing/CPrinter.h"
#include "core/printing/PageUnits.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/printing/frmPageSetup.h"
#include "support/MessageRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QLineEdit *Field(frmPageSetup &dialog, const char *name)
{
    auto *field = dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
    EXPECT_NE(field, nullptr) << name;
    return field;
}

void ChooseUnit(frmPageSetup &dialog, const QString &caption)
{
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("cmbScaleMode"));
    combo->setCurrentIndex(combo->findText(caption));
}

class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale &locale) : m_previous(QLocale())
    {
        QLocale::setDefault(locale);
    }
    ~DefaultLocale() { QLocale::setDefault(m_previous); }
    DefaultLocale(const DefaultLocale &) = delete;
    DefaultLocale &operator=(const DefaultLocale &) = delete;

private:
    QLocale m_previous;
};

} // namespace

TEST(PageUnitsTest, ConversionRoundingAndText)
{
    EXPECT_DOUBLE_EQ(PageUnits::Round(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(PageUnits::Round(0.135, 2), 0.14);
    EXPECT_DOUBLE_EQ(PageUnits::Round(2.5, 0), 2);
    EXPECT_DOUBLE_EQ(PageUnits::Convert(1, 5, 6, 15), 25.4);
    EXPECT_DOUBLE_EQ(PageUnits::Convert(2.54, 7, 5, 15), 1);
    EXPECT_DOUBLE_EQ(PageUnits::Convert(96, 3, 5, 15), 1);
    EXPECT_EQ(PageUnits::Format(1234.5, 6, QLocale(QLocale::German)), "1234,5");
    EXPECT_EQ(PageUnits::Format(48, 3, QLocale::c()), "48");
    double value = 0;
    EXPECT_TRUE(PageUnits::Parse(QStringLiteral("1,5"), &value, QLocale(QLocale::German)));
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_FALSE(PageUnits::Parse(QString(), &value, QLocale::c()));
    EXPECT_FALSE(PageUnits::Parse(QStringLiteral("abc"), &value, QLocale::c()));
}

TEST(PageSetupDialog, ShowsTheSettingsAndOkKeepsThem)
{
    DefaultLocale c(QLocale::c());
    CPrinter printer;
    frmPageSetup dialog(printer);
    EXPECT_EQ(dialog.windowTitle(), "Page Setup");
    EXPECT_EQ(Field(dialog, "txtMargin0")->text(), "77");
    EXPECT_EQ(Field(dialog, "txtMargin2")->text(), "48");
    EXPECT_EQ(Field(dialog, "txtHeadFoot1")->text(), "38");
    EXPECT_EQ(Field(dialog, "txtHeader")->text(), "$L$f$R$d");
    EXPECT_EQ(dialog.findChild<QComboBox *>(QStringLiteral("cmbScaleMode"))->currentText(),
              "Pixels");
    EXPECT_EQ(dialog.findChild<QComboBox *>(QStringLiteral("cmbFontName"))->currentText(),
              "Courier New");
    auto *sizes = dialog.findChild<QComboBox *>(QStringLiteral("cmbFontSize"));
    EXPECT_EQ(sizes->count(), 15);
    EXPECT_EQ(sizes->itemText(5), "14");
    EXPECT_EQ(sizes->itemText(14), "72");

    printer.SetMarginLeft(10); // changed behind the dialog: OK writes the fields back
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 48);
    EXPECT_FLOAT_EQ(printer.MarginTop(), 77);
    EXPECT_EQ(printer.ScaleMode(), 3);
}

TEST(PageSetupDialog, InchMarginsShowRoundedAndOkStoresTheShownValue)
{
    DefaultLocale c(QLocale::c());
    CPrinter printer;
    printer.SetScaleMode(5);
    printer.SetMarginLeft(0.125f);
    printer.SetMarginRight(0.5f);
    printer.SetMarginTop(1);
    printer.SetMarginBottom(1);
    printer.SetMarginHeader(0.4f);
    printer.SetMarginFooter(0.4f);
    frmPageSetup dialog(printer);
    EXPECT_EQ(Field(dialog, "txtMargin2")->text(), "0.12");
    dialog.accept();
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 0.12f);
    EXPECT_EQ(printer.ScaleMode(), 5);
}

TEST(PageSetupDialog, UnitChangesConvertWithRoundingEachTime)
{
    DefaultLocale c(QLocale::c());
    ASSERT_DOUBLE_EQ(frmPageSetup::TwipsPerPixelX(), 15); // 96 pixels an inch offscreen
    CPrinter printer;
    printer.SetMarginLeft(50);
    printer.SetMarginRight(1);
    printer.SetMarginTop(96);
    frmPageSetup dialog(printer);
    ChooseUnit(dialog, QStringLiteral("Inches"));
    EXPECT_EQ(dialog.ShownScaleMode(), 5);
    EXPECT_EQ(Field(dialog, "txtMargin2")->text(), "0.52");
    EXPECT_EQ(Field(dialog, "txtMargin3")->text(), "0.01");
    EXPECT_EQ(Field(dialog, "txtMargin0")->text(), "1.00");
    ChooseUnit(dialog, QStringLiteral("Millimeters"));
    EXPECT_EQ(Field(dialog, "txtMargin0")->text(), "25.4");
    ChooseUnit(dialog, QStringLiteral("Centimeters"));
    EXPECT_EQ(Field(dialog, "txtMargin0")->text(), "2.54");
    ChooseUnit(dialog, QStringLiteral("Inches"));
    ChooseUnit(dialog, QStringLiteral("Pixels"));
    EXPECT_EQ(Field(dialog, "txtMargin2")->text(), "50");
    EXPECT_EQ(Field(dialog, "txtMargin3")->text(), "1");
    EXPECT_EQ(Field(dialog, "txtMargin0")->text(), "96");

    // Cancel leaves the settings as they were.
    ChooseUnit(dialog, QStringLiteral("Inches"));
    dialog.reject();
    EXPECT_EQ(printer.ScaleMode(), 3);
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 50);
}

TEST(PageSetupDialog, NumericFieldsTakeDigitsAndOneLocaleSeparator)
{
    DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    CPrinter printer;
    frmPageSetup dialog(printer);
    dialog.show();
    QLineEdit *field = Field(dialog, "txtMargin2");
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("a-1x.5.,2"));
    EXPECT_EQ(field->text(), "1,52");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClicks(field, QStringLiteral("9"));
    EXPECT_EQ(field->text(), "1,95");
    dialog.accept();
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 1.95f);
}

TEST(PageSetupDialog, MacroMenuInsertsAtTheCaret)
{
    CPrinter printer;
    frmPageSetup dialog(printer);
    dialog.show();
    QLineEdit *header = Field(dialog, "txtHeader");
    header->setCursorPosition(0);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdMenu0")), Qt::LeftButton);
    auto *menu = dialog.findChild<QMenu *>(QStringLiteral("mnuPop"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 13);
    EXPECT_TRUE(items.at(4)->isSeparator());
    EXPECT_TRUE(items.at(9)->isSeparator());
    EXPECT_EQ(items.at(12)->text(), "Align Right ($R)");
    items.at(12)->trigger();
    menu->hide();
    EXPECT_EQ(header->text(), "$R$L$f$R$d");

    // The footer button targets the footer; a selection is replaced.
    QLineEdit *footer = Field(dialog, "txtFooter");
    footer->setSelection(2, 5); // "Page:"
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdMenu1")), Qt::LeftButton);
    items.at(3)->trigger(); // Page Count ($P)
    menu->hide();
    EXPECT_EQ(footer->text(), "$C$P $p");
    EXPECT_EQ(header->text(), "$R$L$f$R$d");
}

TEST(PageSetupDialog, EmptyOrNonNumericInputIsRefusedAtOk)
{
    DefaultLocale c(QLocale::c());
    MessageRecorder messages;
    CPrinter printer;
    frmPageSetup dialog(printer);
    dialog.show();
    Field(dialog, "txtMargin1")->clear();
    Field(dialog, "txtHeader")->setText(QStringLiteral("changed"));
    dialog.accept();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts().at(0), "Please enter a number of 0 or more in the field 'Bottom'.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(printer.HeaderText(), "$L$f$R$d");

    Field(dialog, "txtMargin1")->setText(QStringLiteral("120"));
    Field(dialog, "txtHeadFoot0")->setText(QStringLiteral("1.2.3")); // pasted
    dialog.accept();
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(dialog.isVisible());

    Field(dialog, "txtHeadFoot0")->setText(QStringLiteral("3"));
    dialog.findChild<QComboBox *>(QStringLiteral("cmbFontSize"))
        ->setCurrentText(QStringLiteral("big"));
    dialog.accept();
    EXPECT_EQ(messages.texts().size(), 3);
    EXPECT_TRUE(dialog.isVisible());

    dialog.findChild<QComboBox *>(QStringLiteral("cmbFontSize"))
        ->setCurrentText(QStringLiteral("14"));
    dialog.findChild<QCheckBox *>(QStringLiteral("chkLineNumbers"))->setChecked(true);
    dialog.accept();
    EXPECT_EQ(messages.texts().size(), 3);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FLOAT_EQ(printer.MarginBottom(), 120);
    EXPECT_FLOAT_EQ(printer.MarginHeader(), 3);
    EXPECT_EQ(printer.FontSize(), 14);
    EXPECT_TRUE(printer.LineNumbers());
    EXPECT_EQ(printer.HeaderText(), "changed");
}

TEST(PageSetupDialog, MarginsThatLeaveNoRoomForTextAreRefusedByName)
{
    DefaultLocale cLocale(QLocale::c());
    CPrintCommand::SetInstalledPrinters([] { return QStringList(); }); // a PDF page
    MessageRecorder messages;
    const QString vertical = QStringLiteral("The margins leave less than one line of text between "
                                            "the header and the footer. Please change the value "
                                            "in the field '%1'.");
    const QString across = QStringLiteral("The margins leave no room for text between the left "
                                          "and the right margin. Please change the value in the "
                                          "field '%1'.");
    struct Case {
        const char *unit;
        const char *field;
        const char *value;
        QString message;
        const char *named;
    };
    const Case cases[] = {
        {"Inches", "txtMargin1", "50", vertical.arg("Bottom"), "txtMargin1"},
        {"Pixels", "txtMargin0", "2000", vertical.arg("Top"), "txtMargin0"},
        {"Pixels", "txtMargin1", "40", vertical.arg("Bottom"), "txtMargin1"}, // over the footer
        {"Pixels", "txtHeadFoot0", "70", vertical.arg("Top"), "txtMargin0"},  // under the header
        {"Pixels", "txtHeadFoot1", "300", vertical.arg("Footer"), "txtHeadFoot1"},
        {"Pixels", "txtMargin2", "800", across.arg("Left"), "txtMargin2"},
        {"Millimeters", "txtMargin3", "300", across.arg("Right"), "txtMargin3"},
    };
    for (const Case &c : cases) {
        CPrinter printer;
        frmPageSetup dialog(printer);
        dialog.show();
        ChooseUnit(dialog, QString::fromLatin1(c.unit));
        Field(dialog, c.field)->setText(QString::fromLatin1(c.value));
        messages.clear();
        dialog.accept();
        EXPECT_EQ(messages.texts(), QStringList{c.message}) << c.field << " " << c.value;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), Field(dialog, c.named)) << c.field;
        EXPECT_FLOAT_EQ(printer.MarginBottom(), 77); // unchanged
        EXPECT_EQ(printer.ScaleMode(), 3);
    }

    // Without a footer the text may run down to the footer's place.
    CPrinter printer;
    frmPageSetup dialog(printer);
    Field(dialog, "txtFooter")->clear();
    Field(dialog, "txtMargin1")->setText(QStringLiteral("0"));
    messages.clear();
    dialog.accept();
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_FLOAT_EQ(printer.MarginBottom(), 0);
    CPrintCommand::SetInstalledPrinters({});
}

TEST(PageSetupDialog, EnteringANumericFieldSelectsItsText)
{
    DefaultLocale c(QLocale::c());
    CPrinter printer;
    frmPageSetup dialog(printer);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *field = Field(dialog, "txtMargin3");
    field->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([field] { return field->selectedText() == "48"; }, 2000));
    // Typing replaces the whole value.
    QTest::keyClicks(field, QStringLiteral("7"));
    EXPECT_EQ(field->text(), "7");
}
