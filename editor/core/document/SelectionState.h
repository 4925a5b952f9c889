#pragma once

#include <QString>

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

// The state for a list of rowCount rows of which selectedCount are selected; firstSelected and
// lastSelected tell whether row 0 and the last row are among them; current is the focused row
// (-1 when none) and currentInformation the Information text of its step.
SelectionState ComputeSelectionState(int rowCount, int selectedCount, bool firstSelected,
                                     bool lastSelected, int current,
                                     const QString &currentInformation);

// The "Line" panel when the list has no current row: "Steps: n", or "" for an empty list.
QString StepsPanelText(int rowCount);
