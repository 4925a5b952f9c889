#include "core/document/SelectionState.h"

#include <QCoreApplication>

#include <algorithm>

SelectionSummary SummariseSelection(const QItemSelection &selection, int rowCount)
{
    SelectionSummary s;
    for (const QItemSelectionRange &range : selection) {
        if (range.parent().isValid())
            continue;
        s.Count += range.height();
        if (s.First < 0 || range.top() < s.First)
            s.First = range.top();
        s.FirstRow = s.FirstRow || range.top() == 0;
        s.LastRow = s.LastRow || range.bottom() == rowCount - 1;
    }
    return s;
}

std::vector<int> SelectedRowsOf(const QItemSelection &selection)
{
    std::vector<int> rows;
    for (const QItemSelectionRange &range : selection) {
        if (range.parent().isValid())
            continue;
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

SelectionState ComputeSelectionState(int rowCount, int selectedCount, bool firstSelected,
                                     bool lastSelected, int current,
                                     const QString &currentInformation)
{
    SelectionState s;
    if (selectedCount > 0) {
        if (selectedCount >= 2) {
            s.TextPanel = QCoreApplication::translate("frmEdit", "<Multiple selection>");
        } else {
            s.TextPanel = currentInformation;
            s.TextPanel.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        }
        s.MoveUp = !firstSelected;
        s.MoveDown = !lastSelected;
        s.LinePanel =
            QCoreApplication::translate("frmEdit", "Line: %1 of %2").arg(current + 1).arg(rowCount);
        s.EditCommands = true;
    } else {
        s.LinePanel = QCoreApplication::translate("frmEdit", "Lines: %1").arg(rowCount);
    }
    s.GotoStep = rowCount > 0;
    s.SelectAll = rowCount > selectedCount;
    return s;
}

QString StepsPanelText(int rowCount)
{
    return rowCount > 0 ? QCoreApplication::translate("frmEdit", "Steps: %1").arg(rowCount)
                        : QString();
}
