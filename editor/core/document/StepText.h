#pragma once

#include <QString>

#include "core/document/StepView.h"
class TextSink;
class Utf8Sink;

// The step's one-line ZML form, which is also its row text in the step list: a comment is
// "<!--" CR LF text CR LF "-->", a disabled step its form inside "<!-- " and " -->".
QString BuildStepText(const StepView &step);

// How AppendStepText writes an element without text content: "<name ... />", or as an
// opening tag "<name ...>" (if and loop rows in a file).
enum class StepForm { Line, Opening };

// Appends the step's form (BuildStepText's, or with StepForm::Opening its opening tag) to out,
// piece by piece, without building it as one string first.
void AppendStepText(TextSink &out, const StepView &step, StepForm form = StepForm::Line);
void AppendStepText(Utf8Sink &out, const StepView &step, StepForm form = StepForm::Line);

// The step's multi-line information text (caption and the attributes that have a value).
QString BuildStepInfo(const StepView &step);
// Appends BuildStepInfo's text to info.
void AppendStepInfo(QString &info, const StepView &step);
