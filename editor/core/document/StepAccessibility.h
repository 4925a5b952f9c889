#pragma once

#include <QString>

#include "core/document/StepView.h"

// What assistive technology says for a row of the step list. The name is the step's caption
// and attribute lines as the visual view shows them (never its ZML line); the description
// gives the line number, the block level (1 at the top) and whether the step is a comment or
// disabled.
QString StepAccessibleName(const StepView &step);
QString StepAccessibleDescription(const StepView &step, int line, int depth);
