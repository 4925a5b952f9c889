#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the window runs through RunModal, so tests can answer a dialog
// without showing it: the installed runner gets the prepared dialog and returns its result.
using ModalRunner = std::function<int(QDialog &dialog)>;

// Shows dialog modally (or hands it to the installed runner); returns the dialog's result.
int RunModal(QDialog &dialog);
// Installs runner (an empty one restores real dialogs) and returns the previous one.
ModalRunner SetModalRunner(ModalRunner runner);
