#pragma once

#include <QString>

class CDocument;
#include "core/document/StepView.h"

// Find in the script: a row matches when its visible text in the current view (the visual
// caption and attribute lines, or the ZML line in source mode) or one of its step's attribute
// values or its text contains the searched text.
namespace StepSearch {

struct Options {
    bool matchCase = false;
    bool sourceMode = false;
};

// True when step matches text (an empty text matches nothing).
bool Matches(const StepView &step, const QString &text, const Options &options);

struct Found {
    int row = -1;         // -1: nothing matches
    bool wrapped = false; // the search passed the end (or the start, backwards) to find it
};

// The first matching row from start (inclusive) onwards, or backwards when forward is false,
// continuing at the other end once. A start past the last row (forwards) or before the first
// (backwards) begins at the other end and counts as wrapped.
Found Find(const CDocument &doc, const QString &text, int start, bool forward,
           const Options &options);

} // namespace StepSearch
