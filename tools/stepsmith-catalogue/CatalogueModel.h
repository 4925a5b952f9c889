#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace stepsmith::catalogue {

// Attribute data types of the catalogue (the property grid's value types, plus ranges).
enum DataType : int {
    String = 1,
    TextArea = 2,
    FilePath = 3,
    Folder = 4,
    Integer = 5,
    Boolean = 6,
    List = 7,
    Variable = 8,
    Range = 9,
};

constexpr int MinDataType = 1;
constexpr int MaxDataType = 9;

// Human-readable name of a data type code ("file path", "yes/no"...); empty for unknown codes.
QString dataTypeName(int type);

struct Attribute {
    QString name;
    QString description;
    int dataType = String;
    bool required = false;
    // Keeps its stored type: QString, bool or qint64.
    QVariant defaultValue = QString();
    QString value;
    QString arrayValues; // allowed values separated by "|"

    QStringList arrayValueList() const;
    bool operator==(const Attribute &other) const;
    bool operator!=(const Attribute &other) const { return !(*this == other); }
};

struct Action {
    QString elementName;
    QString parent;
    QString description;
    QString information;
    bool containsText = false;
    QString text;
    QString textDescription;
    bool textRequired = false;
    bool textMultiLine = false;
    QVector<Attribute> attributes;

    bool operator==(const Action &other) const;
    bool operator!=(const Action &other) const { return !(*this == other); }
};

struct Catalogue {
    QVector<Action> actions;

    // Index of the action named `name` (case-insensitive), or -1.
    int indexOf(const QString &name) const;
    bool operator==(const Catalogue &other) const { return actions == other.actions; }
    bool operator!=(const Catalogue &other) const { return !(*this == other); }
};

// Text form of a default value as the editor shows it ("true", "42", "text").
QString defaultValueText(const QVariant &value);

} // namespace stepsmith::catalogue
