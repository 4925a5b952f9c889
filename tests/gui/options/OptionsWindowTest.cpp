#include "support/TempSettingsStore.h"

#include "core/document/CDocument.h"
#include "core/document/CElement.h"
#include "core/settings/ColorPalette.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/options/frmOptions.h"
#include "gui/steplist/StepListView.h"
#include "gui/steplist/StepRowDelegate.h"
#include "gui/widgets/ColorDD.h"
#include "gui/widgets/ModalRunner.h"

#include <fieldpane/EzButton.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

class OptionsWindowTest : public TempSettingsStore {
protected:
    void SetUp() override
    {
        TempSettingsStore::SetUp();
        m_previousRunner = SetModalRunner({});
        window = std::make_unique<frmEdit>();
        CElement comment;
        comment.IsComment = true;
        comment.Text = QStringLiteral("WWWW MMMM WWWW");
        window->Document()->InsertStep(comment, -1);
        // No icons, so the text sets the row height; no selection, so the row shows its colours.
        window->setIconStyle(0);
        window->List()->clearSelection();
        window->resize(700, 400);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        SetModalRunner(std::move(m_previousRunner));
        TempSettingsStore::TearDown();
    }

    // Runs Edit > Options with `answer` standing in for the user.
    void runOptions(std::function<void(QDialog &)> answer)
    {
        SetModalRunner([answer](QDialog &dialog) {
            answer(dialog);
            return dialog.result();
        });
        QAction *options = window->action(Command::EditOptions);
        ASSERT_TRUE(options);
        ASSERT_TRUE(options->isEnabled());
        options->trigger();
        SetModalRunner({});
        QCoreApplication::processEvents();
    }

    int rowHeight() const
    {
        const QModelIndex first = window->List()->model()->index(0, 0);
        return window->List()->visualRect(first).height();
    }

    // Pixels of the first row painted exactly in `colour`.
    int pixelsOf(const QColor &colour) const
    {
        const QModelIndex first = window->List()->model()->index(0, 0);
        const QImage image =
            window->List()->viewport()->grab(window->List()->visualRect(first)).toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour ? 1 : 0;
        return count;
    }

    std::unique_ptr<frmEdit> window;

private:
    ModalRunner m_previousRunner;
};

void pressOK(QDialog &dialog)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
}

QComboBox *combo(QDialog &dialog, const char *name)
{
    return dialog.findChild<QComboBox *>(QString::fromLatin1(name));
}

} // namespace

TEST_F(OptionsWindowTest, OkLaysOutAndPaintsTheListWithTheNewFontAndColour)
{
    EXPECT_EQ(window->Settings().FontSize, 8);
    const int before = rowHeight();
    const QColor red(0xFF, 0, 0);
    EXPECT_EQ(pixelsOf(red), 0);

    runOptions([](QDialog &dialog) {
        QTest::keyClick(combo(dialog, "cmbVisualFontSize"), Qt::Key_End);
        auto *colour = dialog.findChild<ColorDD *>(QStringLiteral("cddComment"));
        QTest::mouseClick(colour->findChild<Fieldpane::EzButton *>(QStringLiteral("btnDD")),
                          Qt::LeftButton);
        ASSERT_TRUE(colour->frm());
        QTest::mouseClick(colour->frm()->findChild<QWidget *>(QStringLiteral("picColorPicker")),
                          Qt::LeftButton, {}, ColorPalette::SwatchRect({1, 2}).center().toPoint());
        pressOK(dialog);
    });

    EXPECT_EQ(window->Settings().FontSize, 20);
    EXPECT_EQ(window->Settings().CommentColor, 0x0000FFu);
    EXPECT_EQ(window->List()->rowDelegate()->captionFont().pointSize(), 20);
    EXPECT_GT(rowHeight(), before);
    EXPECT_GT(pixelsOf(red), 0);
}

TEST_F(OptionsWindowTest, CancelKeepsTheSettingsAndStillRefreshesTheList)
{
    const SharedSettings before = window->Settings();
    const int measured = window->List()->rowDelegate()->measureCount();
    runOptions([](QDialog &dialog) {
        QTest::keyClick(combo(dialog, "cmbVisualFontSize"), Qt::Key_End);
        QTest::keyClick(combo(dialog, "cmbSourceFontSize"), Qt::Key_End);
        dialog.findChild<ColorDD *>(QStringLiteral("cddComment"))->setColor(0x123456);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(window->Settings().FontSize, before.FontSize);
    EXPECT_EQ(window->Settings().FontSizeZML, before.FontSizeZML);
    EXPECT_EQ(window->Settings().CommentColor, before.CommentColor);
    EXPECT_EQ(window->Settings().FontName, before.FontName);
    // The rows were measured again.
    EXPECT_GT(window->List()->rowDelegate()->measureCount(), measured);
}

TEST_F(OptionsWindowTest, TheChoiceSurvivesARestart)
{
    runOptions([](QDialog &dialog) {
        QTest::keyClick(combo(dialog, "cmbVisualFontSize"), Qt::Key_Down);
        QTest::keyClick(combo(dialog, "cmbSourceFontSize"), Qt::Key_End);
        QComboBox *source = combo(dialog, "odlFontSource");
        ASSERT_GT(source->count(), 0);
        QTest::keyClick(source, Qt::Key_End);
        dialog.findChild<ColorDD *>(QStringLiteral("cddComment"))->setColor(0x8000000Du);
        pressOK(dialog);
    });
    const SharedSettings chosen = window->Settings();
    EXPECT_EQ(chosen.FontSizeZML, 20);
    EXPECT_EQ(chosen.CommentColor, 0x8000000Du);
    window->SaveSettings();
    window.reset();

    frmEdit restarted;
    restarted.ReadSettings();
    EXPECT_EQ(restarted.Settings().FontName, chosen.FontName);
    EXPECT_EQ(restarted.Settings().FontSize, chosen.FontSize);
    EXPECT_EQ(restarted.Settings().FontNameZML, chosen.FontNameZML);
    EXPECT_EQ(restarted.Settings().FontSizeZML, 20);
    EXPECT_EQ(restarted.Settings().CommentColor, 0x8000000Du);
}
