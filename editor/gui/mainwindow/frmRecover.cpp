#include "gui/mainwindow/frmRecover.h"

#include "gui/widgets/ModalRunner.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmRecover::frmRecover(const std::vector<RecoveryEntry> &entries, QWidget *parent)
    : QDialog(parent), m_entries(entries), m_choices(entries.size(), RecoveryChoice::Later),
      m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("frmRecover"));
    setWindowTitle(tr("Recover Scripts"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("These scripts had unsaved changes when the program stopped:"), this));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("File"), tr("Folder"), tr("Saved")});
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const RecoveryEntry &entry = m_entries[i];
        QString name = RecoveryDisplayName(entry);
        if (!entry.readable)
            name += tr(" (cannot be read)");
        auto *item =
            new QTreeWidgetItem(m_list, {name, RecoveryDisplayFolder(entry),
                                         QLocale().toString(entry.saved, QLocale::ShortFormat)});
        item->setData(0, Qt::UserRole, int(i));
        item->setToolTip(0, entry.textFile);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox(this);
    m_recover = buttons->addButton(tr("&Recover"), QDialogButtonBox::AcceptRole);
    m_discard = buttons->addButton(tr("&Discard"), QDialogButtonBox::ActionRole);
    m_later = buttons->addButton(tr("&Later"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(m_recover, &QPushButton::clicked, this, [this] { choose(RecoveryChoice::Recover); });
    connect(m_discard, &QPushButton::clicked, this, [this] { choose(RecoveryChoice::Discard); });
    connect(m_later, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &frmRecover::updateButtons);
    updateButtons();
    resize(560, 260);
}

int frmRecover::selectedEntry() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void frmRecover::updateButtons()
{
    const int entry = selectedEntry();
    m_recover->setEnabled(entry >= 0 && m_entries[std::size_t(entry)].readable);
    m_discard->setEnabled(entry >= 0);
}

void frmRecover::choose(RecoveryChoice choice)
{
    const int entry = selectedEntry();
    if (entry < 0)
        return;
    m_choices[std::size_t(entry)] = choice;
    if (choice == RecoveryChoice::Recover) {
        accept();
        return;
    }
    delete m_list->currentItem();
    if (m_list->topLevelItemCount() == 0)
        reject();
    updateButtons();
}

std::vector<RecoveryChoice> frmRecover::Ask(const std::vector<RecoveryEntry> &entries)
{
    frmRecover dialog(entries, QApplication::activeWindow());
    RunModal(dialog);
    return dialog.choices();
}

void InstallRecoveryDialog()
{
    SetRecoveryChooser(&frmRecover::Ask);
}
