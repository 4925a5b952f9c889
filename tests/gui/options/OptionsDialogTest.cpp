#include "core/settings/ColorPalette.h"
#include "gui/options/frmOptions.h"
#include "gui/widgets/ColorDD.h"
#include "gui/widgets/ModalRunner.h"
#include "gui/widgets/frmColorPopUp.h"

#include <fieldpane/EzButton.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QStringList Fonts{"Verdana", "Courier New",  "Arial Black", "arial",
                        "Courier", "Arial Narrow", "DejaVu Sans"};

struct Dialog {
    explicit Dialog(SharedSettings &settings, const QStringList &fonts = Fonts)
        : dialog(settings, fonts)
    {
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
    }
    template <typename T> T *get(const char *name)
    {
        return dialog.findChild<T *>(QString::fromLatin1(name));
    }
    QComboBox *combo(const char *name) { return get<QComboBox>(name); }

    frmOptions dialog;
};

bool operator==(const SharedSettings &a, const SharedSettings &b)
{
    return a.FontName == b.FontName && a.FontSize == b.FontSize && a.FontNameZML == b.FontNameZML &&
           a.FontSizeZML == b.FontSizeZML && a.CommentColor == b.CommentColor;
}

// Answers RunModal with `runner` while it lives.
class RunnerScope final {
public:
    explicit RunnerScope(ModalRunner runner) : m_previous(SetModalRunner(std::move(runner))) {}
    ~RunnerScope() { SetModalRunner(std::move(m_previous)); }
    RunnerScope(const RunnerScope &) = delete;
    RunnerScope &operator=(const RunnerScope &) = delete;

private:
    ModalRunner m_previous;
};

} // namespace

TEST(OptionsDialog, ControlsCaptionsAndLists)
{
    SharedSettings settings;
    Dialog d(settings);
    EXPECT_EQ(d.dialog.windowTitle(), "Options");
    QStringList groups;
    for (const QGroupBox *box : d.dialog.findChildren<QGroupBox *>())
        groups << box->title();
    EXPECT_EQ(groups, QStringList({"Visual mode settings", "Source mode settings"}));
    QStringList labels;
    for (const QLabel *label :
         d.dialog.findChildren<QLabel *>(QString(), Qt::FindChildrenRecursively))
        if (label->buddy())
            labels << label->text();
    EXPECT_EQ(labels, QStringList({"&Font name:", "Font &size:", "&Comment color:", "Font &name:",
                                   "Font si&ze:"}));
    EXPECT_EQ(d.get<QPushButton>("cmdOK")->text(), "OK");
    EXPECT_EQ(d.get<QPushButton>("cmdCancel")->text(), "Cancel");
    ASSERT_TRUE(d.get<ColorDD>("cddComment"));

    for (const char *name : {"odlFontVisual", "odlFontSource"}) {
        QComboBox *list = d.combo(name);
        ASSERT_TRUE(list) << name;
        ASSERT_EQ(list->count(), Fonts.size());
        // Sorted without regard to case; each name in its own face.
        EXPECT_EQ(list->itemText(0), "arial");
        EXPECT_EQ(list->itemText(1), "Arial Black");
        EXPECT_EQ(list->itemText(6), "Verdana");
        for (int i = 0; i < list->count(); ++i) {
            const QFont face = list->itemData(i, Qt::FontRole).value<QFont>();
            EXPECT_EQ(face.family(), list->itemText(i));
        }
    }
    for (const char *name : {"cmbVisualFontSize", "cmbSourceFontSize"}) {
        QComboBox *sizes = d.combo(name);
        ASSERT_TRUE(sizes) << name;
        QStringList texts;
        for (int i = 0; i < sizes->count(); ++i)
            texts << sizes->itemText(i);
        EXPECT_EQ(texts, QStringList({"8", "9", "10", "11", "12", "14", "16", "18", "20"}));
    }
}

