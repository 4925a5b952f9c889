#pragma once

#include <QString>
#include <QStringList>

// The message shown when no catalogue file is found; the program then ends.
QString CatalogueMissingMessage();

// Finds the catalogue file "Actions.dat" at start-up: in the folder of the host editor's
// setting "DatFiles" (section "Paths"), else in programDir, else in dataDir (the shared data
// folder of an installed program; ignored when empty). Returns the path, or "" when none exists.
QString LocateCatalogue(const QString &programDir, const QString &dataDir = QString());

// The message about what loading the catalogue left out (CElements::LoadProblems): the first
// few problems, then how many more there are.
QString CatalogueProblemsMessage(const QStringList &problems);
