// The main window's commands: their handlers, and their enabling and the status panels as the
// rows and the selection change.
#include "gui/mainwindow/frmEdit.h"

#include "core/document/CDocument.h"
#include "core/document/DocumentHistory.h"
#include "core/document/SelectionState.h"
#include "core/settings/CMru.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/steplist/FindBar.h"
#include "gui/steplist/StepListView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTreeWidget>
#include <QUndoStack>

void frmEdit::connectFileCommands()
{
    CommandTable &t = *m_table;
    DocumentController *c = m_controller;
    t.setHandler(Command::FileNew, [c] { c->NewDoc(); });
    t.setHandler(Command::FileOpen, [c] { c->OpenDoc(); });
    t.setHandler(Command::FileSave, [c] { c->SaveDoc(false); });
    t.setHandler(Command::FileSaveAs, [c] { c->SaveDoc(true); });
    t.setHandler(Command::FileRun, [c] { c->RunFile(); });
    // "&Print..." asks for the printer; the toolbar's Print prints on the current one.
    t.setHandler(Command::FilePrint, [this] { PrintDocument(true); });
    t.setButtonHandler(Command::FilePrint, [this] { PrintDocument(false); });
    t.setHandler(Command::FilePageSetup, [this] { ShowPageSetup(); });
    t.setHandler(Command::FilePreview, [this] { ShowPrintPreview(); });
    t.setHandler(Command::FileExit, [this] { close(); });
    t.setHandler(Command::HelpContents, [this] { HelpCommand(false); });
    t.setHandler(Command::HelpAbout, [this] { ShowAbout(); });
    // F1 (a window shortcut) looks up the selected step; the menu opens the start page.
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { HelpCommand(true); });
}

void frmEdit::connectEditCommands()
{
    CommandTable &t = *m_table;
    EditCommands *c = m_commands;
    t.setHandler(Command::EditCut, [c] { c->CutSelection(); });
    t.setHandler(Command::EditCopy, [c] { c->CopySelection(); });
    t.setHandler(Command::EditPaste, [c] { c->PasteText(); });
    t.setHandler(Command::EditDelete, [c] { c->DeleteSelection(true); });
    t.setHandler(Command::EditGoto, [c] { c->GotoStep(); });
    t.setHandler(Command::EditMoveUp, [c] { c->MoveSelection(true); });
    t.setHandler(Command::EditMoveDown, [c] { c->MoveSelection(false); });
    t.setHandler(Command::EditComment, [c] { c->AddComment(); });
    t.setHandler(Command::EditSelectAll, [c] { c->SelectAll(); });
    t.setHandler(Command::EditDisable, [c] { c->SetStepsDisabled(true); });
    t.setHandler(Command::EditEnable, [c] { c->SetStepsDisabled(false); });
    t.setHandler(Command::EditProperties, [this] { ShowFileProperties(); });
    t.setHandler(Command::EditOptions, [this] { ShowOptions(); });
    // These buttons of the steps toolbar give the focus back to the list.
    for (Command command : {Command::EditMoveUp, Command::EditMoveDown, Command::EditComment})
        connect(t.button(command), &QAction::triggered, m_list, [this] { m_list->setFocus(); });
    t.setHandler(Command::EditIndent, [this] {
        m_commands->IndentSelection();
        m_list->relayout();
        afterStepsButton();
    });
    t.setHandler(Command::EditOutdent, [this] {
        m_commands->OutdentSelection();
        m_list->relayout();
        afterStepsButton();
    });

    connect(m_atv, &ActionTree::HelpRequested, this, [this] { HelpCommand(true); });
    connect(m_atv, &ActionTree::NodeClick, c, [c](QTreeWidgetItem *node) {
        if (node != nullptr && !ActionTree::IsFolder(node))
            c->InsertAction(ActionTree::KeyOf(node));
    });
    connect(m_list, &StepListView::actionDropped, c,
            [c](const QString &elementName, int row) { c->DropAction(elementName, row); });
    connect(
        m_list, &StepListView::rowsDropped, c,
        [c](const std::vector<int> &rows, int row, bool copy) { c->DropRows(rows, row, copy); });
    connect(m_list, &StepListView::textDropped, c,
            [c](const QString &text, int row) { c->DropText(text, row); });
    connect(m_list, &StepListView::editRequested, c, [c] { c->EditStep(); });
    connect(m_list, &StepListView::contextMenuRequested, this,
            [this](const QPoint &at) { menu(QStringLiteral("mnuEdit"))->popup(at); });
    // Paste follows the clipboard: enabled while it holds text.
    QClipboard *clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, this, [this, clipboard] {
        m_table->setEnabled(Command::EditPaste, !clipboard->text().isEmpty());
    });
}

