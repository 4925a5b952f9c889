#include "core/recovery/RecoveryPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

RecoveryChooser &installed()
{
    static RecoveryChooser chooser;
    return chooser;
}

} // namespace

std::vector<RecoveryChoice> ChooseRecovery(const std::vector<RecoveryEntry> &entries)
{
    std::vector<RecoveryChoice> choices(entries.size(), RecoveryChoice::Later);
    if (!installed() || entries.empty())
        return choices;
    const std::vector<RecoveryChoice> answer = installed()(entries);
    bool recovering = false;
    for (std::size_t i = 0; i < choices.size() && i < answer.size(); ++i) {
        if (answer[i] == RecoveryChoice::Recover) {
            if (recovering)
                continue; // one window holds one script
            recovering = true;
        }
        choices[i] = answer[i];
    }
    return choices;
}

RecoveryChooser SetRecoveryChooser(RecoveryChooser chooser)
{
    RecoveryChooser previous = std::move(installed());
    installed() = std::move(chooser);
    return previous;
}

QString RecoveryDisplayName(const RecoveryEntry &entry)
{
    if (entry.originalPath.isEmpty())
        return QCoreApplication::translate("RecoveryPrompt", "[Untitled]");
    return QFileInfo(entry.originalPath).fileName();
}

QString RecoveryDisplayFolder(const RecoveryEntry &entry)
{
    if (entry.originalPath.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QFileInfo(entry.originalPath).absolutePath());
}
