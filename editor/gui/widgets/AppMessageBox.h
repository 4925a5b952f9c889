#pragma once

// Installs the program's message handler: a modal QMessageBox titled "TR AddIn Editor" over
// the active window, with the asked icon and buttons.
void InstallMessageBoxHandler();
