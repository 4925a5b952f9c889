// What a host opts into beyond the basic grid: the value-changed signal, read-only rows,
// defaults, categories, the filter, the description pane, the spin box, check boxes, colour
// and font rows and the paging keys. Driven through key and mouse events.
#include "DescriptionPane.h"
#include "DialogAnswerer.h"
#include "GridTestSupport.h"
#include "QtPrinters.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>
#include <QSplitterHandle>

#include <gtest/gtest.h>

using namespace Fieldpane;

namespace {

const auto &state(const PropertyList &grid)
{
    return PropertyListAccess::of(grid);
}

// The values of a spy of ValueChanged: "name: old -> new" per emission.
QStringList changes(const QSignalSpy &spy)
{
    QStringList seen;
    for (const QList<QVariant> &args : spy) {
        seen << QStringLiteral("%1: %2 -> %3")
                    .arg(args.at(0).value<CListItem>().Name(), args.at(1).toString(),
                         args.at(2).toString());
    }
    return seen;
}

QMenu *openMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A grid with two categories and a row without one:
// line 0 "Loose"; 1 [Text]; 2 "Caption"; 3 "Title"; 4 [Numbers]; 5 "Count"; 6 "Flag".
void addCategorised(CListItems &rows)
{
    rows.Add(QStringLiteral("Caption"), hlvString, QStringLiteral("c")).setCategory("Text");
    rows.Add(QStringLiteral("Count"), hlvInteger, 1).setCategory("Numbers");
    rows.Add(QStringLiteral("Title"), hlvString, QStringLiteral("t")).setCategory("Text");
    rows.Add(QStringLiteral("Loose"), hlvString, QStringLiteral("l"));
    rows.Add(QStringLiteral("Flag"), hlvBoolean, false).setCategory("Numbers");
}

} // namespace

TEST(GridFeatures, NothingChangesUntilTheHostAsks)
{
    PropertyList grid;
    grid.resize(300, 200);
    EXPECT_FALSE(grid.CheckBoxForBooleans());
    EXPECT_FALSE(grid.SpinBoxForNumbers());
    EXPECT_FALSE(grid.FilterFieldVisible());
    EXPECT_FALSE(grid.DescriptionVisible());
    const int frame = grid.frameWidth();
    EXPECT_EQ(grid.contentsMargins(), QMargins(frame, frame, frame, frame));
    CListItem row = grid.ListItems()->Add(QStringLiteral("Count"), hlvInteger, 3);
    EXPECT_FALSE(row.ReadOnly());
    EXPECT_FALSE(row.HasDefaultValue());
    EXPECT_FALSE(row.DiffersFromDefault());
    EXPECT_TRUE(row.Category().isEmpty());
    EXPECT_TRUE(grid.Categories().isEmpty());
    row.setValue(2147483647); // the whole range until one is set
    EXPECT_EQ(row.Value(), QVariant(2147483647));
}

