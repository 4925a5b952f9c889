#include "CatalogueJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace stepsmith::catalogue {

namespace {

const QString kFormat = QStringLiteral("stepsmith-catalogue");
constexpr int kVersion = 1;

QString actionLabel(int index, const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("action %1").arg(index + 1);
    return QStringLiteral("action %1 (\"%2\")").arg(index + 1).arg(name);
}

QString attributeLabel(int index, const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("attribute %1").arg(index + 1);
    return QStringLiteral("attribute %1 (\"%2\")").arg(index + 1).arg(name);
}

QString jsonTypeName(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("undefined");
}

// Reads the fields of one JSON object, reporting wrong types and unknown field names.
class FieldReader {
public:
    FieldReader(const QJsonObject &object, QString where, QStringList &errors)
        : m_object(object), m_where(std::move(where)), m_errors(errors)
    {}

    void string(const QString &key, QString &target)
    {
        m_known.insert(key);
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        if (!v.isString()) {
            error(key, QStringLiteral("must be a string, not %1").arg(jsonTypeName(v)));
            return;
        }
        target = v.toString();
    }

    void boolean(const QString &key, bool &target)
    {
        m_known.insert(key);
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        if (!v.isBool()) {
            error(key, QStringLiteral("must be true or false, not %1").arg(jsonTypeName(v)));
            return;
        }
        target = v.toBool();
    }

    void integer(const QString &key, int &target)
    {
        m_known.insert(key);
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        const double d = v.toDouble();
        if (!v.isDouble() || std::floor(d) != d || d < -2147483648.0 || d > 2147483647.0) {
            error(key, QStringLiteral("must be a whole number, not %1").arg(jsonTypeName(v)));
            return;
        }
        target = static_cast<int>(d);
    }

    QJsonValue raw(const QString &key)
    {
        m_known.insert(key);
        return m_object.value(key);
    }

    void error(const QString &key, const QString &message)
    {
        m_errors << QStringLiteral("%1: \"%2\" %3").arg(m_where, key, message);
    }

    void reportUnknown()
    {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (!m_known.contains(it.key()))
                m_errors << QStringLiteral("%1: unknown field \"%2\"").arg(m_where, it.key());
        }
    }

private:
    const QJsonObject &m_object;
    QString m_where;
    QStringList &m_errors;
    QSet<QString> m_known;
};

void readDefault(FieldReader &fields, Attribute &attribute)
{
    const QJsonValue v = fields.raw(QStringLiteral("DefaultValue"));
    switch (v.type()) {
    case QJsonValue::Undefined:
        return;
    case QJsonValue::String:
        attribute.defaultValue = v.toString();
        return;
    case QJsonValue::Bool:
        attribute.defaultValue = v.toBool();
        return;
    case QJsonValue::Double: {
        const double d = v.toDouble();
        // Whole numbers within the range a double holds exactly.
        if (std::floor(d) == d && std::fabs(d) <= 9007199254740992.0) {
            attribute.defaultValue = static_cast<qint64>(d);
            return;
        }
        break;
    }
    default:
        break;
    }
    fields.error(QStringLiteral("DefaultValue"),
                 QStringLiteral("must be a string, a boolean or a whole number, not %1")
                     .arg(jsonTypeName(v)));
}

void readArrayValues(FieldReader &fields, Attribute &attribute)
{
    const QString key = QStringLiteral("ArrayValues");
    const QJsonValue v = fields.raw(key);
    if (v.isUndefined())
        return;
    if (v.isString()) {
        attribute.arrayValues = v.toString();
        return;
    }
    if (!v.isArray()) {
        fields.error(
            key,
            QStringLiteral("must be an array of strings or a string, not %1").arg(jsonTypeName(v)));
        return;
    }
    QStringList parts;
    const QJsonArray array = v.toArray();
    for (const auto &part : array) {
        if (!part.isString()) {
            fields.error(
                key, QStringLiteral("must hold only strings, found %1").arg(jsonTypeName(part)));
            return;
        }
        if (part.toString().contains(QLatin1Char('|'))) {
            fields.error(
                key, QStringLiteral("value \"%1\" must not contain \"|\"").arg(part.toString()));
            return;
        }
        parts << part.toString();
    }
    attribute.arrayValues = parts.join(QLatin1Char('|'));
}

