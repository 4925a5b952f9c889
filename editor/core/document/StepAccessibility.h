#pragma once

#include <QString>

class CElement;

// What assistive technology says for a row of the step list. The name is the step's caption
// and attribute lines as the visual view shows them (never its ZML line); the description
// gives the line number, the block level (1 at the top) and whether the step is a comment or
// disabled.
QString StepAccessibleName(const CElement &step);
QString StepAccessibleDescription(const CElement &step, int line, int depth);
