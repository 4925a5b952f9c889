// Builds against the installed headers and library, runs the README's examples and checks a
// few rows.
#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/PropertyList.h>
#include <fieldpane/Version.h>

#include <QApplication>
#include <QColor>
#include <QWidget>

#include <cstdio>
#include <cstring>

// The README's examples (generated from README.md): runs example `index` (0 first), false
// when there is none.
bool readmeExample(int index, QWidget *parent);

namespace {

// The grid's own signals and options reach a program through the installed library.
bool featuresWork()
{
    Fieldpane::PropertyList grid;
    grid.setSpinBoxForNumbers(true);
    grid.setCheckBoxForBooleans(true);
    Fieldpane::CListItems *rows = grid.ListItems();
    int changes = 0;
    QObject::connect(&grid, &Fieldpane::PropertyList::ValueChanged, &grid,
                     [&changes](const Fieldpane::CListItem &, const QVariant &, const QVariant &) {
                         ++changes;
                     });
    Fieldpane::CListItem count = rows->Add(QStringLiteral("Count"), Fieldpane::hlvInteger, 5);
    count.setCategory(QStringLiteral("Numbers"));
    count.setRange(0, 10);
    count.setDefaultValue(2);
    count.setValue(50); // outside the range: refused
    count.ResetValue();
    rows->Add(QStringLiteral("Ink"), Fieldpane::hlvColor, QStringLiteral("#102030"));
    grid.setFilterText(QStringLiteral("ink"));
    grid.Refresh();
    return changes == 1 && count.Value().toInt() == 2 &&
           grid.Categories() == QStringList{QStringLiteral("Numbers")} &&
           rows->Item(2).Value().value<QColor>() == QColor(0x10, 0x20, 0x30);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Fieldpane::PropertyList grid;
    Fieldpane::CListItems *rows = grid.ListItems();
    rows->Add(QStringLiteral("Count"), Fieldpane::hlvInteger, QStringLiteral("4.5"), {},
              QStringLiteral("N"));
    rows->Add(QStringLiteral("Flag"), Fieldpane::hlvBoolean, -1);
    grid.Refresh();

    QWidget parent;
    readmeExample(0, &parent);
    // Every other example runs and makes its grid.
    bool examplesOk = true;
    int examples = 1;
    for (;; ++examples) {
        QWidget other;
        if (!readmeExample(examples, &other))
            break;
        examplesOk = examplesOk && other.findChild<Fieldpane::PropertyList *>() != nullptr;
    }
    std::printf("consumer: %d README examples\n", examples);
    const auto *readmeGrid = parent.findChild<Fieldpane::PropertyList *>();
    const Fieldpane::CListItems *readmeRows = readmeGrid ? readmeGrid->ListItems() : nullptr;
    const bool readmeOk = readmeRows && readmeRows->Count() == 2 &&
                          readmeRows->Item("count").Value().toInt() == 3 &&
                          readmeRows->Item("dir").Bold() &&
                          readmeRows->Item("DIR").Value().toString() == QLatin1String("Down");

    const bool ok = readmeOk && examplesOk && examples > 1 && featuresWork() &&
                    rows->Count() == 2 && rows->Item(QStringLiteral("n")).Value().toInt() == 4 &&
                    rows->Item(2).Value().toString() == QLatin1String("true") &&
                    FIELDPANE_VERSION_MAJOR == PACKAGE_VERSION_MAJOR &&
                    FIELDPANE_VERSION_MINOR == PACKAGE_VERSION_MINOR &&
                    std::strcmp(Fieldpane::version(), FIELDPANE_VERSION_STRING) == 0 &&
                    Fieldpane::CCommonDialogs::ConvertFilter(QStringLiteral("A|*.a")).size() == 1;
    std::puts(ok ? "consumer: ok" : "consumer: FAILED");
    return ok ? 0 : 1;
}