Attribute readAttribute(const QJsonObject &object, const QString &where, QStringList &errors)
{
    Attribute attribute;
    FieldReader fields(object, where, errors);
    fields.string(QStringLiteral("Name"), attribute.name);
    fields.string(QStringLiteral("Description"), attribute.description);
    fields.integer(QStringLiteral("DataType"), attribute.dataType);
    fields.boolean(QStringLiteral("Required"), attribute.required);
    readDefault(fields, attribute);
    fields.string(QStringLiteral("Value"), attribute.value);
    readArrayValues(fields, attribute);
    fields.reportUnknown();
    return attribute;
}

Action readAction(const QJsonObject &object, int index, QStringList &errors)
{
    Action action;
    const QString name = object.value(QStringLiteral("ElementName")).toString();
    const QString where = actionLabel(index, name);
    FieldReader fields(object, where, errors);
    fields.string(QStringLiteral("ElementName"), action.elementName);
    fields.string(QStringLiteral("Parent"), action.parent);
    fields.string(QStringLiteral("Description"), action.description);
    fields.string(QStringLiteral("Information"), action.information);
    fields.boolean(QStringLiteral("ContainsText"), action.containsText);
    fields.string(QStringLiteral("Text"), action.text);
    fields.string(QStringLiteral("TextDescription"), action.textDescription);
    fields.boolean(QStringLiteral("TextRequired"), action.textRequired);
    fields.boolean(QStringLiteral("TextMultiLine"), action.textMultiLine);
    const QJsonValue attributes = fields.raw(QStringLiteral("Attributes"));
    if (attributes.isArray()) {
        const QJsonArray array = attributes.toArray();
        for (int j = 0; j < array.size(); ++j) {
            const QJsonValue item = array.at(j);
            const QString attrWhere =
                where + QStringLiteral(", ") +
                attributeLabel(j, item.toObject().value(QStringLiteral("Name")).toString());
            if (!item.isObject()) {
                errors << QStringLiteral("%1: must be an object, not %2")
                              .arg(attrWhere, jsonTypeName(item));
                continue;
            }
            action.attributes << readAttribute(item.toObject(), attrWhere, errors);
        }
    } else if (!attributes.isUndefined()) {
        fields.error(QStringLiteral("Attributes"),
                     QStringLiteral("must be an array, not %1").arg(jsonTypeName(attributes)));
    }
    fields.reportUnknown();
    return action;
}

bool isTagName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    return pattern.match(name).hasMatch() &&
           !name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive);
}

void validateDefault(const Attribute &a, const QString &where, QStringList &errors)
{
    const QVariant &d = a.defaultValue;
    const bool isBool = d.typeId() == QMetaType::Bool;
    const bool isInt = d.typeId() == QMetaType::LongLong;
    const QString text = defaultValueText(d);
    if (a.dataType == Boolean) {
        if (!isBool && !text.isEmpty() && text != QLatin1String("true") &&
            text != QLatin1String("false"))
            errors << QStringLiteral("%1: default \"%2\" of a boolean must be true or false")
                          .arg(where, text);
        return;
    }
    if (isBool)
        errors << QStringLiteral("%1: a boolean default needs DataType 6").arg(where);
    if (a.dataType == Integer && !isInt && !text.isEmpty()) {
        bool number = false;
        text.toLongLong(&number);
        if (!number)
            errors << QStringLiteral("%1: default \"%2\" of a whole-number attribute is not a "
                                     "whole number")
                          .arg(where, text);
    }
    if (a.dataType == List) {
        if (a.arrayValues.isEmpty())
            errors
                << QStringLiteral("%1: a list attribute (DataType 7) needs ArrayValues").arg(where);
        else if (!text.isEmpty() && !a.arrayValueList().contains(text))
            errors << QStringLiteral("%1: default \"%2\" is not one of the ArrayValues")
                          .arg(where, text);
    }
}

} // namespace

