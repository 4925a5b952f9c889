#include "gui/mainwindow/EditBindings.h"

#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/steplist/StepListView.h"

#include <QAction>

void BindEditCommands(frmEdit &window, EditCommands &commands)
{
    EditCommands *c = &commands;
    window.bindCommand(QStringLiteral("mnuEditCut"), [c] { c->CutSelection(); });
    window.bindCommand(QStringLiteral("mnuEditCopy"), [c] { c->CopySelection(); });
    window.bindCommand(QStringLiteral("mnuEditPaste"), [c] { c->PasteText(); });
    window.bindCommand(QStringLiteral("mnuEditDelete"), [c] { c->DeleteSelection(true); });
    window.bindCommand(QStringLiteral("mnuEditGoto"), [c] { c->GotoStep(); });
    window.bindCommand(QStringLiteral("mnuEditMoveUp"), [c] { c->MoveSelection(true); });
    window.bindCommand(QStringLiteral("mnuEditMoveDown"), [c] { c->MoveSelection(false); });
    window.bindCommand(QStringLiteral("mnuEditComment"), [c] { c->AddComment(); });
    window.bindCommand(QStringLiteral("mnuEditDisable"), [c] { c->SetStepsDisabled(true); });
    window.bindCommand(QStringLiteral("mnuEditEnable"), [c] { c->SetStepsDisabled(false); });

    // After a button of the steps toolbar the focus returns to the step list.
    StepListView *list = window.List();
    for (const char *key : {"tlbSteps/MoveUp", "tlbSteps/MoveDown", "tlbSteps/Comment"}) {
        if (QAction *button = window.action(QString::fromLatin1(key)))
            QObject::connect(button, &QAction::triggered, list, [list] { list->setFocus(); });
    }

    QObject::connect(&window, &frmEdit::actionClicked, c,
                     [c](const QString &elementName) { c->InsertAction(elementName); });
    QObject::connect(&window, &frmEdit::actionDropped, c,
                     [c](const QString &elementName, int row) { c->DropAction(elementName, row); });
    QObject::connect(&window, &frmEdit::editRequested, c, [c] { c->EditStep(); });
    c->setActionTree(window.Tree());

    // "Add a comment" is always available; Paste follows the clipboard.
    for (const char *name : {"mnuEditComment", "tlbSteps/Comment"}) {
        if (QAction *item = window.action(QString::fromLatin1(name)))
            item->setEnabled(true);
    }
    window.SetPasteEnabled(EditCommands::ClipboardHasText());
    window.RefreshSelectionState();
}
