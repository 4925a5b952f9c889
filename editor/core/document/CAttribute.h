#pragma once

#include <QString>
#include <QVariant>

// One attribute definition of an action together with a step's value for it.
class CAttribute final {
public:
    qint32 DataType = 0;   // value type code: stepsmith::catalogue::DataType (0: none)
    QString AttributeName; // the XML attribute name
    QString Value;         // the step's value, plain text (not escaped)
    bool Required = false; // the attribute must be given
    QVariant DefaultValue; // the value a new step gets in the properties dialog
    QString Description;   // caption in the properties dialog and the information text
    QString ArrayValues;   // list of allowed values
};
