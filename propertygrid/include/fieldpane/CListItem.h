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
    Q_PROPERTY(QString Category READ Category WRITE setCategory)
    Q_PROPERTY(QString Description READ Description WRITE setDescription)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(QVariant DefaultValue READ DefaultValue WRITE setDefaultValue)
    Q_PROPERTY(int Minimum READ Minimum)
    Q_PROPERTY(int Maximum READ Maximum)
    Q_PROPERTY(int Step READ Step WRITE setStep)

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
    /// hlvBoolean row falls back to "false"). Never fails. A change of a listed row raises
    /// CListItems::ValueChanged.
    void setValue(const QVariant &value);
    QString Key() const;
    QString Name() const;
    void setName(const QString &name);
    /// "Description|pattern|..." for the open-file dialog of hlvFilePath rows.
    QString FileFilter() const;
    void setFileFilter(const QString &filter);
    bool Bold() const;
    void setBold(bool bold);

    // Beyond the basic row. Every setter below raises CListItems::ItemChanged for a listed
    // row, and the grid shows the change without a Refresh.

    /// The category the row is shown under; empty (the default): above every category.
    QString Category() const;
    void setCategory(const QString &category);
    /// Text shown in the grid's description pane while the row is current.
    QString Description() const;
    void setDescription(const QString &description);
    /// A read-only row can be selected and its value copied, but the user cannot edit it.
    /// The host still can, through setValue.
    bool ReadOnly() const;
    void setReadOnly(bool readOnly);
    /// The value ResetValue restores, converted like a value; an invalid QVariant (the
    /// default) means the row has none.
    QVariant DefaultValue() const;
    void setDefaultValue(const QVariant &value);
    bool HasDefaultValue() const;
    /// True when the row has a default value and its value differs from it.
    bool DiffersFromDefault() const;
    /// Sets the value back to DefaultValue (nothing happens without one).
    void ResetValue();
    /// hlvInteger rows: values outside Minimum..Maximum are refused from now on, and the
    /// grid's spin box keeps to them. The whole 32-bit range unless set.
    int Minimum() const;
    int Maximum() const;
    /// A `minimum` above `maximum` is taken as `maximum`.
    void setRange(int minimum, int maximum);
    /// hlvInteger rows: the spin box's step (1 unless set; values below 1 count as 1).
    int Step() const;
    void setStep(int step);

private:
    friend class CListItems;
    struct Data;
    explicit CListItem(std::shared_ptr<Data> data);
    static CListItem create(const QString &key, const QString &name, eValueTypes type);
    void setValidValues(const QVariant &validValues);
    void setOwner(CListItems *owner);
    void changed() const;
    std::shared_ptr<Data> d;
};

} // namespace Fieldpane

Q_DECLARE_METATYPE(Fieldpane::CListItem)
