#pragma once

#include <QString>

class CElement;

// The modal dialogs the editing commands ask: the step properties, the comment and the go-to
// dialog. The program shows the real dialogs (StepDialogs); tests answer with their own.
class IStepDialogs {
public:
    // What the comment dialog returns: the text ("" when cancelled), whether the comment
    // goes to the end of the script, or else before the selection instead of after it.
    struct CommentAnswer {
        QString text;
        bool insertLast = false;
        bool insertBefore = false;
    };

    virtual ~IStepDialogs() = default;

    // Edits step in the step properties dialog; true when confirmed (or nothing to edit).
    virtual bool ShowMe(CElement &step, bool useDefaults) = 0;
    // Asks for a comment, starting from text; hideCheckBox hides "Add to bottom of the script".
    virtual CommentAnswer AskComment(const QString &text, bool hideCheckBox) = 0;
    // Asks for a line number; 0 when cancelled.
    virtual int AskGoto() = 0;

protected:
    IStepDialogs() = default;
    IStepDialogs(const IStepDialogs &) = default;
    IStepDialogs &operator=(const IStepDialogs &) = default;
};
