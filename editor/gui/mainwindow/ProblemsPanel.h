#pragma once

#include "core/checks/ScriptChecks.h"

#include <QDockWidget>

#include <vector>

class CDocument;
class QTimer;
class QTreeWidget;
class StepListView;

// The "Problems" dock: the live checks of the open script, run a short while after the last
// change (so typing never waits for them), listed with their line numbers and marked in the
// step list's gutter. Activating an entry (double click or Enter) asks for its row to be
// selected and shown.
class ProblemsPanel final : public QDockWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProblemsPanel)

public:
    // Milliseconds between the last change and the check.
    static constexpr int kDelay = 250;

    ProblemsPanel(CDocument &document, StepListView &list, QWidget *parent = nullptr);

    // The problems found by the last check, ordered by row.
    const std::vector<ScriptChecks::Problem> &problems() const { return m_problems; }
    QTreeWidget *table() const { return m_table; }
    // True while a change waits for its check.
    bool checkPending() const;
    // Runs the check now (a pending one is done with).
    void checkNow();
    // Checks now, shows the dock and selects the first problem of row (any row when -1: the
    // first problem), without moving the focus.
    void showRow(int row);
    // The count for the status bar ("No problems", "1 problem", "3 problems").
    static QString countText(int count);

signals:
    // The number of problems after a check.
    void countChanged(int count);
    // An entry was activated: its row is to be selected alone and shown.
    void rowActivated(int row);

private:
    void schedule();
    void fill();

    CDocument &m_document;
    StepListView &m_list;
    QTimer *m_timer;
    QTreeWidget *m_table;
    std::vector<ScriptChecks::Problem> m_problems;
};
