#pragma once

#include "core/settings/RegFileStore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Installs a file store in a fresh temporary folder as the program's store for one test.
class TempSettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_store = std::make_shared<RegFileStore>(m_dir.path());
        m_previous = SettingsStore::setCurrent(m_store);
    }
    void TearDown() override { SettingsStore::setCurrent(m_previous); }

    QString userFile() const { return m_store->filePath(kHKeyCurrentUser); }

    void writeUserFile(const QByteArray &bytes) const
    {
        QFile file(userFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray readUserFile() const
    {
        QFile file(userFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<RegFileStore> m_store;
    std::shared_ptr<SettingsStore> m_previous;
};