TEST(GridFeatures, ValueChangedOncePerCommittedChangeAndNeverForEscape)
{
    GridHost host;
    host.show();
    CListItems &rows = host.rows();
    rows.Add(QStringLiteral("Name"), hlvString, QStringLiteral("a"));
    rows.Add(QStringLiteral("Flag"), hlvBoolean, false);
    rows.Add(QStringLiteral("File"), hlvFilePath, QStringLiteral("/f"));
    QSignalSpy spy(host.grid, &PropertyList::ValueChanged);

    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("bc"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    QTest::keyClick(host.txt(), Qt::Key_Down); // nothing typed since: no second signal
    EXPECT_EQ(changes(spy), QStringList{QStringLiteral("Name: a -> bc")});

    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("zz"));
    QTest::keyClick(host.txt(), Qt::Key_Escape);
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(spy.count(), 1);

    // A pick from the drop-down list, a dialog's choice and the host's setValue.
    QTest::keyClick(host.txt(), Qt::Key_F4);
    ASSERT_NE(openPopup(*host.grid), nullptr);
    QTest::keyClick(openPopup(*host.grid), Qt::Key_Up);
    QTest::keyClick(openPopup(*host.grid), Qt::Key_Return);
    flushDeletes();
    CCommonDialogs::Answer chosen;
    chosen.Accepted = true;
    chosen.FileName = QStringLiteral("/g");
    {
        DialogAnswerer answer(chosen);
        host.clickRow(3);
        QTest::mouseClick(host.btn(), Qt::LeftButton);
    }
    rows.Item(1).setValue(QStringLiteral("host"));
    rows.Item(1).setValue(QStringLiteral("host")); // the same value: no change
    EXPECT_EQ(changes(spy),
              (QStringList{QStringLiteral("Name: a -> bc"), QStringLiteral("Flag: false -> true"),
                           QStringLiteral("File: /f -> /g"), QStringLiteral("Name: bc -> host")}));
    // The host's value reaches an open, untouched editor, and leaving it keeps that value.
    host.clickRow(1);
    rows.Item(1).setValue(QStringLiteral("again"));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("again"));
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(rows.Item(1).Value(), QVariant(QStringLiteral("again")));
}

TEST(GridFeatures, ReadOnlyRowsAreSelectableAndCopyableButNotEditable)
{
    GridHost host;
    host.show();
    CListItem name = host.rows().Add(QStringLiteral("Name"), hlvString, QStringLiteral("fixed"));
    CListItem file = host.rows().Add(QStringLiteral("File"), hlvFilePath, QStringLiteral("/f"));
    CListItem flag = host.rows().Add(QStringLiteral("Flag"), hlvBoolean, true);
    for (CListItem row : {name, file, flag})
        row.setReadOnly(true);
    QSignalSpy spy(host.grid, &PropertyList::ValueChanged);

    host.clickRow(1);
    EXPECT_TRUE(host.editBoxInPlace());
    EXPECT_TRUE(host.txt()->isReadOnly());
    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(name.Value(), QVariant(QStringLiteral("fixed")));
    QTest::keyClick(host.txt(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("fixed"));

    // No button: F4 and a double click open nothing.
    DialogAnswerer noDialog{CCommonDialogs::Answer{}};
    host.clickRow(2);
    EXPECT_FALSE(host.btn()->isVisible());
    QTest::keyClick(host.txt(), Qt::Key_F4);
    QTest::mouseDClick(host.grid, Qt::LeftButton, {}, host.nameCell(2));
    host.clickRow(3);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    EXPECT_EQ(openPopup(*host.grid), nullptr);
    EXPECT_TRUE(noDialog.requests.empty());
    // A row without a box in sight copies its value too.
    QTest::keyClick(host.txt(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("true"));
    EXPECT_EQ(spy.count(), 0);

    // The host may still change it; making it editable again takes effect at once.
    name.setValue(QStringLiteral("by host"));
    EXPECT_EQ(name.Value(), QVariant(QStringLiteral("by host")));
    host.clickRow(1);
    name.setReadOnly(false);
    EXPECT_FALSE(host.txt()->isReadOnly());
}

TEST(GridFeatures, DefaultValuesMarkChangedRowsAndResetRestoresThem)
{
    GridHost host;
    host.show();
    CListItem count = host.rows().Add(QStringLiteral("Count"), hlvInteger, 5);
    CListItem other = host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("o"));
    count.setDefaultValue(QStringLiteral("2")); // converted like a value
    EXPECT_EQ(count.DefaultValue(), QVariant(2));
    EXPECT_TRUE(count.DiffersFromDefault());
    EXPECT_TRUE(state(*host.grid).nameFont(count).italic());
    EXPECT_FALSE(state(*host.grid).nameFont(other).italic());
    QSignalSpy spy(host.grid, &PropertyList::ValueChanged);

    // A right click on the row opens its menu; Reset puts the default into row and editor.
    QWindow *window = host.dialog.windowHandle();
    const auto rightClick = [&](int row) {
        QTest::mouseClick(window, Qt::RightButton, {},
                          host.grid->mapTo(&host.dialog, host.nameCell(row)));
    };
    rightClick(1);
    QMenu *menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    QAction *reset = menu->actions().value(0);
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->text(), QStringLiteral("Reset"));
    EXPECT_TRUE(reset->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(reset).center());
    EXPECT_EQ(count.Value(), QVariant(2));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("2"));
    EXPECT_FALSE(count.DiffersFromDefault());
    EXPECT_EQ(changes(spy), QStringList{QStringLiteral("Count: 5 -> 2")});
    flushDeletes();

    // At its default the item is there but disabled; a row without a default has no menu.
    rightClick(1);
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_FALSE(openMenu()->actions().value(0)->isEnabled());
    openMenu()->close();
    flushDeletes();
    rightClick(2);
    EXPECT_EQ(openMenu(), nullptr);

    // The method, and the keyboard's menu key while editing.
    count.setValue(9);
    count.ResetValue();
    EXPECT_EQ(count.Value(), QVariant(2));
    count.setValue(9);
    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(openMenu(), nullptr);
    QTest::keyClick(openMenu(), Qt::Key_Down);
    QTest::keyClick(openMenu(), Qt::Key_Return);
    EXPECT_EQ(count.Value(), QVariant(2));
    flushDeletes();
}

