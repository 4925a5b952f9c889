#include "gui/mainwindow/ProblemsPanel.h"

#include "core/document/CDocument.h"
#include "gui/steplist/StepListView.h"

#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kRowRole = Qt::UserRole + 1;

} // namespace

ProblemsPanel::ProblemsPanel(CDocument &document, StepListView &list, QWidget *parent)
    : QDockWidget(tr("Problems"), parent), m_document(document), m_list(list),
      m_timer(new QTimer(this)), m_table(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("dckProblems"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    m_table->setObjectName(QStringLiteral("lvwProblems"));
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setHeaderLabels({tr("Line"), tr("Problem")});
    m_table->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->header()->setStretchLastSection(true);
    setWidget(m_table);
    toggleViewAction()->setObjectName(QStringLiteral("mnuViewProblems"));

    m_timer->setSingleShot(true);
    m_timer->setInterval(kDelay);
    connect(m_timer, &QTimer::timeout, this, &ProblemsPanel::checkNow);
    // Enter and a double click both activate an entry.
    connect(m_table, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item != nullptr)
            emit rowActivated(item->data(0, kRowRole).toInt());
    });

    // Every change of the script reaches the rows model: rows inserted, removed or moved,
    // a step edited (its row's data), a document opened or started afresh.
    const StepRowsModel *rows = m_document.Rows();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &ProblemsPanel::schedule);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &ProblemsPanel::schedule);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &ProblemsPanel::schedule);
    connect(rows, &QAbstractItemModel::dataChanged, this, &ProblemsPanel::schedule);
    connect(rows, &QAbstractItemModel::modelReset, this, &ProblemsPanel::schedule);
    connect(rows, &QAbstractItemModel::layoutChanged, this, &ProblemsPanel::schedule);
    connect(&m_document, &CDocument::loadingFinished, this, &ProblemsPanel::checkNow);
}

bool ProblemsPanel::checkPending() const
{
    return m_timer->isActive();
}

void ProblemsPanel::schedule()
{
    m_timer->start(); // restarts: the check waits for a pause in the changes
}

void ProblemsPanel::checkNow()
{
    m_timer->stop();
    std::vector<ScriptChecks::Problem> found = ScriptChecks::CheckDocument(m_document);
    if (found == m_problems)
        return;
    m_problems = std::move(found);
    fill();
    emit countChanged(static_cast<int>(m_problems.size()));
}

void ProblemsPanel::fill()
{
    QHash<int, QString> byRow;
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(m_problems.size()));
    for (const ScriptChecks::Problem &problem : m_problems) {
        auto *item = new QTreeWidgetItem({QString::number(problem.row + 1), problem.text});
        item->setData(0, kRowRole, problem.row);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
        QString &text = byRow[problem.row];
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += problem.text;
    }
    m_table->clear();
    m_table->addTopLevelItems(items);
    m_list.setProblems(std::move(byRow));
}

void ProblemsPanel::showRow(int row)
{
    checkNow();
    show();
    raise();
    for (int i = 0, count = m_table->topLevelItemCount(); i < count; ++i) {
        QTreeWidgetItem *item = m_table->topLevelItem(i);
        if (row < 0 || item->data(0, kRowRole).toInt() == row) {
            m_table->setCurrentItem(item);
            m_table->scrollToItem(item);
            return;
        }
    }
}

QString ProblemsPanel::countText(int count)
{
    if (count == 0)
        return tr("No problems");
    return count == 1 ? tr("1 problem") : tr("%1 problems").arg(count);
}
