// Runs the stepsmith-catalogue program as a user would.
#include "CatalogueCbor.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace stepsmith::catalogue;

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(STEPSMITH_CATALOGUE_TOOL), args);
    ToolRun r;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kBundled = QStringLiteral(STEPSMITH_SOURCE_DIR "/data/actions.json");
const QString kIntro = QStringLiteral(STEPSMITH_SOURCE_DIR "/data/help/intro.html");

} // namespace

TEST(CatalogueTool, CompileDumpCompileGivesTheSameFile)
{
    QTemporaryDir dir;
    const QString dat = dir.filePath(QStringLiteral("Actions.dat"));
    const QString json = dir.filePath(QStringLiteral("dump.json"));
    const QString dat2 = dir.filePath(QStringLiteral("again.dat"));
    ASSERT_EQ(runTool({QStringLiteral("compile"), kBundled, dat}).status, 0);
    ASSERT_EQ(runTool({QStringLiteral("dump"), dat, json}).status, 0);
    ASSERT_EQ(runTool({QStringLiteral("compile"), json, dat2}).status, 0);
    EXPECT_FALSE(readFile(dat).isEmpty());
    EXPECT_EQ(readFile(dat), readFile(dat2));

    const ToolRun toStdout = runTool({QStringLiteral("dump"), dat});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, readFile(json));
}

TEST(CatalogueTool, BadSourceFailsAndLeavesTheOutputAlone)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    const QString out = dir.filePath(QStringLiteral("Actions.dat"));
    writeFile(bad, R"({"Actions": [{"ElementName": "a", "Parent": "P"},
                                    {"ElementName": "A", "Parent": "P"}]})");
    writeFile(out, "previous");
    const ToolRun r = runTool({QStringLiteral("compile"), bad, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("bad.json")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("repeats an earlier action")) << r.err.toStdString();
    EXPECT_EQ(readFile(out), QByteArray("previous"));

    EXPECT_EQ(
        runTool({QStringLiteral("compile"), dir.filePath(QStringLiteral("missing.json")), out})
            .status,
        1);
    EXPECT_EQ(runTool({QStringLiteral("dump"), bad}).status, 1); // JSON is not CBOR
    EXPECT_EQ(runTool({QStringLiteral("compile"), kBundled,
                       dir.filePath(QStringLiteral("no/such/folder/Actions.dat"))})
                  .status,
              1);
}

TEST(CatalogueTool, WrongUsagePrintsHelp)
{
    for (const QStringList &args : {QStringList{}, QStringList{QStringLiteral("compile")},
                                    QStringList{QStringLiteral("frobnicate"), kBundled}}) {
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains("usage:"));
    }
}

TEST(CatalogueTool, HelpPageHasEveryActionAnchor)
{
    QTemporaryDir dir;
    const QString html = dir.filePath(QStringLiteral("stepsmith.html"));
    ASSERT_EQ(runTool({QStringLiteral("help-html"), kBundled, kIntro, html}).status, 0);
    const QString page = QString::fromUtf8(readFile(html));
    EXPECT_TRUE(page.contains(QLatin1String("<a name=\"index\">")));
    EXPECT_TRUE(page.contains(QLatin1String("Keyboard shortcuts"))); // from the introduction
    for (const char *name : {"var", "msgbox", "findtext", "endloop", "bmlast"})
        EXPECT_TRUE(page.contains(QStringLiteral("<a name=\"%1\">").arg(QLatin1String(name))))
            << name;
}

TEST(CatalogueTool, MissingEditorActionsAreWarningsNotErrors)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("small.json"));
    const QString out = dir.filePath(QStringLiteral("small.dat"));
    writeFile(source, R"({"Actions": [{"ElementName": "a", "Parent": "P"}]})");
    const ToolRun r = runTool({QStringLiteral("compile"), source, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains("warning: no action named \"endloop\"")) << r.err.toStdString();
    const CborReadResult back = fromCbor(readFile(out));
    ASSERT_TRUE(back.ok());
    ASSERT_EQ(back.catalogue.actions.size(), 1);
    EXPECT_EQ(back.catalogue.actions.at(0).elementName, QStringLiteral("a"));
}
