#pragma once

#include <Qt>

// Item data roles of StepRowsModel (Qt::DisplayRole gives the row text too).
enum StepRowsRole : int {
    StepIdRole = Qt::UserRole + 1, // int: the step id
    DepthRole,                     // int: the block depth
    RowTextRole,                   // QString: the step's ZML line
};
