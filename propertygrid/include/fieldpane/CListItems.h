#pragma once

#include <fieldpane/CListItem.h>
#include <fieldpane/fieldpane_export.h>

#include <QObject>

#include <memory>
#include <vector>

namespace Fieldpane {

/// The ordered rows of a property grid, addressed by 1-based position or by key. Keys compare
/// without regard to letter case. A host obtains the list from PropertyList::ListItems.
class FIELDPANE_EXPORT CListItems final : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)

public:
    using const_iterator = std::vector<CListItem>::const_iterator;

    explicit CListItems(QObject *parent = nullptr);
    ~CListItems() override;

    /// Appends a row and raises ItemAdded. An invalid `Value` or `ValidValues` counts as not
    /// given. Returns a null row, adding nothing, when `sKey` is already in the list.
    Q_INVOKABLE Fieldpane::CListItem Add(const QString &Name, Fieldpane::eValueTypes ValueType,
                                         const QVariant &Value = QVariant(),
                                         const QVariant &ValidValues = QVariant(),
                                         const QString &sKey = QString());
    /// By 1-based position (a number) or key (a text); a null row when there is none.
    Q_INVOKABLE Fieldpane::CListItem Item(const QVariant &vntIndexKey) const;
    CListItem Item(int index) const;
    CListItem Item(const QString &key) const;
    /// By key, for a string literal (UTF-8): `Item("count")`.
    CListItem Item(const char *key) const;
    Q_INVOKABLE int Count() const;
    /// Removes one row and raises ItemRemoved; false, changing nothing, when there is none.
    Q_INVOKABLE bool Remove(const QVariant &vntIndexKey);
    /// Removes every row and raises ListCleared once (no ItemRemoved).
    Q_INVOKABLE void Clear();
    /// True when a row is stored under `key`.
    Q_INVOKABLE bool Contains(const QString &key) const;
    /// 1-based position of a row in the list; 0 when it is not in the list.
    int IndexOf(const CListItem &item) const;

    const_iterator begin() const;
    const_iterator end() const;

Q_SIGNALS:
    void ItemAdded(const Fieldpane::CListItem &Item);
    void ItemRemoved(const Fieldpane::CListItem &Item);
    void ListCleared();
    /// A listed row's value changed: through the grid, a drop-down, a dialog or setValue.
    /// Not raised for the value given to Add, nor for a value equal to the stored one.
    void ValueChanged(const Fieldpane::CListItem &Item, const QVariant &OldValue,
                      const QVariant &NewValue);
    /// Something of a listed row other than its value changed (name, category, ...).
    void ItemChanged(const Fieldpane::CListItem &Item);

private:
    Q_DISABLE_COPY_MOVE(CListItems)
    friend class CListItem;
    void rowValueChanged(const CListItem &item, const QVariant &oldValue, const QVariant &newValue);
    void rowChanged(const CListItem &item);
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Fieldpane
