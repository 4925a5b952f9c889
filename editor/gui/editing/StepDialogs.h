#pragma once

#include "gui/editing/IStepDialogs.h"

#include <QPointer>
#include <QWidget>

class CElements;
class CHTMLHelp;

// The real dialogs, each created for one use as a modal child of the parent window and run
// through RunModal.
class StepDialogs final : public IStepDialogs {
public:
    // documentSteps feeds the variable and range names of the properties dialog.
    StepDialogs(QWidget *parent, const CElements *documentSteps, const CHTMLHelp *help = nullptr);

    bool ShowMe(CElement &step, bool useDefaults) override;
    CommentAnswer AskComment(const QString &text, bool hideCheckBox) override;
    int AskGoto() override;

private:
    QPointer<QWidget> m_parent;
    const CElements *m_documentSteps;
    const CHTMLHelp *m_help;
};
