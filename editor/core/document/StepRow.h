#pragma once

#include <QString>
#include <QtGlobal>

// One row of the step list: the step's id (in the document's StepStore), the depth and an explicit
// row text (null for the document's rows: their text is built from the step when asked for).
struct StepRow {
    int id = 0;
    int depth = 0;
    QString text;
};
Q_DECLARE_TYPEINFO(StepRow, Q_RELOCATABLE_TYPE);