TEST(GridFeatures, CategoriesCollapseWithMouseAndKeys)
{
    GridHost host(320);
    host.show();
    addCategorised(host.rows());
    host.grid->Refresh();
    EXPECT_EQ(host.grid->Categories(), (QStringList{"Text", "Numbers"}));
    const auto &d = state(*host.grid);
    ASSERT_EQ(d.lineCount(), 7);
    EXPECT_EQ(d.layout.at(0).row, 4); // the row without a category comes first
    EXPECT_TRUE(d.layout.at(1).isHeader());
    EXPECT_EQ(d.layout.at(3).row, 3);

    // Down walks through the headers; Left collapses a header, Right expands it.
    QTest::mouseClick(host.grid, Qt::LeftButton, {}, host.lineCell(0));
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_TRUE(d.headerSelected);
    EXPECT_FALSE(host.editBoxInPlace());
    QTest::keyClick(host.txt(), Qt::Key_Left);
    EXPECT_FALSE(host.grid->CategoryExpanded("Text"));
    EXPECT_EQ(d.lineCount(), 5);
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(d.layout.at(d.currentLine()).category, QStringLiteral("Numbers"));
    QTest::keyClick(host.txt(), Qt::Key_Up);
    QTest::keyClick(host.txt(), Qt::Key_Right);
    EXPECT_TRUE(host.grid->CategoryExpanded("Text"));
    QTest::keyClick(host.txt(), Qt::Key_Right); // expanded: on to the first row
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_TRUE(host.editBoxInPlace());

    // A click on a header's arrow toggles it; a double click elsewhere on it too.
    const QPoint arrow = host.lineCell(4) - QPoint(host.grid->NameColumnWidth() / 2 - 4, 0);
    QTest::mouseClick(host.grid, Qt::LeftButton, {}, arrow);
    EXPECT_FALSE(host.grid->CategoryExpanded("Numbers"));
    QTest::mouseDClick(host.grid, Qt::LeftButton, {}, host.lineCell(4));
    EXPECT_TRUE(host.grid->CategoryExpanded("Numbers"));

    // Collapsing the selected row's category selects its header; the state can be set early.
    QTest::mouseClick(host.grid, Qt::LeftButton, {}, host.lineCell(2)); // "Caption"
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    host.grid->setCategoryExpanded("Text", false);
    EXPECT_TRUE(d.headerSelected);
    EXPECT_EQ(d.selectedCategory, QStringLiteral("Text"));
    host.grid->setCategoryExpanded("Later", false);
    host.rows().Add(QStringLiteral("Hidden"), hlvString).setCategory("Later");
    host.grid->Refresh();
    EXPECT_EQ(d.lineCount(), 6); // Loose, [Text], [Numbers], Count, Flag, [Later]
}

