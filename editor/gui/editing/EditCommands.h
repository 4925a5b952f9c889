#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class CDocument;
class DocumentHistory;
class IStepDialogs;
class QAbstractItemView;
class QWidget;

// The commands that change the script from the step list: inserting actions (from the action
// tree and by dropping), editing, comments, deleting, moving, indenting, enabling and
// disabling, selecting, going to a step, and the clipboard. They act on the selection of the
// list view, whose model is the document's rows, and ask the user through IStepDialogs.
class EditCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditCommands)

public:
    EditCommands(CDocument &document, QAbstractItemView *list, IStepDialogs &dialogs,
                 QObject *parent = nullptr);
    ~EditCommands() override;

    // The dialogs that the commands ask (not owned; must outlive their use).
    void setDialogs(IStepDialogs &dialogs) { m_dialogs = &dialogs; }
    IStepDialogs &dialogs() const { return *m_dialogs; }
    // The widget that gets the focus after a paste (the action tree).
    void setActionTree(QWidget *actionTree) { m_actionTree = actionTree; }
    // The undo history of the document: every command below that changes it pushes an undo
    // command there.
    DocumentHistory &history() const { return *m_history; }

    // Selected rows in ascending order.
    std::vector<int> SelectedRows() const;
    // Lowest selected row; -1 when nothing is selected.
    int FirstSelectedIndex() const;
    // Makes row the only selected and the current row and shows it.
    void SelectOnly(int row);

    // Inserts an action of the catalogue after the first selected row (or at the end), after
    // the user confirmed its properties; an if or loop gets its closing step, and the opening
    // row ends selected. Returns the new row, -1 when nothing was inserted.
    int InsertAction(const QString &elementName);
    // Inserts an action dropped on the list above rowUnderPoint (-1: at the end); the closing
    // row of an if or loop ends selected. Returns the new row, -1 when nothing was inserted.
    int DropAction(const QString &elementName, int rowUnderPoint);
    // Opens the current step for editing; true when it was changed.
    bool EditStep();
    // Asks for a comment and inserts it; true when one was inserted.
    bool AddComment();
    // Deletes the selected steps, first asking when ask is set; true when any was deleted.
    bool DeleteSelection(bool ask);
    // Moves the selected rows one place up or down; true when they moved.
    bool MoveSelection(bool up);
    // Adds or removes one level of indent on the selected rows.
    void IndentSelection();
    void OutdentSelection();
    // Disables or enables the selected steps.
    void SetStepsDisabled(bool disabled);
    // Selects every row.
    void SelectAll();
    // Asks for a line number and goes there.
    void GotoStep();
    // Selects row line - 1 alone and focuses the list; beeps when there is no such row.
    bool GotoLine(int line);

    // Puts the selected steps on the clipboard as text; false (clipboard unchanged) when
    // nothing is selected.
    bool CopySelection();
    // Copies the selected steps, then deletes them without asking.
    void CutSelection();
    // Inserts the steps of the clipboard text before the first selected row (or at the end);
    // true when any was inserted. Text that is not well-formed is ignored silently.
    bool PasteText();
    // True while the clipboard holds text.
    static bool ClipboardHasText();

    // Rows of the list dragged and dropped above rowUnderPoint (-1: at the end): their
    // clipboard text is pasted there (depths follow the block they land in, as for a paste),
    // and a move first removes them. The dropped rows end selected in their order. Returns
    // the number of rows dropped; 0 when nothing changed (a move onto its own rows). A move or
    // a copy is one step of the history.
    int DropRows(const std::vector<int> &rows, int rowUnderPoint, bool copy);
    // ZML text dropped from another program, pasted above rowUnderPoint (-1: at the end);
    // returns the number of steps inserted (0 for text that is not well-formed).
    int DropText(const QString &text, int rowUnderPoint);

signals:
    // The clipboard started or stopped holding text.
    void pasteAvailableChanged(bool available);

private:
    // Pastes dropped text at position (-1: the end) as one undo step and selects its rows;
    // returns their count.
    int pasteDropped(const QString &text, int position, const QString &undoText);
    int insertDefinition(const QString &elementName, int position, bool selectCloser);
    bool removeRows(const std::vector<int> &rows, const QString &text);
    void selectRows(const std::vector<int> &rows, int current);
    void focusList();

    CDocument &m_document;
    QPointer<QAbstractItemView> m_list;
    IStepDialogs *m_dialogs;
    QPointer<QWidget> m_actionTree;
    DocumentHistory *m_history;
};
