#include "core/settings/CRegistryError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString executableName()
{
    if (QCoreApplication::instance() != nullptr) {
        QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("stepsmith");
}

} // namespace

CRegistryError::CRegistryError(const QString &description)
    : std::runtime_error(description.toStdString()),
      m_source(executableName() + QStringLiteral(".cRegistry")), m_description(description)
{}