QStringList validate(const Catalogue &catalogue)
{
    QStringList errors;
    QSet<QString> names;
    for (int i = 0; i < catalogue.actions.size(); ++i) {
        const Action &action = catalogue.actions.at(i);
        const QString where = actionLabel(i, action.elementName);
        if (action.elementName.isEmpty()) {
            errors << where + QStringLiteral(": ElementName is missing or empty");
        } else if (!isTagName(action.elementName)) {
            errors << where + QStringLiteral(": ElementName is not a valid tag name");
        } else if (names.contains(action.elementName.toUpper())) {
            errors << where + QStringLiteral(": ElementName repeats an earlier action's name "
                                             "(names are compared ignoring case)");
        }
        names.insert(action.elementName.toUpper());
        if (action.parent.isEmpty())
            errors << where + QStringLiteral(": Parent (the folder of the action) is empty");
        if (!action.containsText && (action.textRequired || action.textMultiLine))
            errors << where + QStringLiteral(": TextRequired and TextMultiLine need ContainsText");
        QSet<QString> attributeNames;
        for (int j = 0; j < action.attributes.size(); ++j) {
            const Attribute &a = action.attributes.at(j);
            const QString attrWhere = where + QStringLiteral(", ") + attributeLabel(j, a.name);
            if (a.name.isEmpty()) {
                errors << attrWhere + QStringLiteral(": Name is missing or empty");
            } else if (!isTagName(a.name)) {
                errors << attrWhere + QStringLiteral(": Name is not a valid attribute name");
            } else if (attributeNames.contains(a.name.toUpper())) {
                errors << attrWhere + QStringLiteral(": Name repeats an earlier attribute of "
                                                     "this action (compared ignoring case)");
            }
            attributeNames.insert(a.name.toUpper());
            if (a.dataType < MinDataType || a.dataType > MaxDataType) {
                errors << attrWhere +
                              QStringLiteral(": DataType %1 is not one of 1 to 9").arg(a.dataType);
                continue;
            }
            validateDefault(a, attrWhere, errors);
        }
    }
    return errors;
}

QStringList editorWarnings(const Catalogue &catalogue)
{
    QStringList warnings;
    auto find = [&](const char *name) -> const Action * {
        for (const Action &action : catalogue.actions) {
            if (action.elementName == QLatin1String(name))
                return &action;
        }
        return nullptr;
    };
    for (const char *block : {"if", "else", "endif", "loop", "endloop"}) {
        if (!find(block))
            warnings << QStringLiteral("no action named \"%1\" (lower case): scripts cannot use "
                                       "this block")
                            .arg(QLatin1String(block));
    }
    for (const char *declaration : {"var", "range"}) {
        const Action *action = find(declaration);
        const bool hasName =
            action &&
            std::any_of(action->attributes.begin(), action->attributes.end(),
                        [](const Attribute &a) { return a.name == QLatin1String("name"); });
        if (!hasName)
            warnings << QStringLiteral("no action \"%1\" with an attribute \"name\": the "
                                       "properties dialog cannot list the script's %2")
                            .arg(QLatin1String(declaration),
                                 QLatin1String(*declaration == 'v' ? "variables" : "ranges"));
    }
    return warnings;
}

