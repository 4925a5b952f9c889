// The settings file against garbage, odd encodings, size and a path that is not a file.
#include "core/settings/CRegistry.h"
#include "core/settings/CRegistryError.h"
#include "core/settings/RegFileFormat.h"
#include "core/settings/RegFileStore.h"
#include "support/TempSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

namespace {

const QString kSection = QStringLiteral("Software\\Halvern\\TR AddIn Editor");

class SettingsInput : public TempSettingsStore {
protected:
    static CRegistry reg(const QString &name, const QVariant &fallback = {})
    {
        CRegistry r;
        r.SectionKey = kSection;
        r.ValueKey = name;
        r.Default = fallback;
        return r;
    }
};

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

} // namespace

TEST_F(SettingsInput, BinaryGarbageReadsAsDefaultsAndIsReplacedOnWrite)
{
    for (const QByteArray &garbage :
         {randomBytes(1 << 20, 1), QByteArray(4096, '\0'),
          QByteArray("\xEF\xBB\xBF[HKEY_CURRENT_USER\\Software\n\"a\"=hex(ffffffffff):00")}) {
        writeUserFile(garbage);
        QFile::remove(userFile() + QStringLiteral(".bad"));
        CRegistry size = reg(QStringLiteral("FontSize"), 8);
        EXPECT_EQ(size.Value(), QVariant(8));

        size.ValueType = 4;
        EXPECT_NO_THROW(size.setValue(11));
        EXPECT_EQ(reg(QStringLiteral("FontSize")).Value(), QVariant(11));
        // The damaged original is kept beside the rewritten file.
        QFile backup(userFile() + QStringLiteral(".bad"));
        ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
        EXPECT_EQ(backup.readAll(), garbage);
    }
}

TEST_F(SettingsInput, ValuesAfterGarbageLinesAreKept)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n";
    text += randomBytes(2000, 7).replace('\n', ' ').replace('[', ' ').replace('"', ' ') + "\r\n";
    text += "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor]\r\n";
    text += "\"Broken\"=dword:\r\n\"Broken2\"=hex(7):6\r\n\"Broken3\"=\"no end\r\n";
    text += "\"FontName\"=\"Liberation Mono\"\r\n";
    writeUserFile(text);
    EXPECT_EQ(reg(QStringLiteral("FontName")).Value(), QVariant(QStringLiteral("Liberation Mono")));
    EXPECT_EQ(reg(QStringLiteral("Broken"), -1).Value(), QVariant(-1));
    EXPECT_EQ(reg(QStringLiteral("Broken2"), -1).Value(), QVariant(-1));
    EXPECT_EQ(reg(QStringLiteral("Broken3"), -1).Value(), QVariant(-1));
}

TEST_F(SettingsInput, AFolderInPlaceOfTheFileFailsCleanly)
{
    ASSERT_TRUE(QDir().mkpath(userFile()));
    EXPECT_EQ(reg(QStringLiteral("FontName"), QStringLiteral("x")).Value(),
              QVariant(QStringLiteral("x")));
    CRegistry write = reg(QStringLiteral("FontName"));
    EXPECT_THROW(write.setValue(QStringLiteral("Arial")), CRegistryError);
    EXPECT_TRUE(QFileInfo(userFile()).isDir());
}

TEST_F(SettingsInput, ALargeFileReadsEveryValue)
{
    // 100 000 values under 1000 keys, about 5 MB.
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int k = 0; k < 1000; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Many\\Key" + QByteArray::number(k) + "]\r\n";
        for (int v = 0; v < 100; ++v)
            text += "\"Value" + QByteArray::number(v) + "\"=\"" + QByteArray(20, 'x') +
                    QByteArray::number(k * 100 + v) + "\"\r\n";
    }
    const RegFileContent content = RegFileFormat::parse(text, QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(content.skippedLines, 0);
    ASSERT_EQ(content.keys.size(), 1000);
    writeUserFile(text);
    CRegistry last;
    last.SectionKey = QStringLiteral("Software\\Many\\Key999");
    last.ValueKey = QStringLiteral("Value99");
    EXPECT_EQ(last.Value(), QVariant(QString(QString(20, u'x') + QStringLiteral("99999"))));
}

TEST_F(SettingsInput, DevicesAndPipesAreNeitherReadNorReplaced)
{
    const QString fifo = m_dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &target : {fifo, QStringLiteral("/dev/zero")}) {
        QFile::remove(userFile());
        ASSERT_TRUE(QFile::link(target, userFile()));
        EXPECT_EQ(reg(QStringLiteral("FontSize"), 8).Value(), QVariant(8)); // returns at once
        EXPECT_TRUE(m_store->problem().contains(userFile())) << m_store->problem().toStdString();
        CRegistry write = reg(QStringLiteral("FontSize"));
        write.ValueType = 4;
        EXPECT_THROW(write.setValue(9), CRegistryError);
        EXPECT_EQ(QFileInfo(userFile()).symLinkTarget(), target);
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

TEST_F(SettingsInput, AnOversizedFileIsReadUpToTheLimitAndSetAside)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor]\r\n"
                      "\"FontName\"=\"Kept\"\r\n";
    // The limit falls inside a line whose start alone would read as dword 0.
    const qsizetype lineStart = RegFileStore::kMaxFileSize - 20;
    const QByteArray filler = "; " + QByteArray(998, 'f') + "\r\n";
    while (text.size() + filler.size() + 4 <= lineStart)
        text += filler;
    text += "; " + QByteArray(lineStart - text.size() - 4, 'f') + "\r\n";
    ASSERT_EQ(text.size(), lineStart);
    text += "\"FontSize\"=dword:00000011\r\n\"Beyond\"=\"x\"\r\n";
    writeUserFile(text);
    EXPECT_EQ(reg(QStringLiteral("FontName")).Value(), QVariant(QStringLiteral("Kept")));
    EXPECT_EQ(reg(QStringLiteral("FontSize"), 8).Value(), QVariant(8)); // a cut line is not read
    EXPECT_EQ(reg(QStringLiteral("Beyond"), 0).Value(), QVariant(0));

    CRegistry write = reg(QStringLiteral("IconStyle"));
    write.ValueType = 4;
    EXPECT_NO_THROW(write.setValue(1));
    EXPECT_EQ(QFileInfo(userFile() + QStringLiteral(".bad")).size(), text.size());
    EXPECT_LT(QFileInfo(userFile()).size(), 1000);
    EXPECT_EQ(reg(QStringLiteral("FontName")).Value(), QVariant(QStringLiteral("Kept")));
    EXPECT_EQ(reg(QStringLiteral("IconStyle")).Value(), QVariant(1));
}