void frmEdit::connectViewCommands()
{
    CommandTable &t = *m_table;
    const auto checked = [this](Command command) {
        return m_table->action(command)->isChecked();
    };
    const auto pressed = [this](Command command) {
        return m_table->button(command)->isChecked();
    };
    t.setHandler(Command::ViewToolbars,
                 [=] { setToolbarsVisible(checked(Command::ViewToolbars)); });
    t.setHandler(Command::ViewStatusbar,
                 [=] { setStatusBarVisible(checked(Command::ViewStatusbar)); });
    t.setHandler(Command::ViewActions,
                 [=] { setActionTreeVisible(checked(Command::ViewActions)); });
    t.setHandler(Command::ViewWordWrap, [=] { setWordWrap(checked(Command::ViewWordWrap)); });
    t.setHandler(Command::ViewLineNumbers,
                 [=] { setLineNumbers(checked(Command::ViewLineNumbers)); });
    t.setHandler(Command::ViewText, [this] { setShowZML(!ShowZML()); });
    t.setHandler(Command::ViewSource, [this] { setShowZML(!ShowZML()); });
    t.setHandler(Command::ViewIconNone, [this] { setIconStyle(0); });
    t.setHandler(Command::ViewIconSmall, [this] { setIconStyle(1); });
    t.setHandler(Command::ViewIconLarge, [this] { setIconStyle(2); });
    t.setHandler(Command::ViewIconSize, [this] {
        setIconStyle((IconStyle() + 1) % 3);
        afterStepsButton();
    });
    t.setButtonHandler(Command::ViewWordWrap, [=] {
        setWordWrap(pressed(Command::ViewWordWrap));
        afterStepsButton();
    });
    t.setButtonHandler(Command::ViewLineNumbers, [=] {
        setLineNumbers(pressed(Command::ViewLineNumbers));
        afterStepsButton();
    });
    t.setButtonHandler(Command::ViewSource, [=] {
        setShowZML(pressed(Command::ViewSource));
        afterStepsButton();
    });
    connect(m_atv, &ActionTree::CloseRequested, this, [this] { setActionTreeVisible(false); });
    connect(m_atv, &ActionTree::StatusText, this,
            [this](const QString &text) { m_panels.value(QStringLiteral("Text"))->setText(text); });
}

void frmEdit::connectDocument()
{
    connect(m_doc, &CDocument::fileNameChanged, this, &frmEdit::updateCaption);
    connect(m_doc, &CDocument::dirtyChanged, this, &frmEdit::updateCaption);
    connect(m_doc, &CDocument::loadingStarted, this,
            [this] { m_list->setPaintingSuspended(true); });
    connect(m_doc, &CDocument::loadingFinished, this,
            [this] { m_list->setPaintingSuspended(false); });
    connect(m_doc, &CDocument::stepInserted, this, [this](int row) {
        const QModelIndex index = m_doc->Rows()->index(row, 0);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
        m_list->setFocus();
    });

    StepRowsModel *rows = m_doc->Rows();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &frmEdit::onRowsChanged);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &frmEdit::onRowsChanged);
    connect(rows, &QAbstractItemModel::modelReset, this, &frmEdit::onRowsChanged);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &frmEdit::RefreshSelectionState);
    QItemSelectionModel *selection = m_list->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &frmEdit::RefreshSelectionState);
    connect(selection, &QItemSelectionModel::currentChanged, this, &frmEdit::RefreshSelectionState);
    connect(m_list, &QAbstractItemView::clicked, this, &frmEdit::RefreshSelectionState);

    connect(m_controller, &DocumentController::fileChanged, this, &frmEdit::updateCaption);
    connect(m_controller, &DocumentController::cleared, this, [this] {
        RefreshSelectionState();
        m_list->setFocus();
    });
    connect(m_controller, &DocumentController::aboutToOpen, this,
            [this] { m_list->selectionModel()->clear(); });
    connect(m_controller, &DocumentController::openFinished, this, &frmEdit::onOpenFinished);
}

