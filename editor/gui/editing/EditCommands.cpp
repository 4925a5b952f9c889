#include "gui/editing/EditCommands.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/DocumentCommands.h"
#include "core/document/DocumentHistory.h"
#include "core/document/EditRules.h"
#include "core/document/SelectionState.h"
#include "core/host/MessageService.h"
#include "gui/editing/IStepDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QUndoStack>

#include <algorithm>

EditCommands::EditCommands(CDocument &document, QAbstractItemView *list, IStepDialogs &dialogs,
                           QObject *parent)
    : QObject(parent), m_document(document), m_list(list), m_dialogs(&dialogs),
      m_history(new DocumentHistory(document, this))
{
    if (m_list)
        m_history->setSelectionModel(m_list->selectionModel());
    if (QClipboard *clipboard = QGuiApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this,
                [this] { emit pasteAvailableChanged(ClipboardHasText()); });
    }
}

EditCommands::~EditCommands() = default;

std::vector<int> EditCommands::SelectedRows() const
{
    if (!m_list || !m_list->selectionModel())
        return {};
    return SelectedRowsOf(m_list->selectionModel()->selection());
}

int EditCommands::FirstSelectedIndex() const
{
    if (!m_list || !m_list->selectionModel())
        return -1;
    return SummariseSelection(m_list->selectionModel()->selection(), m_document.RowCount()).First;
}

void EditCommands::SelectOnly(int row)
{
    selectRows({row}, row);
}

// Selects rows (ascending) alone, as runs of consecutive rows, and makes current the current
// row.
void EditCommands::selectRows(const std::vector<int> &rows, int current)
{
    if (!m_list || !m_list->selectionModel())
        return;
    QAbstractItemModel *model = m_list->model();
    const int count = model->rowCount();
    QItemSelection selection;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        if (rows[i] >= 0 && rows[j] < count)
            selection.select(model->index(rows[i], 0), model->index(rows[j], 0));
        i = j + 1;
    }
    QItemSelectionModel *selectionModel = m_list->selectionModel();
    if (current >= 0 && current < count) {
        selectionModel->setCurrentIndex(model->index(current, 0), QItemSelectionModel::NoUpdate);
        m_list->scrollTo(model->index(current, 0));
    }
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
}

void EditCommands::focusList()
{
    if (m_list && m_list->isVisible())
        m_list->setFocus(Qt::OtherFocusReason);
}

int EditCommands::insertDefinition(const QString &elementName, int position, bool selectCloser)
{
    const auto definition = m_document.Catalogue().Item(elementName);
    if (!definition)
        return -1;
    // The dialog edits a scratch copy: the catalogue's definitions keep their values (a
    // definition's Disabled flag or text would otherwise pass to later inserts and pastes).
    CElements scratch;
    const auto step = scratch.AddCopy(*definition, QStringLiteral("NEW"));
    if (!step || !m_dialogs->ShowMe(*step, true))
        return -1;

    // The step and its closing endif or endloop are one undo step.
    std::vector<std::shared_ptr<CElement>> steps{CElements::Copy(*step)};
    const QString closer = EditRules::ClosingElement(step->ElementName);
    if (!closer.isEmpty()) {
        if (const auto closing = m_document.Catalogue().Item(closer))
            steps.push_back(CElements::Copy(*closing));
    }
    const bool closed = steps.size() > 1;
    auto *command = new InsertRowsCommand(*m_history, selectCloser ? tr("Drop") : tr("Insert"),
                                          position, std::move(steps));
    const int row = command->firstRow();
    m_history->stack()->push(command);
    SelectOnly(closed && selectCloser ? row + 1 : row);
    focusList();
    return row;
}

int EditCommands::InsertAction(const QString &elementName)
{
    return insertDefinition(elementName, EditRules::InsertPosition(FirstSelectedIndex()), false);
}

int EditCommands::DropAction(const QString &elementName, int rowUnderPoint)
{
    return insertDefinition(elementName, EditRules::DropPosition(rowUnderPoint), true);
}

bool EditCommands::EditStep()
{
    if (!m_list)
        return false;
    const int row = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    const auto current = m_document.Step(row);
    if (!current)
        return false;
    // The dialogs edit a copy; the command puts its values into the step.
    const std::shared_ptr<CElement> step = CElements::Copy(*current);
    if (step->IsComment) {
        const IStepDialogs::CommentAnswer answer = m_dialogs->AskComment(step->Text, true);
        if (answer.text.isEmpty())
            return false;
        step->Text = answer.text;
    } else if (!m_dialogs->ShowMe(*step, false)) {
        return false;
    }
    m_history->stack()->push(new EditStepCommand(
        *m_history, step->IsComment ? tr("Edit Comment") : tr("Edit"), row, step));
    return true;
}

