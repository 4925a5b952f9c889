#include "core/settings/RegFileStore.h"

#include "core/zml/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr int kLockTimeoutMs = 10000;

QString rootName(quint32 root)
{
    switch (root) {
    case kHKeyCurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case kHKeyLocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    default:
        return {};
    }
}

enum class ReadResult { Ok, Cut, Missing, Special, Unreadable };

// Reads the settings file, at most kMaxFileSize bytes of it (Cut when there is more).
ReadResult readFile(const QString &path, QByteArray *bytes)
{
    QFile file;
    switch (OpenRegularFile(file, path)) {
    case FileOpen::Opened:
        break;
    case FileOpen::Missing:
        return ReadResult::Missing;
    case FileOpen::Special:
        return ReadResult::Special;
    case FileOpen::Unreadable:
        return ReadResult::Unreadable;
    }
    // As much as the file holds, not a buffer of the largest size allowed; one byte more shows
    // whether it grew meanwhile, and then the rest is read too.
    const qint64 limit = RegFileStore::kMaxFileSize + 1;
    const qint64 expected = std::clamp<qint64>(file.size() + 1, 1, limit);
    *bytes = file.read(expected);
    if (bytes->size() == expected && expected < limit && file.error() == QFileDevice::NoError)
        bytes->append(file.read(limit - expected));
    if (file.error() != QFileDevice::NoError)
        return ReadResult::Unreadable;
    if (bytes->size() <= RegFileStore::kMaxFileSize)
        return ReadResult::Ok;
    bytes->truncate(RegFileStore::kMaxFileSize);
    return ReadResult::Cut;
}

// Sets *content from what reading the file at path gave; false, with *problem, when the file
// cannot be used.
bool parseRead(ReadResult read, const QByteArray &bytes, const QString &path, const QString &root,
               RegFileContent *content, QString *problem)
{
    switch (read) {
    case ReadResult::Special:
        *problem = QStringLiteral("The settings file '%1' is a device or a pipe, not a file: "
                                  "settings are neither read from it nor saved to it.")
                       .arg(path);
        return false;
    case ReadResult::Unreadable:
        *problem = QStringLiteral("The settings file '%1' cannot be read.").arg(path);
        return false;
    case ReadResult::Missing:
        *content = {};
        return true;
    case ReadResult::Ok:
    case ReadResult::Cut:
        *content = RegFileFormat::parse(bytes, root, read == ReadResult::Cut);
        return true;
    }
    return false;
}

} // namespace

RegFileStore::RegFileStore(const QString &directory) : m_directory(directory) {}

QString RegFileStore::defaultDirectory()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QStringLiteral("/stepsmith");
}

QString RegFileStore::filePath(quint32 root) const
{
    const QString name = rootName(root);
    return name.isEmpty() ? QString() : m_directory + u'/' + name + QStringLiteral(".reg");
}

RegFileStore::FileStamp RegFileStore::stampOf(const QString &path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.modified = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = static_cast<qint64>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp.inode = info.st_ino;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
    stamp.changed = info.metadataChangeTime().toMSecsSinceEpoch();
#endif
    return stamp;
}

const RegFileContent *RegFileStore::content(quint32 root)
{
    const QString path = filePath(root);
    if (path.isEmpty())
        return nullptr;
    Cache &cache = m_cache[root];
    if (cache.loaded && m_pending.count(root) != 0)
        return &cache.content; // holds the batch's unsaved writes
    const FileStamp stamp = stampOf(path);
    if (cache.loaded && cache.stamp == stamp)
        return &cache.content;

    m_problem.clear();
    QByteArray bytes;
    if (!parseRead(readFile(path, &bytes), bytes, path, rootName(root), &cache.content,
                   &m_problem)) {
        cache.loaded = false;
        return nullptr;
    }
    cache.stamp = stamp;
    cache.loaded = true;
    cache.unsaved = false;
    return &cache.content;
}

