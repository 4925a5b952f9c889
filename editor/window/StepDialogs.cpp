#include "window/StepDialogs.h"

#include "properties/frmActionProp.h"
#include "window/frmComment.h"
#include "window/frmGoto.h"

StepDialogs::StepDialogs(QWidget *parent, const CElements *documentSteps, const CHTMLHelp *help)
    : m_parent(parent), m_documentSteps(documentSteps), m_help(help)
{}

bool StepDialogs::ShowMe(CElement &step, bool useDefaults)
{
    frmActionProp dialog(m_documentSteps, m_help, m_parent);
    return dialog.ShowMe(step, useDefaults);
}

IStepDialogs::CommentAnswer StepDialogs::AskComment(const QString &text, bool hideCheckBox)
{
    frmComment dialog(m_parent);
    dialog.HideCheckBox(hideCheckBox);
    CommentAnswer answer;
    answer.text = dialog.ShowMe(text);
    answer.insertLast = dialog.InsertLast();
    return answer;
}

int StepDialogs::AskGoto()
{
    frmGoto dialog(m_parent);
    return dialog.ShowMe();
}
