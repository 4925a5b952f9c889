#pragma once

#include <QPointer>
#include <QWidget>

class CDocument;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class StepListView;

// The find bar under the step list (not modal): a text field, previous and next buttons,
// "Match case" and a close button. Find next and previous select only the found row and show
// it; typing finds from the current row. "Not found" shows in the bar; passing the end of the
// script is reported through wrapped(). Escape closes the bar and gives the list the focus.
class FindBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindBar)

public:
    FindBar(CDocument &document, StepListView *list, QWidget *parent = nullptr);

    // Shows the bar with its text selected and the focus in the field.
    void open();
    // Hides the bar and gives the list the focus.
    void close();
    // Finds the next (or previous) matching row after (before) the current one; opens the bar
    // when there is nothing to find yet. True when a row was found.
    bool findNext(bool forward = true);

    QLineEdit *field() const { return m_text; }
    QCheckBox *matchCase() const { return m_matchCase; }
    QLabel *note() const { return m_note; }

signals:
    // The search went past the end (or the start) of the script to find its row.
    void wrapped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Escape anywhere in the bar closes it.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool find(int start, bool forward);

    CDocument &m_document;
    QPointer<StepListView> m_list;
    QLineEdit *m_text;
    QToolButton *m_previous;
    QToolButton *m_next;
    QCheckBox *m_matchCase;
    QLabel *m_note;
    QToolButton *m_close;
};
