#include "gui/editing/StepDialogs.h"

#include "gui/editing/frmComment.h"
#include "gui/editing/frmGoto.h"
#include "gui/properties/frmActionProp.h"
#include "gui/widgets/ModalRunner.h"

StepDialogs::StepDialogs(QWidget *parent, VariableNames variableNames, const CHTMLHelp *help)
    : m_parent(parent), m_variableNames(std::move(variableNames)), m_help(help)
{}

bool StepDialogs::ShowMe(CElement &step, bool useDefaults)
{
    frmActionProp dialog(m_variableNames, m_help, m_parent);
    if (!dialog.Load(step, useDefaults))
        return true;
    RunModal(dialog);
    return dialog.Finish();
}

IStepDialogs::CommentAnswer StepDialogs::AskComment(const QString &text, bool hideCheckBox)
{
    frmComment dialog(m_parent);
    dialog.HideCheckBox(hideCheckBox);
    CommentAnswer answer;
    dialog.Load(text);
    RunModal(dialog);
    answer.text = dialog.Result();
    answer.insertLast = dialog.InsertLast();
    answer.insertBefore = dialog.InsertBefore();
    return answer;
}

int StepDialogs::AskGoto()
{
    frmGoto dialog(m_parent);
    dialog.Load();
    RunModal(dialog);
    return dialog.Result();
}