void frmEdit::onOpenFinished(bool read)
{
    m_list->setPaintingSuspended(false);
    if (!read)
        return;
    m_list->scrollToTop();
    // The first row is selected, and the keyboard goes to the actions.
    if (m_doc->RowCount() > 0)
        m_list->selectionModel()->setCurrentIndex(m_doc->Rows()->index(0, 0),
                                                  QItemSelectionModel::ClearAndSelect);
    RefreshSelectionState();
    m_atv->setFocus();
}

void frmEdit::RefreshSelectionState()
{
    if (m_panels.isEmpty() || m_commands == nullptr)
        return; // still being built
    if (!m_list->DropMarker().isEmpty()) {
        m_list->setDropMarker(QString());
        m_list->setFocus();
    }
    EnablingState state;
    state.RowCount = m_doc->RowCount();
    const SelectionSummary selected =
        SummariseSelection(m_list->selectionModel()->selection(), state.RowCount);
    state.SelectedCount = selected.Count;
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    QString information;
    if (current >= 0) {
        if (const StepView step = m_doc->View(current))
            information = step.Information();
    }
    state.Selection = ComputeSelectionState(state.RowCount, selected.Count, selected.FirstRow,
                                            selected.LastRow, current, information);
    state.ClipboardText = EditCommands::ClipboardHasText();
    m_panels.value(QStringLiteral("Text"))->setText(state.Selection.TextPanel);
    m_panels.value(QStringLiteral("Line"))->setText(state.Selection.LinePanel);
    m_table->applyEnabling(state);
}

void frmEdit::onRowsChanged()
{
    const int count = m_doc->RowCount();
    if (m_list->currentIndex().isValid()) {
        RefreshSelectionState();
        return;
    }
    m_table->setEnabled(Command::FileRun, count > 0);
    if (count == 0) {
        RefreshSelectionState();
        m_panels.value(QStringLiteral("Text"))->clear();
    }
    m_panels.value(QStringLiteral("Line"))->setText(StepsPanelText(count));
}

void frmEdit::afterStepsButton()
{
    QCoreApplication::processEvents();
    m_list->setFocus();
}

void frmEdit::connectHistory()
{
    DocumentHistory &history = m_commands->history();
    QUndoStack *stack = history.stack();
    m_table->setHandler(Command::EditUndo, [stack] { stack->undo(); });
    m_table->setHandler(Command::EditRedo, [stack] { stack->redo(); });
    // The items name what they undo or redo ("&Undo Delete"), the buttons' tips likewise.
    const auto update = [this, stack] {
        const auto show = [this](Command command, bool enabled, const QString &item,
                                 const QString &tip) {
            m_table->setEnabled(command, enabled);
            action(command)->setText(item);
            button(command)->setToolTip(tip);
        };
        const QString undo = stack->undoText();
        const QString redo = stack->redoText();
        show(Command::EditUndo, stack->canUndo(),
             undo.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo),
             undo.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undo));
        show(Command::EditRedo, stack->canRedo(),
             redo.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redo),
             redo.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redo));
    };
    connect(stack, &QUndoStack::canUndoChanged, this, update);
    connect(stack, &QUndoStack::canRedoChanged, this, update);
    connect(stack, &QUndoStack::undoTextChanged, this, update);
    connect(stack, &QUndoStack::redoTextChanged, this, update);
    // Depths may change with any step of the history.
    connect(stack, &QUndoStack::indexChanged, m_list, [this] { m_list->relayout(); });
    // New and Open start a fresh history.
    connect(m_controller, &DocumentController::cleared, &history, &DocumentHistory::clear);
    // A recovered script is read marked changed, which the fresh history keeps.
    connect(m_controller, &DocumentController::openFinished, &history, [this, &history](bool read) {
        if (read && m_doc->Dirty())
            history.clearUnsaved();
        else if (read)
            history.clear();
    });
    update();
}

void frmEdit::connectFind()
{
    m_table->setHandler(Command::EditFind, [this] { m_findBar->open(); });
    m_table->setHandler(Command::EditFindNext, [this] { m_findBar->findNext(true); });
    m_table->setHandler(Command::EditFindPrevious, [this] { m_findBar->findNext(false); });
    connect(m_findBar, &FindBar::wrapped, this,
            [this] { m_panels.value(QStringLiteral("Text"))->setText(tr("Search wrapped")); });
}