TEST(GridFeatures, FilterShowsMatchingRowsByNameOrValue)
{
    GridHost host(320);
    host.grid->setFilterFieldVisible(true);
    host.show();
    addCategorised(host.rows());
    auto *field = host.grid->findChild<QLineEdit *>(QStringLiteral("filter"));
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    EXPECT_GE(host.grid->contentsRect().top(), field->geometry().bottom());
    const auto &d = state(*host.grid);

    QTest::keyClicks(field, QStringLiteral("TIT"));
    EXPECT_EQ(host.grid->FilterText(), QStringLiteral("TIT"));
    ASSERT_EQ(d.lineCount(), 2); // [Text], Title
    EXPECT_EQ(d.layout.at(1).row, 3);
    // Down goes from the field to the rows.
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_TRUE(d.headerSelected);
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 3);

    host.grid->setFilterText(QStringLiteral("1")); // the value of "Count" only
    EXPECT_EQ(field->text(), QStringLiteral("1"));
    EXPECT_EQ(d.lineCount(), 2);    // [Numbers], Count
    EXPECT_EQ(d.currentLine(), -1); // "Title" is filtered out
    EXPECT_FALSE(host.editBoxInPlace());
    // Added rows are matched too.
    host.rows().Add(QStringLiteral("Label"), hlvString, QStringLiteral("x1"));
    host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("y"));
    host.grid->Refresh();
    EXPECT_EQ(d.lineCount(), 3);
    // Escape empties the field and shows every row again.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(host.grid->FilterText().isEmpty());
    EXPECT_EQ(d.lineCount(), 9);
}

TEST(GridFeatures, DescriptionPaneFollowsTheSelectionAndItsSplitterDrags)
{
    GridHost host(360);
    host.grid->setDescriptionVisible(true);
    host.show();
    addCategorised(host.rows());
    host.rows().Item(1).setDescription(QStringLiteral("The caption of the box."));
    host.grid->Refresh();
    auto *pane = host.grid->findChild<DescriptionPane *>();
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->isVisible());
    EXPECT_LE(host.grid->contentsRect().bottom(), pane->mapTo(host.grid, QPoint()).y());

    QTest::mouseClick(host.grid, Qt::LeftButton, {}, host.lineCell(2));
    EXPECT_EQ(pane->name(), QStringLiteral("Caption"));
    EXPECT_EQ(pane->description(), QStringLiteral("The caption of the box."));
    EXPECT_TRUE(pane->findChild<QLabel *>(QStringLiteral("descriptionName"))->font().bold());
    QTest::keyClick(host.txt(), Qt::Key_Up);
    EXPECT_EQ(pane->name(), QStringLiteral("Text"));
    EXPECT_TRUE(pane->description().isEmpty());
    host.rows().Item(1).setDescription(QStringLiteral("changed")); // not current: no effect
    EXPECT_TRUE(pane->description().isEmpty());

    // Dragging the splitter's handle up makes the pane taller and the rows' room smaller.
    auto *splitter = host.grid->findChild<QSplitter *>();
    QSplitterHandle *handle = splitter->handle(1);
    const int before = host.grid->DescriptionHeight();
    const int rowsBottom = host.grid->contentsRect().bottom();
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(0, 30));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(0, 30));
    EXPECT_EQ(host.grid->DescriptionHeight(), before + 30);
    EXPECT_EQ(host.grid->contentsRect().bottom(), rowsBottom - 30);
    host.grid->setDescriptionVisible(false);
    const int frame = host.grid->frameWidth();
    EXPECT_EQ(host.grid->contentsMargins(), QMargins(frame, frame, frame, frame));
}