JsonReadResult readJson(const QByteArray &json)
{
    JsonReadResult result;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // Report a line number as well as the offset: easier to find in an editor.
        const qsizetype offset = qBound(qsizetype(0), qsizetype(parseError.offset), json.size());
        const qsizetype line = json.left(offset).count('\n') + 1;
        result.errors << QStringLiteral("not valid JSON at line %1 (offset %2): %3")
                             .arg(line)
                             .arg(parseError.offset)
                             .arg(parseError.errorString());
        return result;
    }
    if (!document.isObject()) {
        result.errors << QStringLiteral("the top level must be an object with an \"Actions\" "
                                        "array");
        return result;
    }
    const QJsonObject root = document.object();
    FieldReader fields(root, QStringLiteral("catalogue"), result.errors);
    QString format = kFormat;
    fields.string(QStringLiteral("Format"), format);
    if (format != kFormat)
        fields.error(QStringLiteral("Format"), QStringLiteral("must be \"%1\"").arg(kFormat));
    int version = kVersion;
    fields.integer(QStringLiteral("Version"), version);
    if (version != kVersion)
        fields.error(
            QStringLiteral("Version"),
            QStringLiteral("%1 is not supported (expected %2)").arg(version).arg(kVersion));
    const QJsonValue actions = fields.raw(QStringLiteral("Actions"));
    fields.reportUnknown();
    if (!actions.isArray()) {
        result.errors << QStringLiteral("catalogue: \"Actions\" must be an array, not %1")
                             .arg(jsonTypeName(actions));
        return result;
    }
    const QJsonArray array = actions.toArray();
    for (int i = 0; i < array.size(); ++i) {
        if (!array.at(i).isObject()) {
            result.errors << QStringLiteral("%1: must be an object, not %2")
                                 .arg(actionLabel(i, QString()), jsonTypeName(array.at(i)));
            continue;
        }
        result.catalogue.actions << readAction(array.at(i).toObject(), i, result.errors);
    }
    if (result.errors.isEmpty())
        result.errors = validate(result.catalogue);
    return result;
}

namespace {

// One JSON scalar or array, compact, as QJsonDocument encodes it.
QByteArray encode(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// Fields in schema order (QJsonObject would sort them by name).
class FieldWriter {
public:
    void add(const char *key, const QJsonValue &value)
    {
        m_fields << encode(QString::fromLatin1(key)) + ": " + encode(value);
    }
    QByteArray join(const QByteArray &separator) const { return m_fields.join(separator); }

private:
    QByteArrayList m_fields;
};

QJsonValue defaultJson(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::LongLong)
        return value.toLongLong();
    return value.toString();
}

} // namespace

QByteArray writeJson(const Catalogue &catalogue)
{
    QByteArrayList actions;
    for (const Action &action : catalogue.actions) {
        FieldWriter o;
        o.add("ElementName", action.elementName);
        o.add("Parent", action.parent);
        o.add("Description", action.description);
        o.add("Information", action.information);
        if (action.containsText)
            o.add("ContainsText", true);
        if (!action.text.isEmpty())
            o.add("Text", action.text);
        if (action.containsText || !action.textDescription.isEmpty())
            o.add("TextDescription", action.textDescription);
        if (action.textRequired)
            o.add("TextRequired", true);
        if (action.textMultiLine)
            o.add("TextMultiLine", true);
        QByteArray text = "        {\n            " + o.join(",\n            ");
        if (!action.attributes.isEmpty()) {
            QByteArrayList attributes;
            for (const Attribute &a : action.attributes) {
                FieldWriter ao;
                ao.add("Name", a.name);
                ao.add("Description", a.description);
                ao.add("DataType", a.dataType);
                if (a.required)
                    ao.add("Required", true);
                const QJsonValue defaultValue = defaultJson(a.defaultValue);
                if (!defaultValue.isString() || !defaultValue.toString().isEmpty())
                    ao.add("DefaultValue", defaultValue);
                if (!a.value.isEmpty())
                    ao.add("Value", a.value);
                if (!a.arrayValues.isEmpty())
                    ao.add("ArrayValues", QJsonArray::fromStringList(a.arrayValueList()));
                attributes << "                { " + ao.join(", ") + " }";
            }
            text +=
                ",\n            \"Attributes\": [\n" + attributes.join(",\n") + "\n            ]";
        }
        actions << text + "\n        }";
    }
    return "{\n    \"Format\": " + encode(kFormat) +
           ",\n    \"Version\": " + QByteArray::number(kVersion) + ",\n    \"Actions\": [\n" +
           actions.join(",\n") + (actions.isEmpty() ? "" : "\n") + "    ]\n}\n";
}

} // namespace stepsmith::catalogue
