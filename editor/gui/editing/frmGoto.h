#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The go-to dialog: asks for a line number. OK is enabled only while the box is not empty and
// accepts only a number that is at least 1 (and fits 32 bits), rounded to a whole number.
class frmGoto final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmGoto)

public:
    explicit frmGoto(QWidget *parent = nullptr);
    ~frmGoto() override;

    // Shows the dialog modally; returns the line number, 0 when cancelled.
    int ShowMe();

    // The result of the last use (for callers that show the dialog themselves).
    int Result() const { return m_result; }
    // Empties the box and the result.
    void Load();

private:
    void okClicked();
    void cancelClicked();

    int m_result = 0;
    QLabel *m_lblLine;
    QLineEdit *m_txtLine;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
};
