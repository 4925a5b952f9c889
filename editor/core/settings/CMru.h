#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The recent-files list: parallel arrays of file names (full paths) and the titles shown for
// them, most recent first. Empty entries stand only at the end. The list is kept in the
// settings store under "Software\Halvern\<application>\<section>", values "FileName<n>" and
// "FileTitle<n>" for n = 1 ... ListSize.
class CMru final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMru)

public:
    static constexpr int kDefaultListSize = 4;
    static constexpr int kMaxListSize = 32767;

    explicit CMru(QObject *parent = nullptr);

    // Number of slots.
    int ListSize() const { return static_cast<int>(m_names.size()); }
    // Resizes both arrays keeping their contents (entries beyond the new size are dropped).
    // Values below 1, above kMaxListSize or equal to the current size are ignored.
    void setListSize(int size);
    // Number of entries from index 0 up to the first empty one.
    int ListCount() const;

    // How file names compare: without regard to case where the file system does so
    // (Windows, macOS), exactly elsewhere.
    static constexpr Qt::CaseSensitivity kFileSystemCase =
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
        Qt::CaseInsensitive;
#else
        Qt::CaseSensitive;
#endif
    Qt::CaseSensitivity FileNameCase() const
    {
        return m_case;
    }
    void setFileNameCase(Qt::CaseSensitivity sensitivity)
    {
        m_case = sensitivity;
    }

    // Adds name at the top, or moves it there when it is listed already (compared by
    // FileNameCase; the stored name takes over the new letter case). Without a title the
    // part of name after its last "\" (else after its last "/") is shown.
    void AddToMruList(const QString &fileName, const QString &fileTitle = QString());
    // Removes every entry whose name equals fileName exactly (letter case included).
    void RemoveFromMruList(const QString &fileName);

    // Writes every slot (empty ones as empty strings) in one batch; false when the store
    // refused the writes.
    bool SaveMruList(const QString &application, const QString &section) const;
    // Reads every slot; missing values read as empty. Non-empty entries are packed towards
    // index 0 so that empty entries stand only at the end.
    void GetMruList(const QString &application, const QString &section);

    // The entry at a 0-based index; empty outside the list.
    QString FileName(int index) const;
    QString FileTitle(int index) const;

    // Key path of the list below HKEY_CURRENT_USER.
    static QString SectionPath(const QString &application, const QString &section);
    // The title shown for a path: the part after its last "\", else after its last "/".
    static QString TitleOf(const QString &fileName);

signals:
    // The entries changed.
    void MruListChanged();
    // ListSize changed.
    void ListSizeChanged(int size);

private:
    QStringList m_names;
    QStringList m_titles;
    Qt::CaseSensitivity m_case = kFileSystemCase;
};