bool EditCommands::AddComment()
{
    const int first = FirstSelectedIndex();
    const IStepDialogs::CommentAnswer answer = m_dialogs->AskComment(QString(), first < 0);
    if (answer.text.isEmpty())
        return false;
    auto comment = std::make_shared<CElement>();
    comment->IsComment = true;
    comment->Text = answer.text;
    auto *command = new InsertRowsCommand(
        *m_history, tr("Add Comment"),
        EditRules::CommentPosition(first, answer.insertLast, answer.insertBefore), {comment});
    const int row = command->firstRow();
    m_history->stack()->push(command);
    SelectOnly(row);
    focusList();
    return true;
}

bool EditCommands::DeleteSelection(bool ask)
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return false;
    if (ask && ShowMessage(tr("Are you sure you want to delete the selected items?"),
                           MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return false;
    return removeRows(rows, tr("Delete"));
}

bool EditCommands::removeRows(const std::vector<int> &rows, const QString &text)
{
    auto *command = new RemoveRowsCommand(*m_history, text, rows);
    // Clearing the selection first keeps the removal of many rows cheap for the view.
    if (m_list && m_list->selectionModel())
        m_list->selectionModel()->clearSelection();
    m_history->stack()->push(command);
    return true;
}

bool EditCommands::MoveSelection(bool up)
{
    const std::vector<int> rows = SelectedRows();
    // The current row before the move: the model carries its index along with the rows.
    int current = m_list && m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    if (rows.empty() || rows.front() < 0 || rows.back() >= m_document.RowCount() ||
        (up ? rows.front() == 0 : rows.back() == m_document.RowCount() - 1))
        return false;
    m_history->stack()->push(
        new MoveRowsCommand(*m_history, up ? tr("Move Up") : tr("Move Down"), rows, up));
    const int step = up ? -1 : 1;
    std::vector<int> moved(rows);
    for (int &r : moved)
        r += step;
    // The current row moves with the selection when it is one of the moved rows.
    if (std::binary_search(rows.begin(), rows.end(), current))
        current += step;
    else
        current = moved.front();
    selectRows(moved, current);
    return true;
}

void EditCommands::IndentSelection()
{
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty())
        m_history->stack()->push(new DepthCommand(*m_history, tr("Indent"), rows, true));
}

void EditCommands::OutdentSelection()
{
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty())
        m_history->stack()->push(new DepthCommand(*m_history, tr("Outdent"), rows, false));
}

void EditCommands::SetStepsDisabled(bool disabled)
{
    std::vector<int> rows;
    for (int row : SelectedRows()) {
        const StepView step = m_document.View(row);
        if (step && step.Disabled() != disabled)
            rows.push_back(row);
    }
    // The saved file changes with the flag, so the change must not be lost on closing.
    if (!rows.empty())
        m_history->stack()->push(new DisableCommand(
            *m_history, disabled ? tr("Disable") : tr("Enable"), rows, disabled));
}

void EditCommands::SelectAll()
{
    if (!m_list || m_document.RowCount() == 0)
        return;
    m_list->selectAll();
    m_list->setFocus();
}

void EditCommands::GotoStep()
{
    const int line = m_dialogs->AskGoto();
    if (line != 0)
        GotoLine(line);
}

bool EditCommands::GotoLine(int line)
{
    const int count = m_document.RowCount();
    if (count == 0 || line < 1 || line > count) {
        QApplication::beep();
        return false;
    }
    SelectOnly(line - 1);
    focusList();
    return true;
}

bool EditCommands::CopySelection()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return false;
    const QString text = ClipboardText::CopyText(*m_document.Rows(), rows);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    return true;
}

void EditCommands::CutSelection()
{
    if (CopySelection())
        removeRows(SelectedRows(), tr("Cut"));
}

bool EditCommands::PasteText()
{
    if (!ClipboardHasText())
        return false;
    const RowSelection before = m_history->selection();
    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(
        m_document, QGuiApplication::clipboard()->text(), FirstSelectedIndex());
    if (pasted.count <= 0)
        return false;
    // The reader inserted the steps; the history records them as one step.
    auto *command =
        InsertRowsCommand::forInserted(*m_history, tr("Paste"), pasted.first, pasted.count);
    command->setSelectionBefore(before);
    m_history->stack()->push(command);
    // As after inserting them one by one, the last pasted row is the selected one.
    SelectOnly(pasted.last);
    if (m_actionTree && m_actionTree->isVisible())
        m_actionTree->setFocus(Qt::OtherFocusReason);
    return true;
}

bool EditCommands::ClipboardHasText()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}