TEST(OptionsDialog, InstalledFontsAreOffered)
{
    SharedSettings settings;
    frmOptions dialog(settings);
    const QComboBox *list = dialog.findChild<QComboBox *>(QStringLiteral("odlFontVisual"));
    QStringList expected;
    for (const QString &family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            expected << family;
    EXPECT_EQ(list->count(), expected.size());
    for (int i = 0; i < list->count(); ++i)
        EXPECT_TRUE(expected.contains(list->itemText(i))) << list->itemText(i).toStdString();
}

TEST(OptionsDialog, LoadsByPrefixWithoutRegardToCase)
{
    SharedSettings settings;
    settings.FontName = "ARIAL";
    settings.FontNameZML = "courier";
    settings.FontSize = 12;
    settings.FontSizeZML = 20;
    settings.CommentColor = 0x8000000Fu;
    Dialog d(settings);
    EXPECT_EQ(d.combo("odlFontVisual")->currentText(), "arial");
    EXPECT_EQ(d.combo("odlFontSource")->currentText(), "Courier");
    EXPECT_EQ(d.combo("cmbVisualFontSize")->currentText(), "12");
    EXPECT_EQ(d.combo("cmbSourceFontSize")->currentText(), "20");
    EXPECT_EQ(d.get<ColorDD>("cddComment")->Color(), 0x8000000Fu);
    EXPECT_EQ(d.get<ColorDD>("cddComment")->ColorText(), "3D Face");

    // A partial name opens on the first entry it begins.
    SharedSettings partial;
    partial.FontName = "arial n";
    partial.FontNameZML = "Helvetica";
    Dialog p(partial);
    EXPECT_EQ(p.combo("odlFontVisual")->currentText(), "Arial Narrow");
    EXPECT_EQ(p.combo("odlFontSource")->currentIndex(), -1);
    EXPECT_EQ(p.combo("odlFontSource")->currentText(), QString());
    EXPECT_EQ(p.combo("odlFontSource")->placeholderText(), "Helvetica");
}

TEST(OptionsDialog, SizeMissingFromTheListIsKept)
{
    SharedSettings settings;
    settings.FontSize = 13;
    settings.FontSizeZML = 7;
    Dialog d(settings);
    EXPECT_EQ(d.combo("cmbVisualFontSize")->currentIndex(), -1);
    EXPECT_EQ(d.combo("cmbVisualFontSize")->currentText(), QString());
    EXPECT_EQ(d.combo("cmbVisualFontSize")->placeholderText(), "13");
    EXPECT_EQ(d.combo("cmbSourceFontSize")->currentIndex(), -1);
    QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.FontSize, 13);
    EXPECT_EQ(settings.FontSizeZML, 7);
}

TEST(OptionsDialog, FontMissingFromTheListIsKept)
{
    SharedSettings settings;
    settings.FontName = "Helvetica";
    settings.FontNameZML = "Monaco";
    Dialog d(settings);
    QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(settings.FontName, "Helvetica");
    EXPECT_EQ(settings.FontNameZML, "Monaco");
}

TEST(OptionsDialog, OkWithoutChangesStoresTheSameValues)
{
    SharedSettings settings;
    settings.FontName = "Verdana";
    settings.FontNameZML = "Courier New";
    settings.FontSize = 9;
    settings.FontSizeZML = 11;
    settings.CommentColor = 0x123456;
    const SharedSettings before = settings;
    Dialog d(settings);
    QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(d.dialog.isVisible());
    EXPECT_TRUE(settings == before);
}