TEST(GridFeatures, SpinBoxRefusesTextAsTypedAndKeepsToTheRange)
{
    GridHost host;
    host.grid->setSpinBoxForNumbers(true);
    host.show();
    CListItem count = host.rows().Add(QStringLiteral("Count"), hlvInteger, 5);
    count.setRange(0, 50);
    count.setStep(5);
    host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("o"));
    host.clickRow(1);
    auto *spin = host.grid->findChild<QSpinBox *>(QStringLiteral("spin"));
    ASSERT_TRUE(spin->isVisible());
    EXPECT_TRUE(spin->hasFocus());
    EXPECT_FALSE(host.txt()->isVisible()); // Tab never stops in a box out of sight
    EXPECT_EQ(spin->maximum(), 50);
    EXPECT_EQ(spin->singleStep(), 5);
    host.grid->resize(host.grid->width() - 10, host.grid->height()); // keeps the focus
    EXPECT_TRUE(spin->hasFocus());

    QTest::keyClicks(spin, QStringLiteral("1x2"));
    EXPECT_EQ(spin->text(), QStringLiteral("12"));
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(count.Value(), QVariant(12));
    QTest::keyClicks(spin, QStringLiteral("99")); // above the maximum: refused as typed
    EXPECT_LE(spin->value(), 50);
    QTest::keyClick(spin, Qt::Key_Escape);
    EXPECT_EQ(spin->value(), 12);
    // Up and Down still move between rows; the value leaves with the row.
    QTest::keyClicks(spin, QStringLiteral("30"));
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(count.Value(), QVariant(30));
    count.setValue(80); // the host too is held to the range
    EXPECT_EQ(count.Value(), QVariant(30));
}

TEST(GridFeatures, CheckBoxTogglesBooleansWithMouseAndSpace)
{
    GridHost host;
    host.grid->setCheckBoxForBooleans(true);
    host.show();
    CListItem flag = host.rows().Add(QStringLiteral("Flag"), hlvBoolean, false);
    host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("o"));
    QSignalSpy spy(host.grid, &PropertyList::ValueChanged);
    const auto &d = state(*host.grid);
    const QPoint box = d.checkIndicator(d.valueCell(0)).center();

    QTest::mouseClick(host.grid, Qt::LeftButton, {}, box); // selects the row and ticks it
    EXPECT_EQ(flag.Value(), QVariant(QStringLiteral("true")));
    auto *check = host.grid->findChild<QCheckBox *>(QStringLiteral("check"));
    ASSERT_TRUE(check->isVisible());
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(check->hasFocus());
    EXPECT_FALSE(host.btn()->isVisible()); // no true/false list
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_EQ(flag.Value(), QVariant(QStringLiteral("false")));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(flag.Value(), QVariant(QStringLiteral("true")));
    EXPECT_EQ(spy.count(), 3);
    // A press on the name only selects; Enter stays in the grid.
    host.clickRow(1);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_EQ(host.okClicks, 0);
    QTest::keyClick(check, Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    EXPECT_EQ(flag.Value(), QVariant(QStringLiteral("true")));
}

