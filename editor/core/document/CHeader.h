#pragma once

#include <QString>

// The script header; one per editor window, reused for every document.
class CHeader final {
public:
    // Starts reset (see Reset).
    CHeader();

    QString Author;
    QString Company;
    QString Version;
    QString EMail;
    QString Web;
    QString Description;

    // Version "1.0", Author and Company from the host editor's settings, the rest empty.
    void Reset();
};