bool RegFileStore::modify(quint32 root, const Change &change)
{
    const QString path = filePath(root);
    if (path.isEmpty() || !QDir().mkpath(m_directory))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs))
        return false;

    // The file as this store last read or wrote it is not read again.
    m_problem.clear();
    Cache &cache = m_cache[root];
    RegFileContent fresh;
    if (cache.loaded && !cache.unsaved && cache.stamp == stampOf(path)) {
        fresh = cache.content;
    } else {
        QByteArray bytes;
        if (!parseRead(readFile(path, &bytes), bytes, path, rootName(root), &fresh, &m_problem))
            return false;
    }
    const QString backup = path + QStringLiteral(".bad");
    if (fresh.skippedLines > 0 && !QFileInfo::exists(backup))
        QFile::copy(path, backup);
    fresh.skippedLines = 0;

    change(fresh);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(RegFileFormat::serialise(fresh, rootName(root)));
    if (!file.commit())
        return false;

    cache.content = std::move(fresh);
    cache.stamp = stampOf(path);
    cache.loaded = true;
    cache.unsaved = false;
    return true;
}

bool RegFileStore::keyExists(quint32 root, const QString &path)
{
    QString key;
    if (!RegFileFormat::normaliseKeyPath(path, &key))
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    const RegFileContent *data = content(root);
    return data != nullptr && data->keyExists(key);
}

bool RegFileStore::createKey(quint32 root, const QString &path)
{
    QString key;
    if (!RegFileFormat::normaliseKeyPath(path, &key))
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    if (const RegFileContent *data = content(root); data != nullptr && data->keyExists(key))
        return true;
    return apply(root, [key](RegFileContent &fresh) {
        if (!fresh.keyExists(key))
            fresh.createKey(key);
    });
}

std::optional<RegValue> RegFileStore::readValue(quint32 root, const QString &path,
                                                const QString &name)
{
    QString key;
    if (!RegFileFormat::normaliseKeyPath(path, &key))
        return std::nullopt;
    std::lock_guard<std::mutex> guard(m_mutex);
    const RegFileContent *data = content(root);
    const RegFileNamedValue *found = data != nullptr ? data->value(key, name) : nullptr;
    if (found == nullptr)
        return std::nullopt;
    return found->value;
}

bool RegFileStore::writeValue(quint32 root, const QString &path, const QString &name,
                              const RegValue &value)
{
    QString key;
    if (!RegFileFormat::normaliseKeyPath(path, &key) || !RegFileFormat::isStorableName(name))
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    return apply(root, [key, name, value](RegFileContent &fresh) {
        RegFileKey &target = fresh.createKey(key);
        const QString folded = RegFileFormat::fold(name);
        if (auto it = target.values.find(folded); it != target.values.end())
            it->value = value;
        else
            target.values.insert(folded, {name, value});
    });
}

bool RegFileStore::apply(quint32 root, const Change &change)
{
    if (m_batchDepth == 0)
        return modify(root, change);
    if (filePath(root).isEmpty())
        return false;
    // Load the file before the first pending change; an unreadable file refuses the write.
    if (m_pending.count(root) == 0 && content(root) == nullptr)
        return false;
    Cache &cache = m_cache[root];
    change(cache.content);
    cache.unsaved = true;
    m_pending[root].push_back(change);
    return true;
}

void RegFileStore::beginBatch()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    ++m_batchDepth;
}

bool RegFileStore::endBatch()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return true;
    bool stored = true;
    auto pending = std::move(m_pending);
    m_pending.clear();
    for (const auto &[root, changes] : pending) {
        const bool saved = modify(root, [&changes = changes](RegFileContent &fresh) {
            for (const Change &change : changes)
                change(fresh);
        });
        if (!saved)
            m_cache[root].loaded = false; // drop the unsaved changes from the cache
        stored = stored && saved;
    }
    return stored;
}
