#include "fieldpane/CListItems.h"

#include <QHash>

#include <algorithm>

namespace Fieldpane {

struct CListItems::Private {
    std::vector<CListItem> items;
    QHash<QString, CListItem> byKey; // case-folded key

    static QString fold(const QString &key) { return key.toCaseFolded(); }

    void erase(size_t position)
    {
        CListItem item = items[position];
        item.setOwner(nullptr);
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
        if (!item.Key().isEmpty())
            byKey.remove(fold(item.Key()));
    }
};

CListItems::CListItems(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

CListItems::~CListItems()
{
    for (CListItem &item : d->items)
        item.setOwner(nullptr);
}

CListItem CListItems::Add(const QString &Name, eValueTypes ValueType, const QVariant &Value,
                          const QVariant &ValidValues, const QString &sKey)
{
    if (!sKey.isEmpty() && d->byKey.contains(Private::fold(sKey)))
        return {};
    CListItem item = CListItem::create(sKey, Name, ValueType);
    // The pattern goes in before the value, so that it already applies to the initial value.
    if (ValidValues.isValid())
        item.setValidValues(ValidValues);
    if (Value.isValid())
        item.setValue(Value);
    item.setOwner(this);
    d->items.push_back(item);
    if (!sKey.isEmpty())
        d->byKey.insert(Private::fold(sKey), item);
    Q_EMIT ItemAdded(item);
    return item;
}

CListItem CListItems::Item(const QVariant &vntIndexKey) const
{
    if (vntIndexKey.typeId() == QMetaType::QString)
        return Item(vntIndexKey.toString());
    bool ok = false;
    const int index = vntIndexKey.toInt(&ok);
    return ok ? Item(index) : CListItem();
}

CListItem CListItems::Item(int index) const
{
    if (index < 1 || static_cast<size_t>(index) > d->items.size())
        return {};
    return d->items[static_cast<size_t>(index - 1)];
}

CListItem CListItems::Item(const QString &key) const
{
    if (key.isEmpty())
        return {};
    return d->byKey.value(Private::fold(key));
}

CListItem CListItems::Item(const char *key) const
{
    return Item(QString::fromUtf8(key));
}

int CListItems::Count() const
{
    return static_cast<int>(d->items.size());
}

bool CListItems::Remove(const QVariant &vntIndexKey)
{
    const CListItem item = Item(vntIndexKey);
    const int position = IndexOf(item);
    if (position == 0)
        return false;
    d->erase(static_cast<size_t>(position - 1));
    Q_EMIT ItemRemoved(item);
    return true;
}

void CListItems::Clear()
{
    for (CListItem &item : d->items)
        item.setOwner(nullptr);
    d->items.clear();
    d->byKey.clear();
    Q_EMIT ListCleared();
}

bool CListItems::Contains(const QString &key) const
{
    return !key.isEmpty() && d->byKey.contains(Private::fold(key));
}

int CListItems::IndexOf(const CListItem &item) const
{
    if (item.isNull())
        return 0;
    const auto it = std::find(d->items.begin(), d->items.end(), item);
    return it == d->items.end() ? 0 : static_cast<int>(it - d->items.begin()) + 1;
}

void CListItems::rowValueChanged(const CListItem &item, const QVariant &oldValue,
                                 const QVariant &newValue)
{
    Q_EMIT ValueChanged(item, oldValue, newValue);
}

void CListItems::rowChanged(const CListItem &item)
{
    Q_EMIT ItemChanged(item);
}

CListItems::const_iterator CListItems::begin() const
{
    return d->items.cbegin();
}

CListItems::const_iterator CListItems::end() const
{
    return d->items.cend();
}

} // namespace Fieldpane
