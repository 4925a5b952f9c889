#pragma once

#include <QString>
#include <QVariant>

#include <ostream>

// Readable Qt values in GoogleTest failure messages.
inline void PrintTo(const QString &value, std::ostream *out)
{
    *out << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QVariant &value, std::ostream *out)
{
    *out << (value.isValid() ? value.typeName() : "invalid") << '('
         << value.toString().toStdString() << ')';
}
