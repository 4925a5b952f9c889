#pragma once

#include <QString>

class CElement;

// The step's one-line ZML form, which is also its row text in the step list.
QString BuildStepText(const CElement &step);

// The step's multi-line information text (caption and the attributes that have a value).
QString BuildStepInfo(const CElement &step);
