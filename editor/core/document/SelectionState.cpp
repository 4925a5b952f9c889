#include "core/document/SelectionState.h"

SelectionState ComputeSelectionState(int rowCount, int selectedCount, bool firstSelected,
                                     bool lastSelected, int current,
                                     const QString &currentInformation)
{
    SelectionState s;
    if (selectedCount > 0) {
        if (selectedCount >= 2) {
            s.TextPanel = QStringLiteral("<Multiple selection>");
        } else {
            s.TextPanel = currentInformation;
            s.TextPanel.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        }
        s.MoveUp = !firstSelected;
        s.MoveDown = !lastSelected;
        s.LinePanel = QStringLiteral("Line: %1 of %2").arg(current + 1).arg(rowCount);
        s.EditCommands = true;
    } else {
        s.LinePanel = QStringLiteral("Lines: %1").arg(rowCount);
    }
    s.GotoStep = rowCount > 0;
    s.SelectAll = rowCount > selectedCount;
    return s;
}

QString StepsPanelText(int rowCount)
{
    return rowCount > 0 ? QStringLiteral("Steps: %1").arg(rowCount) : QString();
}
