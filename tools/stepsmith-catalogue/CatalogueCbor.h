#pragma once

#include "CatalogueModel.h"

#include <QByteArray>
#include <QCborMap>
#include <QStringList>

namespace stepsmith::catalogue {

// The compiled catalogue (Actions.dat): one CBOR map whose text keys are "ElementCount",
// "ElementName<i>", "AttribName<i>_<j>", "Type<i>-<j>"... (docs/catalogue-format.md).
QCborMap toCborMap(const Catalogue &catalogue);
QByteArray toCbor(const Catalogue &catalogue);

// Reads a compiled catalogue; the program's loader reads it with this too. Missing keys take
// their defaults, values of the wrong type are ignored and of a key written twice the first
// one counts. A file that is not a CBOR map or has no "ElementCount" is an error; one whose
// counts are out of range too, but it is read as far as its keys go.
struct CborReadResult {
    Catalogue catalogue;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

CborReadResult fromCborMap(const QCborMap &map);
CborReadResult fromCbor(const QByteArray &data);

} // namespace stepsmith::catalogue
