#pragma once

#include "core/zml/ZmlNotices.h"

#include <QList>

// Installs the program's message handler: a modal QMessageBox titled "TR AddIn Editor" over
// the active window, with the asked icon and buttons.
void InstallMessageBoxHandler();

// Shows each notice with ShowMessage and an OK button, in order.
void ShowNotices(const QList<Notice> &notices);