TEST(GridFeatures, ColourAndFontRowsUseTheCommonDialogs)
{
    GridHost host;
    host.show();
    CListItem colour = host.rows().Add(QStringLiteral("Colour"), hlvColor, QColor(Qt::red));
    CListItem font = host.rows().Add(QStringLiteral("Font"), hlvFont, QFont("Sans", 10));
    EXPECT_EQ(colour.Value(), QVariant(QColor(Qt::red)));
    colour.setValue(0x00FF0000); // an OLE colour: blue
    EXPECT_EQ(colour.Value().value<QColor>(), QColor(Qt::blue));

    host.clickRow(1);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("#0000ff"));
    ASSERT_TRUE(host.btn()->isVisible());
    EXPECT_EQ(host.btn()->Style(), EzButton::Ellipsis);
    QTest::keyClicks(host.txt(), QStringLiteral("#00ff00"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(colour.Value().value<QColor>(), QColor(Qt::green));
    QTest::keyClicks(host.txt(), QStringLiteral("no colour"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("#00ff00"));

    CCommonDialogs::Answer picked;
    picked.Accepted = true;
    picked.Color = QColor(0x12, 0x34, 0x56);
    picked.Font = QFont("Serif", 14);
    picked.Font.setBold(true);
    DialogAnswerer answer(picked);
    QTest::mouseClick(host.btn(), Qt::LeftButton);
    ASSERT_EQ(answer.requests.size(), 1u);
    EXPECT_EQ(answer.requests[0].Kind, CCommonDialogs::DialogKind::Color);
    EXPECT_EQ(answer.requests[0].Color, QColor(Qt::green));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("#123456"));

    host.clickRow(2);
    EXPECT_FALSE(host.editBoxInPlace());
    QTest::keyClick(host.txt(), Qt::Key_F4);
    ASSERT_EQ(answer.requests.size(), 2u);
    EXPECT_EQ(answer.requests[1].Kind, CCommonDialogs::DialogKind::Font);
    EXPECT_FALSE(answer.requests[1].FixedPitchOnly);
    EXPECT_EQ(answer.requests[1].Font.pointSize(), 10);
    const QFont chosen = font.Value().value<QFont>();
    EXPECT_EQ(chosen.pointSize(), 14);
    EXPECT_TRUE(chosen.bold());
    EXPECT_EQ(chosen.family(), QFont("Serif").family());
}

TEST(GridFeatures, PageKeysHomeAndEndMoveTheCurrentRow)
{
    GridHost host(160);
    host.show();
    for (int i = 1; i <= 30; ++i)
        host.rows().Add(QStringLiteral("Row %1").arg(i), hlvString, QStringLiteral("v%1").arg(i));
    host.rows().Add(QStringLiteral("Flag"), hlvBoolean, true);
    const int page = state(*host.grid).visibleRows() - 1;
    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_PageDown);
    EXPECT_EQ(selectedIndex(*host.grid), 1 + page);
    EXPECT_TRUE(host.editBoxInPlace()); // scrolled into view
    QTest::keyClick(host.txt(), Qt::Key_PageUp);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    QTest::keyClick(host.txt(), Qt::Key_PageUp); // already first: stays
    EXPECT_EQ(selectedIndex(*host.grid), 1);

    // In the edit box Home and End move the cursor; with Ctrl they move the row.
    QTest::keyClick(host.txt(), Qt::Key_End);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_EQ(host.txt()->cursorPosition(), 2);
    QTest::keyClick(host.txt(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(selectedIndex(*host.grid), 31);
    // Without a box in sight they move the row as they are.
    QTest::keyClick(host.txt(), Qt::Key_Home);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_EQ(host.grid->TopIndex(), 1);
}

TEST(GridFeatures, LayoutAddsRowsInPlaceOrLaysOutAnew)
{
    CListItems rows;
    RowLayout layout;
    rows.Add(QStringLiteral("a"), hlvString);
    EXPECT_TRUE(layout.append(rows, 1));
    rows.Add(QStringLiteral("b"), hlvString).setCategory("X");
    EXPECT_TRUE(layout.append(rows, 2)); // a new category goes at the end
    rows.Add(QStringLiteral("c"), hlvString);
    EXPECT_FALSE(layout.append(rows, 3)); // goes before the headers: laid out anew
    EXPECT_EQ(layout.count(), 3);
    layout.rebuild(rows);
    ASSERT_EQ(layout.count(), 4);
    EXPECT_EQ(layout.at(1).row, 3);
    EXPECT_EQ(layout.lineOfHeader("X"), 2);
    EXPECT_EQ(layout.lineOfRow(2), 3);
    layout.setFilter(QStringLiteral("B"));
    layout.rebuild(rows);
    EXPECT_EQ(layout.count(), 2);
    EXPECT_EQ(layout.lineOfRow(1), -1);
    EXPECT_EQ(layout.lineOfRow(99), -1);
}
