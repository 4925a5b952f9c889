#pragma once

#include "gui/editing/IStepDialogs.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class CHTMLHelp;

// The real dialogs, each created for one use as a modal child of the parent window and run
// through RunModal.
class StepDialogs final : public IStepDialogs {
public:
    // The variable (ranges false) or range names (true) of the properties dialog.
    using VariableNames = std::function<QStringList(bool ranges)>;

    StepDialogs(QWidget *parent, VariableNames variableNames, const CHTMLHelp *help = nullptr);

    bool ShowMe(CElement &step, bool useDefaults) override;
    CommentAnswer AskComment(const QString &text, bool hideCheckBox) override;
    int AskGoto() override;

private:
    QPointer<QWidget> m_parent;
    VariableNames m_variableNames;
    const CHTMLHelp *m_help;
};
