#include "core/settings/CMru.h"

#include "core/settings/RegValue.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsStore.h"

#include <QtEndian>

namespace {

const QString kFileName = QStringLiteral("FileName");
const QString kFileTitle = QStringLiteral("FileTitle");

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// A plain string value (never the expandable type: a path holding "%NAME%" must come back
// exactly as it was stored).
RegValue stringValue(const QString &text)
{
    RegValue value;
    value.type = RegSz;
    value.data.resize((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), value.data.data() + i * 2);
    return value;
}

QString readString(SettingsStore &store, const QString &path, const QString &name)
{
    const std::optional<RegValue> value = store.readValue(kHKeyCurrentUser, path, name);
    if (!value || (value->type != RegSz && value->type != RegExpandSz))
        return {};
    QString text;
    text.reserve(value->data.size() / 2);
    for (qsizetype i = 0; i + 1 < value->data.size(); i += 2) {
        const auto unit = qFromLittleEndian<quint16>(value->data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

} // namespace

CMru::CMru(QObject *parent) : QObject(parent)
{
    m_names.resize(kDefaultListSize);
    m_titles.resize(kDefaultListSize);
}

void CMru::setListSize(int size)
{
    if (size < 1 || size > kMaxListSize || size == ListSize())
        return;
    const int countBefore = ListCount();
    m_names.resize(size);
    m_titles.resize(size);
    emit ListSizeChanged(size);
    if (ListCount() != countBefore)
        emit MruListChanged();
}

int CMru::ListCount() const
{
    int count = 0;
    while (count < m_names.size() && !isBlank(m_names.at(count)))
        ++count;
    return count;
}

void CMru::AddToMruList(const QString &fileName, const QString &fileTitle)
{
    if (isBlank(fileName))
        return;
    qsizetype found = -1;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(fileName, m_case) == 0) {
            found = i;
            break;
        }
    }
    if (found >= 0) {
        m_names[found] = fileName;
        m_names.move(found, 0);
        m_titles.move(found, 0);
    } else {
        m_names.prepend(fileName);
        m_titles.prepend(fileTitle.isEmpty() ? TitleOf(fileName) : fileTitle);
        m_names.removeLast();
        m_titles.removeLast();
    }
    emit MruListChanged();
}

void CMru::RemoveFromMruList(const QString &fileName)
{
    if (isBlank(fileName))
        return;
    const qsizetype size = m_names.size();
    bool removed = false;
    for (qsizetype i = size - 1; i >= 0; --i) {
        if (m_names.at(i) == fileName) {
            m_names.removeAt(i);
            m_titles.removeAt(i);
            removed = true;
        }
    }
    if (!removed)
        return;
    m_names.resize(size);
    m_titles.resize(size);
    emit MruListChanged();
}

bool CMru::SaveMruList(const QString &application, const QString &section) const
{
    SettingsStore &store = SettingsStore::current();
    const QString path = SectionPath(application, section);
    SettingsBatch batch(store);
    bool written = true;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        const QString n = QString::number(i + 1);
        written &=
            store.writeValue(kHKeyCurrentUser, path, kFileName + n, stringValue(m_names.at(i)));
        written &=
            store.writeValue(kHKeyCurrentUser, path, kFileTitle + n, stringValue(m_titles.at(i)));
    }
    return batch.commit() && written;
}

void CMru::GetMruList(const QString &application, const QString &section)
{
    SettingsStore &store = SettingsStore::current();
    const QString path = SectionPath(application, section);
    const qsizetype size = m_names.size();
    QStringList names;
    QStringList titles;
    for (qsizetype i = 0; i < size; ++i) {
        const QString n = QString::number(i + 1);
        const QString name = readString(store, path, kFileName + n);
        if (isBlank(name))
            continue;
        const QString title = readString(store, path, kFileTitle + n);
        names.append(name);
        titles.append(title.isEmpty() ? TitleOf(name) : title);
    }
    names.resize(size);
    titles.resize(size);
    if (names == m_names && titles == m_titles)
        return;
    m_names = names;
    m_titles = titles;
    emit MruListChanged();
}

QString CMru::FileName(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names.at(index) : QString();
}

QString CMru::FileTitle(int index) const
{
    return index >= 0 && index < m_titles.size() ? m_titles.at(index) : QString();
}

QString CMru::SectionPath(const QString &application, const QString &section)
{
    return SettingsKeys::ApplicationKey(application, section);
}

QString CMru::TitleOf(const QString &fileName)
{
    qsizetype cut = fileName.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0)
        cut = fileName.lastIndexOf(QLatin1Char('/'));
    return fileName.mid(cut + 1);
}
