#pragma once

#include <QString>

#include <stdexcept>

// The error CRegistry raises when a key cannot be created or a value cannot be written.
class CRegistryError final : public std::runtime_error {
public:
    static constexpr int kNumber = 26001;

    explicit CRegistryError(const QString &description);

    int number() const { return kNumber; }
    // The program's executable name followed by ".cRegistry".
    QString source() const { return m_source; }
    QString description() const { return m_description; }

private:
    QString m_source;
    QString m_description;
};
