#pragma once

#include "CatalogueCbor.h"
#include "CatalogueJson.h"
#include "core/document/CDocument.h"
#include "core/host/MessageService.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// A scratch folder for the run, silent message boxes and a document with the bundled catalogue.
class FuzzSupport final {
public:
    FuzzSupport() : m_messages([](const QString &, MsgIcon, MsgButtons) { return MsgResult::Ok; })
    {
        if (!m_dir.isValid())
            std::abort();
        QFile source(QStringLiteral(STEPSMITH_CATALOGUE_JSON));
        if (!source.open(QIODevice::ReadOnly))
            std::abort();
        const auto read = stepsmith::catalogue::readJson(source.readAll());
        if (!read.ok() ||
            !writeFile(QStringLiteral("Actions.dat"), stepsmith::catalogue::toCbor(read.catalogue)))
            std::abort();
        m_doc.Catalogue().LoadFile(path(QStringLiteral("Actions.dat")));
        m_other.Catalogue().LoadFile(path(QStringLiteral("Actions.dat")));
        if (m_doc.Catalogue().Count() == 0 || m_other.Catalogue().Count() == 0)
            std::abort();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }

    // A document with the bundled catalogue, emptied for each input.
    CDocument &document()
    {
        m_doc.Clear();
        return m_doc;
    }
    // A second one, to compare with the first.
    CDocument &otherDocument()
    {
        m_other.Clear();
        return m_other;
    }

private:
    QTemporaryDir m_dir;
    ScopedMessageHandler m_messages;
    CDocument m_doc;
    CDocument m_other;
};
