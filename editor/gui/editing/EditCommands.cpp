#include "gui/editing/EditCommands.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
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

#include <algorithm>

EditCommands::EditCommands(CDocument &document, QAbstractItemView *list, IStepDialogs &dialogs,
                           QObject *parent)
    : QObject(parent), m_document(document), m_list(list), m_dialogs(&dialogs)
{
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

    const int row = m_document.InsertStep(*step, position);
    int selected = row;
    const QString closer = EditRules::ClosingElement(step->ElementName);
    if (!closer.isEmpty()) {
        if (const auto closing = m_document.Catalogue().Item(closer)) {
            const int closingRow = m_document.InsertStep(*closing, row + 1);
            if (selectCloser)
                selected = closingRow;
        }
    }
    SelectOnly(selected);
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
    const auto step = m_document.Step(row);
    if (!step)
        return false;
    if (step->IsComment) {
        const IStepDialogs::CommentAnswer answer = m_dialogs->AskComment(step->Text, true);
        if (answer.text.isEmpty())
            return false;
        step->Text = answer.text;
    } else if (!m_dialogs->ShowMe(*step, false)) {
        return false;
    }
    m_document.RefreshRow(row);
    m_document.SetDirty(true);
    return true;
}

bool EditCommands::AddComment()
{
    const int first = FirstSelectedIndex();
    const IStepDialogs::CommentAnswer answer = m_dialogs->AskComment(QString(), first < 0);
    if (answer.text.isEmpty())
        return false;
    CElement comment;
    comment.IsComment = true;
    comment.Text = answer.text;
    const int row = m_document.InsertStep(
        comment, EditRules::CommentPosition(first, answer.insertLast, answer.insertBefore));
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
    // Clearing the selection first keeps the removal of many rows cheap for the view.
    if (m_list && m_list->selectionModel())
        m_list->selectionModel()->clearSelection();
    return m_document.RemoveSteps(rows) > 0;
}

bool EditCommands::MoveSelection(bool up)
{
    const std::vector<int> rows = SelectedRows();
    // The current row before the move: the model carries its index along with the rows.
    int current = m_list && m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    if (rows.empty() || !m_document.MoveSteps(rows, up))
        return false;
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
    m_document.Indent(SelectedRows());
}

void EditCommands::OutdentSelection()
{
    m_document.Outdent(SelectedRows());
}

void EditCommands::SetStepsDisabled(bool disabled)
{
    bool changed = false;
    for (int row : SelectedRows()) {
        const auto step = m_document.Step(row);
        if (!step || step->Disabled == disabled)
            continue;
        step->Disabled = disabled;
        m_document.RefreshRow(row);
        changed = true;
    }
    // The saved file changes with the flag, so the change must not be lost on closing.
    if (changed)
        m_document.SetDirty(true);
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
        DeleteSelection(false);
}

bool EditCommands::PasteText()
{
    if (!ClipboardHasText())
        return false;
    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(
        m_document, QGuiApplication::clipboard()->text(), FirstSelectedIndex());
    if (pasted.count <= 0)
        return false;
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
