#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The comment dialog: a multi-line text box and the check box "Add to bottom of the script".
// Enter in the text box starts a new line; OK is enabled only while the box is not empty.
class frmComment final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmComment)

public:
    explicit frmComment(QWidget *parent = nullptr);
    ~frmComment() override;

    // Hides the check box when flag is set; a hidden check box is also cleared.
    void HideCheckBox(bool flag);
    // Shows the dialog modally with text in the box; returns the text confirmed with OK (lines
    // separated by CR LF), "" when cancelled.
    QString ShowMe(const QString &text);

    // The parts of ShowMe for callers that show the dialog themselves.
    void Load(const QString &text);
    QString Result() const { return m_result; }
    // The check box was ticked when OK was pressed.
    bool InsertLast() const { return m_insertLast; }
    // "Insert before the selection" was ticked when OK was pressed (shown and hidden with the
    // check box; the choice is remembered).
    bool InsertBefore() const { return m_insertBefore; }

private:
    void okClicked();
    void cancelClicked();
    void updateOk();

    QString m_result;
    bool m_insertLast = false;
    bool m_insertBefore = false;
    QLabel *m_lblHeader;
    QLabel *m_lblInfo;
    QPlainTextEdit *m_txtComment;
    QCheckBox *m_chkBottom;
    QCheckBox *m_chkBefore;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
};
