#pragma once

#include <fieldpane/ValueTypes.h>
#include <fieldpane/fieldpane_export.h>

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>

namespace Fieldpane {

class CListItems;

/// One row of a property grid: a named value of one value type.
///
/// A CListItem is a handle: copies refer to the same row, and a row stays valid for as long
/// as some handle refers to it, also after it was removed from its list. Hosts obtain rows
/// only from CListItems::Add and CListItems::Item; a default-constructed handle is null.
class FIELDPANE_EXPORT CListItem final {
    Q_GADGET
    Q_PROPERTY(Fieldpane::eValueTypes ValueType READ ValueType)
    Q_PROPERTY(QVariant ValidValues READ ValidValues)
    Q_PROPERTY(QVariant Value READ Value WRITE setValue)
    Q_PROPERTY(QString Key READ Key)
    Q_PROPERTY(QString Name READ Name WRITE setName)
    Q_PROPERTY(QString FileFilter READ FileFilter WRITE setFileFilter)
    Q_PROPERTY(bool Bold READ Bold WRITE setBold)

public:
    CListItem();

    bool isNull() const { return !d; }
    explicit operator bool() const { return static_cast<bool>(d); }
    /// Same row.
    bool operator==(const CListItem &other) const { return d == other.d; }
    bool operator!=(const CListItem &other) const { return d != other.d; }

    eValueTypes ValueType() const;
    /// hlvString: the wildcard pattern; hlvArray and hlvVariable: the list of values.
    QVariant ValidValues() const;
    /// ValidValues as a list of texts (empty when it is not a list).
    QStringList ValidValuesList() const;
    /// Returns the stored value: a qint32 for hlvInteger rows, "true" or "false" for
    /// hlvBoolean rows, otherwise what was stored.
    QVariant Value() const;
    /// Converts and validates by ValueType; a rejected value leaves the row unchanged (an
    /// hlvBoolean row falls back to "false"). Never fails.
    void setValue(const QVariant &value);
    QString Key() const;
    QString Name() const;
    void setName(const QString &name);
    /// "Description|pattern|..." for the open-file dialog of hlvFilePath rows.
    QString FileFilter() const;
    void setFileFilter(const QString &filter);
    bool Bold() const;
    void setBold(bool bold);

private:
    friend class CListItems;
    struct Data;
    explicit CListItem(std::shared_ptr<Data> data);
    static CListItem create(const QString &key, const QString &name, eValueTypes type);
    void setValidValues(const QVariant &validValues);
    std::shared_ptr<Data> d;
};

} // namespace Fieldpane

Q_DECLARE_METATYPE(Fieldpane::CListItem)
