#pragma once

#include "core/recovery/RecoveryPrompt.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;

// The recovery dialog at start-up: one row per recovery file (file name or "[Untitled]",
// folder, time of the last autosave; a file that cannot be read says so). "Recover" opens the
// selected script, "Discard" removes the selected row's files, "Later" keeps the rest.
class frmRecover final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmRecover)

public:
    explicit frmRecover(const std::vector<RecoveryEntry> &entries, QWidget *parent = nullptr);

    // One choice per entry, after the dialog closed.
    const std::vector<RecoveryChoice> &choices() const { return m_choices; }
    QTreeWidget *list() const { return m_list; }
    QPushButton *recoverButton() const { return m_recover; }
    QPushButton *discardButton() const { return m_discard; }
    QPushButton *laterButton() const { return m_later; }

    // Shows the dialog (through RunModal) and returns the choices.
    static std::vector<RecoveryChoice> Ask(const std::vector<RecoveryEntry> &entries);

private:
    int selectedEntry() const;
    void updateButtons();
    void choose(RecoveryChoice choice);

    std::vector<RecoveryEntry> m_entries;
    std::vector<RecoveryChoice> m_choices;
    QTreeWidget *m_list;
    QPushButton *m_recover;
    QPushButton *m_discard;
    QPushButton *m_later;
};

// Installs frmRecover::Ask as the program's recovery chooser.
void InstallRecoveryDialog();
