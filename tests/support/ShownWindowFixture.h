#pragma once

#include "support/WindowFixture.h"

#include "core/document/CDocument.h"
#include "gui/editing/EditCommands.h"
#include "gui/steplist/StepListView.h"

#include <QApplication>
#include <QTest>

#include <initializer_list>

// The main window shown and active over a script, driven with real mouse and key events on
// the step list.
class ShownWindowTest : public WindowTest {
protected:
    frmEdit &openShown(const QStringList &body, const char *fileName = "shown.zml")
    {
        frmEdit &w = body.isEmpty() ? open() : open(writeScript(fileName, body));
        w.resize(900, 600);
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        settle();
        return w;
    }

    // Lets pending layouts and queued calls run.
    static void settle()
    {
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(50);
        }
    }

    frmEdit &w() { return *m_window; }
    CDocument &doc() { return *m_window->Document(); }
    StepListView &list() { return *m_window->List(); }
    QWidget *listViewport() { return m_window->List()->viewport(); }

    // Element names of the rows, "#text" for comments, "-name" for disabled steps.
    QStringList names()
    {
        QStringList result;
        for (int r = 0; r < doc().RowCount(); ++r) {
            const auto step = doc().Step(r);
            const QString name =
                step->IsComment ? QLatin1Char('#') + step->Text : step->ElementName;
            result.append(step->Disabled ? QLatin1Char('-') + name : name);
        }
        return result;
    }
    std::vector<int> depths()
    {
        std::vector<int> result;
        for (int r = 0; r < doc().RowCount(); ++r)
            result.push_back(doc().Rows()->depth(r));
        return result;
    }
    std::vector<int> selected() { return m_window->Commands()->SelectedRows(); }

    QRect rowRect(int row) { return list().visualRect(doc().Rows()->index(row, 0)); }
    QPoint rowCentre(int row) { return rowRect(row).center(); }
    // Real clicks on rows of the list (Ctrl adds to the selection).
    void clickRows(std::initializer_list<int> rows)
    {
        bool first = true;
        for (int r : rows) {
            list().scrollTo(doc().Rows()->index(r, 0));
            QTest::mouseClick(listViewport(), Qt::LeftButton,
                              first ? Qt::NoModifier : Qt::ControlModifier, rowCentre(r));
            first = false;
        }
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window->List(), static_cast<Qt::Key>(k), modifiers);
    }
};
