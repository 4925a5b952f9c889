#pragma once

#include "core/host/MessageService.h"

#include <QString>
#include <QStringList>

#include <functional>

// Hands a saved script to the host editor: finds its executable through the host's setting
// "AppPath" (section "Paths") and starts it detached with the one argument "-addin:<path>".
class HostLauncher final {
public:
#ifdef Q_OS_WIN
    static constexpr bool kWindows = true;
#else
    static constexpr bool kWindows = false;
#endif

    // What RunFile needs of the document window.
    class Document {
    public:
        virtual ~Document();
        // Full path of the script ("" while it has never been saved).
        virtual QString FileName() const = 0;
        // The script has unsaved changes.
        virtual bool Dirty() const = 0;
        // Saves the script (asking for a name when it has none, or always when saveAs is
        // true); true when it was saved.
        virtual bool SaveDoc(bool saveAs) = 0;
    };

    enum class Result {
        Started,     // the host was started
        NotSaved,    // the user declined to save, or saving failed
        HostMissing, // "AppPath" is empty or the executable does not exist
        StartFailed, // the host could not be started
    };

    // The host executable's file name: "Tessapp.exe" on Windows, "tessapp" elsewhere.
    static QString ExecutableName(bool windows = kWindows);
    // folder + separator + the executable's name. A folder ending in "\" or "/" gets no second
    // separator; the separator added is "\" on Windows and "/" elsewhere.
    static QString ExecutablePath(const QString &folder, bool windows = kWindows);
    // The executable named by the host's "AppPath" setting, or "" when the setting is empty
    // or no such file exists.
    static QString FindExecutable();
    // The host's arguments for a script: the single argument "-addin:" + scriptPath.
    static QStringList Arguments(const QString &scriptPath);

    // Starts the host with the script (no shell is involved, so blanks and shell characters
    // in the path stay as they are); false when it could not be started.
    static bool Start(const QString &executable, const QString &scriptPath);

    // Asked before an unnamed script is saved: true to save it (SaveFirstQuestion is the
    // question the window asks).
    using ConfirmSave = std::function<bool()>;
    static QString SaveFirstQuestion();

    // The "Run script" command: makes sure the script is saved (through confirmSave first when
    // it has no name), then starts the host with it. Shows nothing: Problem phrases a result.
    static Result RunFile(Document &document, const ConfirmSave &confirmSave);
    // The message of a result the user is told about, with its icon; an empty text for
    // Started and NotSaved (the save has told the user already, or the user declined).
    static QString Problem(Result result, MsgIcon *icon);
};
