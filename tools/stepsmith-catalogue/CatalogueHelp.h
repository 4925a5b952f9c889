#pragma once

#include "CatalogueModel.h"

#include <QString>

namespace stepsmith::catalogue {

// Builds the help page: the introduction (the body of `introHtml`, or all of it when it has no
// <body>), an index of all actions by folder under the anchor "index", and one section per
// action under an anchor named after its element name. Catalogue text is HTML-escaped; the
// introduction is taken as written.
QString helpHtml(const Catalogue &catalogue, const QString &introHtml);

} // namespace stepsmith::catalogue
