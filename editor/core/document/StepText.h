#pragma once

#include <QByteArray>
#include <QString>

#include <unordered_map>
#include <vector>

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

// The UTF-8 pieces of the tags of each action met ("<name" and " name=\"" per attribute), worked
// out once per action for a writer of many steps. The steps' actions must outlive it (one save).
class StepTagPieces final {
public:
    struct Tag {
        QByteArray open;
        std::vector<QByteArray> attributes;
    };
    const Tag &of(const StepView &step);

private:
    std::unordered_map<const void *, Tag> m_tags;
};
// AppendStepText with the tags' pieces taken from pieces.
void AppendStepText(Utf8Sink &out, const StepView &step, StepForm form, StepTagPieces &pieces);

// The step's multi-line information text (caption and the attributes that have a value).
QString BuildStepInfo(const StepView &step);
// Appends BuildStepInfo's text to info.
void AppendStepInfo(QString &info, const StepView &step);