TEST(OptionsDialog, OkStoresEveryChangedField)
{
    SharedSettings settings;
    settings.FontName = "Verdana";
    settings.FontNameZML = "Courier New";
    settings.FontSize = 9;
    settings.FontSizeZML = 11;
    settings.CommentColor = 0x008000;
    Dialog d(settings);

    // Keyboard on the closed lists moves their current entry.
    QTest::keyClick(d.combo("odlFontVisual"), Qt::Key_Up);
    QTest::keyClick(d.combo("odlFontSource"), Qt::Key_Down);
    QTest::keyClick(d.combo("cmbVisualFontSize"), Qt::Key_Down);
    QTest::keyClick(d.combo("cmbSourceFontSize"), Qt::Key_Up);
    // The colour through the picker's palette.
    auto *colour = d.get<ColorDD>("cddComment");
    QTest::mouseClick(colour->findChild<Fieldpane::EzButton *>(QStringLiteral("btnDD")),
                      Qt::LeftButton);
    ASSERT_TRUE(colour->frm());
    QTest::mouseClick(colour->frm()->findChild<QWidget *>(QStringLiteral("picColorPicker")),
                      Qt::LeftButton, {}, ColorPalette::SwatchRect({6, 2}).center().toPoint());
    EXPECT_EQ(colour->Color(), 0xFF0000u);

    QTest::mouseClick(d.get<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(settings.FontName, "DejaVu Sans");
    EXPECT_EQ(settings.FontNameZML, "DejaVu Sans");
    EXPECT_EQ(settings.FontSize, 10);
    EXPECT_EQ(settings.FontSizeZML, 10);
    EXPECT_EQ(settings.CommentColor, 0xFF0000u);
}

TEST(OptionsDialog, CancelAndEscapeKeepEverything)
{
    SharedSettings settings;
    settings.FontName = "Verdana";
    settings.CommentColor = 0x80000011u;
    const SharedSettings before = settings;
    for (const bool escape : {false, true}) {
        Dialog d(settings);
        QTest::keyClick(d.combo("odlFontVisual"), Qt::Key_Home);
        QTest::keyClick(d.combo("odlFontSource"), Qt::Key_End);
        QTest::keyClick(d.combo("cmbVisualFontSize"), Qt::Key_End);
        QTest::keyClick(d.combo("cmbSourceFontSize"), Qt::Key_Home);
        d.get<ColorDD>("cddComment")->setColor(0x0000FF);
        if (escape)
            QTest::keyClick(&d.dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(d.get<QPushButton>("cmdCancel"), Qt::LeftButton);
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(d.dialog.isVisible());
        EXPECT_TRUE(settings == before) << escape;
    }
}

TEST(OptionsDialog, EscapeInTheOpenPickerDoesNotCloseTheDialog)
{
    SharedSettings settings;
    settings.CommentColor = 0x123456;
    Dialog d(settings);
    auto *colour = d.get<ColorDD>("cddComment");
    colour->setFocus();
    QTest::keyClick(colour, Qt::Key_F4);
    ASSERT_TRUE(colour->frm());
    QTest::keyClick(colour->frm()->findChild<QWidget *>(QStringLiteral("picColorPicker")),
                    Qt::Key_Escape);
    EXPECT_FALSE(colour->frm());
    EXPECT_TRUE(d.dialog.isVisible());
    EXPECT_EQ(colour->Color(), 0x123456u);
}

TEST(OptionsDialog, ShowOptionsRunsThroughTheModalRunner)
{
    SharedSettings settings;
    settings.FontSize = 8;
    {
        RunnerScope runner([](QDialog &dialog) {
            auto *sizes = dialog.findChild<QComboBox *>(QStringLiteral("cmbVisualFontSize"));
            QTest::keyClick(sizes, Qt::Key_End);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
            return dialog.result();
        });
        EXPECT_TRUE(frmOptions::ShowOptions(settings, nullptr));
        EXPECT_EQ(settings.FontSize, 20);
    }
    {
        RunnerScope runner([](QDialog &dialog) {
            auto *sizes = dialog.findChild<QComboBox *>(QStringLiteral("cmbVisualFontSize"));
            QTest::keyClick(sizes, Qt::Key_Home);
            dialog.reject();
            return dialog.result();
        });
        EXPECT_FALSE(frmOptions::ShowOptions(settings, nullptr));
        EXPECT_EQ(settings.FontSize, 20);
    }
}
