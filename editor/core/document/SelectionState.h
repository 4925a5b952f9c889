#pragma once

#include <QItemSelection>
#include <QString>

#include <vector>

// What the step list's selection enables and what the status bar shows for it.
struct SelectionState {
    QString TextPanel; // status panel "Text"
    QString LinePanel; // status panel "Line"
    bool MoveUp = false;
    bool MoveDown = false;
    bool EditCommands = false; // Cut, Copy, Delete, Enable steps, Disable steps
    bool GotoStep = false;
    bool SelectAll = false;
};

// What the enabling and the status bar need of a selection of top-level rows, read from its
// ranges (not row by row).
struct SelectionSummary {
    int Count = 0;         // selected rows (ranges are counted as they stand)
    int First = -1;        // lowest selected row, -1 when none
    bool FirstRow = false; // row 0 is selected
    bool LastRow = false;  // the last row of the list is selected
};
SelectionSummary SummariseSelection(const QItemSelection &selection, int rowCount);

// The selected top-level rows in ascending order, each once.
std::vector<int> SelectedRowsOf(const QItemSelection &selection);

// The state for a list of rowCount rows of which selectedCount are selected; firstSelected and
// lastSelected tell whether row 0 and the last row are among them; current is the focused row
// (-1 when none) and currentInformation the Information text of its step.
SelectionState ComputeSelectionState(int rowCount, int selectedCount, bool firstSelected,
                                     bool lastSelected, int current,
                                     const QString &currentInformation);

// The "Line" panel when the list has no current row: "Steps: n", or "" for an empty list.
QString StepsPanelText(int rowCount);
