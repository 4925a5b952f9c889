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

// Reads a compiled catalogue. Missing keys take their defaults and values of the wrong type are
// ignored, as the program's loader does; a file that is not a CBOR map, or whose counts are out
// of range, is an error.
struct CborReadResult {
    Catalogue catalogue;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

CborReadResult fromCborMap(const QCborMap &map);
CborReadResult fromCbor(const QByteArray &data);

} // namespace stepsmith::catalogue
