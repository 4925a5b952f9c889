#pragma once

#include "PropertyListPrivate.h"

#include <fieldpane/EzButton.h>
#include <fieldpane/PropertyList.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

// 1-based selected row of a grid; 0 when none.
inline int selectedIndex(const Fieldpane::PropertyList &grid)
{
    return Fieldpane::PropertyListAccess::of(grid).selectedRow;
}

// The grid's pop-up while it is open or not yet deleted.
inline Fieldpane::frmDD *openPopup(const Fieldpane::PropertyList &grid)
{
    return Fieldpane::PropertyListAccess::of(grid).popup.data();
}

// A dialog that hosts one grid and a default OK button, shown and active.
class GridHost {
public:
    explicit GridHost(int height = 240)
    {
        auto *layout = new QVBoxLayout(&dialog);
        grid = new Fieldpane::PropertyList(&dialog);
        ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, [this] { ++okClicks; });
        layout->addWidget(grid, 1);
        layout->addWidget(ok);
        dialog.resize(360, height);
    }

    void show()
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        (void)QTest::qWaitForWindowActive(&dialog);
    }

    Fieldpane::CListItems &rows() const { return *grid->ListItems(); }
    QLineEdit *txt() const { return grid->findChild<QLineEdit *>(QStringLiteral("txt")); }
    Fieldpane::EzButton *btn() const
    {
        return grid->findChild<Fieldpane::EzButton *>(QStringLiteral("btn"));
    }
    QScrollBar *scroll() const { return grid->findChild<QScrollBar *>(QStringLiteral("scroll")); }

    // Centre of a visible row's name cell (1-based row).
    QPoint nameCell(int row) const
    {
        const int h = grid->RowHeight();
        return grid->contentsRect().topLeft() +
               QPoint(grid->NameColumnWidth() / 2, (row - grid->TopIndex()) * h + h / 2);
    }

    void clickRow(int row) const { QTest::mouseClick(grid, Qt::LeftButton, {}, nameCell(row)); }

    // Centre of the name cell of a shown line (0-based, counting category headers).
    QPoint lineCell(int line) const
    {
        const int h = grid->RowHeight();
        return grid->contentsRect().topLeft() +
               QPoint(grid->NameColumnWidth() / 2, (line - grid->TopIndex() + 1) * h + h / 2);
    }

    bool editBoxInPlace() const { return txt()->isVisible() && txt()->x() > 0; }

    QDialog dialog;
    Fieldpane::PropertyList *grid = nullptr;
    QPushButton *ok = nullptr;
    int okClicks = 0;
};
