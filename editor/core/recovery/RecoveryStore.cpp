#include "core/recovery/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <mutex>

namespace {

const QString kText = QStringLiteral(".zml");
const QString kInfo = QStringLiteral(".json");
const QString kLock = QStringLiteral(".lock");
const QString kPathKey = QStringLiteral("originalPath");
const QString kTimeKey = QStringLiteral("saved");
const QString kInstanceKey = QStringLiteral("instance");
// Every text Save writes starts with the root line and ends with its end tag and CR LF.
const QByteArray kTextStart = QByteArrayLiteral("<zml ");
const QByteArray kTextEnd = QByteArrayLiteral("</zml>\r\n");

std::mutex &hookMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::function<bool(QSaveFile &)> &writeHook()
{
    static std::function<bool(QSaveFile &)> hook;
    return hook;
}

bool saveFile(const QString &path, const QByteArray &bytes, bool withHook)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (ok && withHook) {
        std::function<bool(QSaveFile &)> hook;
        {
            const std::lock_guard<std::mutex> guard(hookMutex());
            hook = writeHook();
        }
        if (hook)
            ok = hook(file);
    }
    if (ok)
        return file.commit();
    file.cancelWriting();
    return false;
}

// True when the file starts and ends as a script Save wrote (the rest is read on recovery).
bool looksComplete(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kTextStart.size() + kTextEnd.size())
        return false;
    const QByteArray start = file.read(kTextStart.size());
    if (!file.seek(file.size() - kTextEnd.size()))
        return false;
    return start == kTextStart && file.read(kTextEnd.size()) == kTextEnd;
}

} // namespace

RecoveryStore::RecoveryStore(QString directory) : m_directory(std::move(directory)) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::DefaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

bool RecoveryStore::open()
{
    if (m_lock)
        return true;
    if (m_directory.isEmpty() || !QDir().mkpath(m_directory))
        return false;
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto lock = std::make_unique<QLockFile>(QDir(m_directory).filePath(id + kLock));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_id = id;
    m_lock = std::move(lock);
    return true;
}

QString RecoveryStore::textFile() const
{
    return m_id.isEmpty() ? QString() : QDir(m_directory).filePath(m_id + kText);
}

QString RecoveryStore::infoFile() const
{
    return m_id.isEmpty() ? QString() : QDir(m_directory).filePath(m_id + kInfo);
}

bool RecoveryStore::write(const QByteArray &text, const QString &originalPath,
                          const QDateTime &time) const
{
    return writeInfo(originalPath, time) && saveFile(textFile(), text, true);
}

bool RecoveryStore::writeInfo(const QString &originalPath, const QDateTime &time) const
{
    if (!isOpen())
        return false;
    QJsonObject info;
    info.insert(kPathKey, originalPath);
    info.insert(kTimeKey, time.toUTC().toString(Qt::ISODateWithMs));
    info.insert(kInstanceKey, m_id);
    return saveFile(infoFile(), QJsonDocument(info).toJson(), false);
}

void RecoveryStore::removeOwn() const
{
    if (!isOpen())
        return;
    QFile::remove(textFile());
    QFile::remove(infoFile());
}

bool RecoveryStore::instanceRunning(const QString &id) const
{
    if (id == m_id)
        return true;
    const QString path = QDir(m_directory).filePath(id + kLock);
    if (!QFileInfo::exists(path))
        return false;
    QLockFile probe(path);
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock(); // the lock of an ended instance: gone now
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

RecoveryEntry RecoveryStore::readEntry(const QString &id) const
{
    const QDir dir(m_directory);
    RecoveryEntry entry;
    entry.instanceId = id;
    entry.textFile = dir.filePath(id + kText);
    entry.infoFile = dir.filePath(id + kInfo);
    entry.saved = QFileInfo(entry.textFile).lastModified();
    QFile file(entry.infoFile);
    if (!file.open(QIODevice::ReadOnly))
        return entry;
    QJsonParseError error{};
    const QJsonDocument info = QJsonDocument::fromJson(file.read(64 * 1024), &error);
    const QJsonObject object = info.object();
    const QDateTime saved =
        QDateTime::fromString(object.value(kTimeKey).toString(), Qt::ISODateWithMs);
    if (error.error != QJsonParseError::NoError || !object.value(kPathKey).isString() ||
        !saved.isValid())
        return entry;
    entry.originalPath = object.value(kPathKey).toString();
    entry.saved = saved.toLocalTime();
    entry.readable = looksComplete(entry.textFile);
    return entry;
}

std::vector<RecoveryEntry> RecoveryStore::offerable() const
{
    std::vector<RecoveryEntry> entries;
    const QDir dir(m_directory);
    QStringList ids;
    for (const QFileInfo &file : dir.entryInfoList(
             {QLatin1Char('*') + kText, QLatin1Char('*') + kInfo, QLatin1Char('*') + kLock},
             QDir::Files))
        ids.append(file.completeBaseName());
    ids.removeDuplicates();
    for (const QString &id : ids) {
        if (instanceRunning(id)) // a stale lock is removed on the way
            continue;
        if (!QFileInfo::exists(dir.filePath(id + kText))) {
            QFile::remove(dir.filePath(id + kInfo)); // written before its first text
            continue;
        }
        entries.push_back(readEntry(id));
    }
    std::sort(entries.begin(), entries.end(),
              [](const RecoveryEntry &a, const RecoveryEntry &b) { return a.saved < b.saved; });
    return entries;
}

void RecoveryStore::discard(const RecoveryEntry &entry)
{
    QFile::remove(entry.textFile);
    QFile::remove(entry.infoFile);
}

bool RecoveryStore::adopt(const RecoveryEntry &entry) const
{
    if (!isOpen())
        return false;
    removeOwn();
    // The side file first: a stop between the two leaves a side file without text, which is
    // dropped, and the entry as it was.
    if (!writeInfo(entry.originalPath, entry.saved))
        return false;
    if (!QFile::rename(entry.textFile, textFile())) {
        QFile::remove(infoFile());
        return false;
    }
    QFile::remove(entry.infoFile);
    return true;
}

void RecoveryStore::setWriteHook(std::function<bool(QSaveFile &)> hook)
{
    const std::lock_guard<std::mutex> guard(hookMutex());
    writeHook() = std::move(hook);
}
