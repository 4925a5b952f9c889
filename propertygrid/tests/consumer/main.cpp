// Builds against the installed headers and library, then checks a few rows.
#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/PropertyList.h>
#include <fieldpane/Version.h>

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstring>

// The README's usage example (generated from README.md).
void readmeExample(QWidget *parent);

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
    readmeExample(&parent);
    const auto *readmeGrid = parent.findChild<Fieldpane::PropertyList *>();
    const Fieldpane::CListItems *readmeRows = readmeGrid ? readmeGrid->ListItems() : nullptr;
    const bool readmeOk = readmeRows && readmeRows->Count() == 2 &&
                          readmeRows->Item("count").Value().toInt() == 3 &&
                          readmeRows->Item("dir").Bold() &&
                          readmeRows->Item("DIR").Value().toString() == QLatin1String("Down");

    const bool ok = readmeOk && rows->Count() == 2 &&
                    rows->Item(QStringLiteral("n")).Value().toInt() == 4 &&
                    rows->Item(2).Value().toString() == QLatin1String("true") &&
                    FIELDPANE_VERSION_MAJOR == PACKAGE_VERSION_MAJOR &&
                    FIELDPANE_VERSION_MINOR == PACKAGE_VERSION_MINOR &&
                    std::strcmp(Fieldpane::version(), FIELDPANE_VERSION_STRING) == 0 &&
                    Fieldpane::CCommonDialogs::ConvertFilter(QStringLiteral("A|*.a")).size() == 1;
    std::puts(ok ? "consumer: ok" : "consumer: FAILED");
    return ok ? 0 : 1;
}
