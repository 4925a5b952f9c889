#pragma once

#include "CatalogueModel.h"

#include <QByteArray>
#include <QStringList>

namespace stepsmith::catalogue {

// Reads the readable catalogue source (data/actions.json). Every problem found is listed in
// `errors` (one message each, naming the action and attribute); the catalogue is only meaningful
// when `errors` is empty.
struct JsonReadResult {
    Catalogue catalogue;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

JsonReadResult readJson(const QByteArray &json);

// Checks the rules every catalogue must follow: element names present, valid as tag names and
// unique ignoring case; attribute names likewise within their action; data types 1 to 9;
// defaults that fit their type. Returns one message per problem.
QStringList validate(const Catalogue &catalogue);

// Lists what the editor relies on but the catalogue lacks: the block actions "if", "else",
// "endif", "loop" and "endloop" (exact lower-case names) and "var" and "range" with an attribute
// "name". A catalogue without them is valid but loses those features in the editor.
QStringList editorWarnings(const Catalogue &catalogue);

// Writes the catalogue as JSON source. Fields that hold their default are left out.
QByteArray writeJson(const Catalogue &catalogue);

} // namespace stepsmith::catalogue
