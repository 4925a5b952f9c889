#pragma once

#include <fieldpane/CListItem.h>

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class CElement;
class CElements;
class CHTMLHelp;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace Fieldpane {
class PropertyList;
}

// The step properties dialog: one grid row per attribute of a step, typed by the attribute's
// DataType, a row for the step's text when the action carries text, and the "Enabled" check
// box. It edits the step in place and only when the user confirms.
class frmActionProp final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmActionProp)

public:
    // Key of the grid row that holds the step's text.
    static constexpr const char *kTextRowKey = "TEXT:";

    // The variable (ranges false) or range names (true) offered by rows of DataType 8 and 9.
    using VariableNames = std::function<QStringList(bool ranges)>;

    // variableNames supplies the names (may be empty); help shows the action's help topic
    // (null: the program's help file).
    explicit frmActionProp(VariableNames variableNames, const CHTMLHelp *help = nullptr,
                           QWidget *parent = nullptr);
    // The names of the steps of documentSteps (may be null).
    explicit frmActionProp(const CElements *documentSteps, const CHTMLHelp *help = nullptr,
                           QWidget *parent = nullptr);
    ~frmActionProp() override;

    // Edits step modally. True when the user confirmed (the values are then in step) or when
    // the step has neither attributes nor text (nothing is shown); false when cancelled.
    // useDefaults fills the rows with the attributes' default values and an empty text.
    bool ShowMe(CElement &step, bool useDefaults);

    // The parts of ShowMe, for callers that show the dialog themselves: Load fills the dialog
    // (false when there is nothing to edit), Finish writes the values back when the dialog
    // was confirmed and returns whether it was.
    bool Load(CElement &step, bool useDefaults);
    bool Finish();
    bool Accepted() const { return m_accepted; }

private:
    // The icon, name and description above the grid; the check box, help link and buttons
    // below it.
    void createHeader();
    void createFooter();
    void okClicked();
    void cancelClicked();
    void showHelp();
    void setIcon(const QString &elementName);

    VariableNames m_variableNames;
    const CHTMLHelp *m_help;
    CElement *m_step = nullptr;
    bool m_accepted = false;
    bool m_disabled = false;
    std::vector<Fieldpane::CListItem> m_rows; // kept from OK until Finish

    QLabel *m_lblHeader;
    QLabel *m_imgIcon;
    QPlainTextEdit *m_txtDescription;
    QTabWidget *m_tbs;
    Fieldpane::PropertyList *m_props;
    QCheckBox *m_chkEnabled;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    QLabel *m_lblHelp;
};
