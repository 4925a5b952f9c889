#pragma once

#include <Qt>

// Item data roles of StepRowsModel (Qt::DisplayRole gives the row text too).
enum StepRowsRole : int {
    StepIdRole = Qt::UserRole + 1, // int: the step id
    DepthRole,                     // int: the block depth
    RowTextRole,                   // QString: the step's ZML line
    ElementNameRole,               // QString: the step's element name
    CommentRole,                   // bool: the step is a comment
    DisabledRole,                  // bool: the step is disabled
    CaptionRole,                   // QString: the step's caption in the visual view
    CaptionLinesRole,              // int: lines of the caption, unwrapped
    RowTextLinesRole,              // int: lines of the row text, unwrapped
};
