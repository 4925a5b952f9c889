#pragma once

#include "core/recovery/RecoveryStore.h"

#include <functional>
#include <vector>

// The question at start-up which recovery files to recover, goes through a chooser the program
// installs (a dialog) and tests answer.
enum class RecoveryChoice {
    Later,   // keep the files for the next start
    Recover, // open the script (at most one entry)
    Discard  // remove the files
};

using RecoveryChooser =
    std::function<std::vector<RecoveryChoice>(const std::vector<RecoveryEntry> &entries)>;

// One choice per entry. Without a chooser every entry is kept for later.
std::vector<RecoveryChoice> ChooseRecovery(const std::vector<RecoveryEntry> &entries);
// Installs chooser (an empty one restores the default) and returns the previous one.
RecoveryChooser SetRecoveryChooser(RecoveryChooser chooser);

// The name shown for an entry: the file name of its original path, or "[Untitled]".
QString RecoveryDisplayName(const RecoveryEntry &entry);
// The folder shown for an entry: the native folder of its original path ("" when untitled).
QString RecoveryDisplayFolder(const RecoveryEntry &entry);
