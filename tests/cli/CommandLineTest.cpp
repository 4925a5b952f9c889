// Runs the built program in its command-line modes.
#include <QCborValue>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ProgramRun {
    int status = -1;
    QStringList errorLines;
    QByteArray output;
};

// The built program, or the one STEPSMITH_PROGRAM_UNDER_TEST names (an installed one).
QString programUnderTest()
{
    const QString installed = qEnvironmentVariable("STEPSMITH_PROGRAM_UNDER_TEST");
    return installed.isEmpty() ? QStringLiteral(STEPSMITH_PROGRAM) : installed;
}

class CommandLineTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    ProgramRun run(const QStringList &arguments, const QString &program = programUnderTest()) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        for (const QString &variable : environment)
            env.insert(variable.section(QLatin1Char('='), 0, 0),
                       variable.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        ProgramRun r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.output = process.readAllStandardOutput();
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        for (const QString &line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            r.errorLines << line;
        return r;
    }

    QTemporaryDir dir;
    // NAME=value pairs added to the environment of the runs.
    QStringList environment;
};

const QByteArray kGood =
    "<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
    "    <zmlhead>\r\n"
    "        <author>A</author>\r\n"
    "        <company></company>\r\n"
    "        <web></web>\r\n"
    "        <email></email>\r\n"
    "        <version>1.0</version>\r\n"
    "        <description></description>\r\n"
    "    </zmlhead>\r\n"
    "    <zmlbody>\r\n"
    "        <var name=\"n\" value=\"1\" />\r\n"
    "        <if var=\"n\" operator=\"=\" value=\"1\">\r\n"
    "            <msgbox title=\"t\" buttons=\"\" icon=\"\" result=\"\">Hi</msgbox>\r\n"
    "        </if>\r\n"
    "    </zmlbody>\r\n"
    "</zml>\r\n";

// As the editor writes it: disabled steps of every kind (openers without their closers too),
// values made only of tabs and line breaks, a comment and nested blocks.
const QByteArray kEditorWritten =
    "<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
    "    <zmlhead>\r\n"
    "        <author>A</author>\r\n"
    "        <company></company>\r\n"
    "        <web>&#9;</web>\r\n"
    "        <email>&#10;</email>\r\n"
    "        <version>1.0</version>\r\n"
    "        <description>&#9;&#10;&#9;</description>\r\n"
    "    </zmlhead>\r\n"
    "    <zmlbody>\r\n"
    "        <var name=\"n\" value=\"&#9;\" />\r\n"
    "    <!--\r\n"
    "a comment\r\n"
    "-->\r\n"
    "        <loop count=\"2\" counter=\"\">\r\n"
    "            <if var=\"n\" operator=\"=\" value=\"1\">\r\n"
    "                <msgbox title=\"t\" buttons=\"\" icon=\"\" result=\"\">&#10;</msgbox>\r\n"
    "                <!-- <msgbox title=\"t\" buttons=\"\" icon=\"\" result=\"\">off</msgbox> "
    "-->\r\n"
    "            <!-- <else /> -->\r\n"
    "                <var name=\"m\" value=\"\" />\r\n"
    "            </if>\r\n"
    "        </loop>\r\n"
    "        <!-- <loop count=\"1\" counter=\"\" /> -->\r\n"
    "            <!-- <if var=\"n\" operator=\"=\" value=\"\" /> -->\r\n"
    "                <var name=\"deep\" value=\"\" />\r\n"
    "    </zmlbody>\r\n"
    "</zml>\r\n";

} // namespace

TEST_F(CommandLineTest, CheckAcceptsGoodScriptsAndReportsEveryProblem)
{
    const QString good = write("good.zml", kGood);
    ProgramRun r = run({"--check", good});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.errorLines.isEmpty()) << r.errorLines.join('\n').toStdString();

    // Flat if without endif opens, but would not save.
    const QString open = write("open.zml", "<zml version=\"1.0\"><zmlhead><version>1.0</version>"
                                           "</zmlhead><zmlbody><if /></zmlbody></zml>");
    const QString header = write("header.zml", "<zml version=\"1.0\"><zmlhead><x/></zmlhead>"
                                               "<zmlbody/></zml>");
    const QString corrupt = write("corrupt.zml", "<zml");
    r = run({"--check", good, open, header, corrupt, path("none.zml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.errorLines,
        (QStringList{
            open + ":1:70: error: If without End If or Loop without End Loop. Save "
                   "action aborted.",
            header + ":1:29: info: Unsupported element found in the header 'x' This "
                     "element will be removed when you save the file",
            header + ":1:20: info: File version is missing. Inserting 1.0",
            corrupt + ":1:1: error: This file is corrupt or not a valid ZML file '" + corrupt + "'",
            path("none.zml") + ": error: Can't find the file '" + path("none.zml") + "'",
        }));

    // Information messages alone do not fail the check.
    r = run({"--check", header});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errorLines.size(), 2);
}

// Hand-made scripts with one fault each, and where the message must point: the parser's place,
// the element at fault, the unbalanced or stray block tag, the comment holding a stray closer.
struct LocatedCase {
    const char *name;
    QByteArray text;
    const char *where; // "LINE:COLUMN" or "" for no place
    const char *severity;
    const char *message; // the start of the text
};

const QByteArray kHead = "<zml version=\"1.0\">\n  <zmlhead>\n    <version>1.0</version>\n"
                         "  </zmlhead>\n  <zmlbody>\n";
const QByteArray kTail = "  </zmlbody>\n</zml>\n";

const LocatedCase kLocatedCases[] = {
    {"corrupt.zml", "<zml version=\"1.0\">\n  <zmlhead>\n  </zmlbody>\n</zml>\n", "3:5", "error",
     "This file is corrupt"},
    {"notzml.zml", "<zmx version=\"1.0\">\n</zmx>\n", "1:1", "error", "This file is not a valid"},
    {"version.zml", "\n  <zml version=\"9\">\n</zml>\n", "2:3", "error", "The file has an invalid"},
    {"nohead.zml", "<zml version=\"1.0\">\n  <head/>\n</zml>\n", "2:3", "error",
     "File doesn't contain a valid header"},
    {"nobody.zml", "<zml version=\"1.0\">\n  <zmlhead/>\n  <body/>\n</zml>\n", "3:3", "error",
     "File doesn't contain a valid body"},
    {"header.zml",
     "<zml version=\"1.0\">\n  <zmlhead>\n    <version>1</version>\n    <a/><b/>\n    <c/>\n"
     "      <d/><e/>\n  </zmlhead>\n  <zmlbody/>\n</zml>\n",
     "6:7", "info", "2 more unsupported elements"},
    {"noversion.zml", "<zml version=\"1.0\">\n  <zmlhead>\n  </zmlhead>\n  <zmlbody/>\n</zml>\n",
     "2:3", "info", "File version is missing"},
    {"openloop.zml",
     kHead +
         "    <var name=\"n\" value=\"1\"/>\n    <loop count=\"2\" counter=\"\"/>\n"
         "    <var name=\"n\" value=\"2\"/>\n" +
         kTail,
     "7:5", "error", "If without End If or Loop without End Loop"},
    {"strayend.zml", kHead + "    <var name=\"n\" value=\"1\"/>\n      <endloop/>\n" + kTail, "7:7",
     "error", "If without End If or Loop without End Loop"},
    {"straycomment.zml",
     kHead + "    <var name=\"n\" value=\"1\"/>\n    <!-- <ENDIF> -->\n" + kTail, "7:5", "error",
     "End If without If"},
    {"disabled.zml",
     kHead +
         "    <!-- <if var=\"n\" operator=\"=\" value=\"1\" /> -->\n"
         "    <var name=\"n\" value=\"1\"/>\n    <endif/>\n" +
         kTail,
     "8:5", "error", "Step 1 is a disabled If"},
    {"missing.zml", QByteArray(), "", "error", "Can't find the file"},
};

TEST_F(CommandLineTest, CheckLocatesEveryMessageInTextAndJson)
{
    QStringList files;
    for (const LocatedCase &c : kLocatedCases) {
        files << (c.text.isNull() ? path(c.name) : write(c.name, c.text));
    }
    const ProgramRun text = run(QStringList{"--check"} + files);
    EXPECT_EQ(text.status, 1);
    const ProgramRun json = run(QStringList{"--check", "--diagnostics=json"} + files);
    EXPECT_EQ(json.status, 1);
    ASSERT_EQ(text.errorLines.size(), json.errorLines.size());

    // The message of each case (the last of its script's), in the order of the files.
    QHash<QString, QString> textOf;
    QHash<QString, QJsonObject> jsonOf;
    for (int i = 0; i < text.errorLines.size(); ++i) {
        QJsonParseError error{};
        const QJsonObject object =
            QJsonDocument::fromJson(json.errorLines.at(i).toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.errorLines.at(i).toStdString();
        const QString file = object.value("file").toString();
        EXPECT_TRUE(text.errorLines.at(i).startsWith(file + ":"));
        EXPECT_TRUE(text.errorLines.at(i).endsWith(object.value("text").toString()));
        textOf[file] = text.errorLines.at(i);
        jsonOf[file] = object;
    }
    for (int i = 0; i < files.size(); ++i) {
        const LocatedCase &c = kLocatedCases[i];
        const QString where = QString::fromLatin1(c.where);
        const QString prefix =
            files[i] + (where.isEmpty() ? "" : ":" + where) + ": " + c.severity + ": " + c.message;
        EXPECT_TRUE(textOf.value(files[i]).startsWith(prefix))
            << textOf.value(files[i]).toStdString() << "\nexpected: " << prefix.toStdString();
        const QJsonObject object = jsonOf.value(files[i]);
        EXPECT_EQ(object.value("severity").toString(), c.severity) << c.name;
        EXPECT_TRUE(object.value("text").toString().startsWith(c.message)) << c.name;
        const QString place = object.value("line").isNull()
                                  ? QString()
                                  : QStringLiteral("%1:%2")
                                        .arg(object.value("line").toInt())
                                        .arg(object.value("column").toInt());
        EXPECT_EQ(place, where) << c.name;
    }
}

// Many scripts checked at once (in parallel) print what checking them one by one prints, in
// the order given, and fail when any fails.
TEST_F(CommandLineTest, CheckOfManyScriptsEqualsCheckingThemOneByOne)
{
    QStringList files;
    for (int round = 0; round < 4; ++round) {
        files << write(QStringLiteral("good%1.zml").arg(round), kGood)
              << write(QStringLiteral("edited%1.zml").arg(round), kEditorWritten);
        for (const LocatedCase &c : kLocatedCases) {
            const QString name = QStringLiteral("%1-%2").arg(round).arg(c.name);
            files << (c.text.isNull() ? path(name) : write(name, c.text));
        }
    }
    QStringList oneByOne;
    for (const QString &file : files)
        oneByOne += run({"--check", file}).errorLines;
    const ProgramRun all = run(QStringList{"--check"} + files);
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.errorLines.join('\n').toStdString(), oneByOne.join('\n').toStdString());

    const QStringList good = files.filter(QRegularExpression("/(good|edited)\\d"));
    ASSERT_EQ(good.size(), 8);
    EXPECT_EQ(run(QStringList{"--check"} + good).status, 0);
}

TEST_F(CommandLineTest, FormatWritesWhatSaveWould)
{
    QByteArray messy = kGood;
    messy.replace("        <var", "<var");
    messy.replace("\r\n", "\n");
    const QString in = write("in.zml", messy);
    const QString out = path("out"); // written exactly as named
    ProgramRun r = run({"--format", in, out});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(read(out), kGood);

    // What the editor wrote comes out byte for byte.
    const QString written = write("written.zml", kEditorWritten);
    r = run({"--format", written, path("again.zml")});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(read(path("again.zml")).toStdString(), kEditorWritten.toStdString());

    // A script that would not save leaves an existing output as it was.
    write("old.zml", "old");
    const QString bad = write("bad.zml", "<zml version=\"1.0\"><zmlhead/><zmlbody><endif/>"
                                         "</zmlbody></zml>");
    r = run({"--format", bad, path("old.zml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(read(path("old.zml")), "old");
    EXPECT_EQ(r.errorLines.last(), bad + ":1:39: error: If without End If or Loop without End "
                                         "Loop. Save action aborted.");

    // A long script cut short, read and written batch by batch, leaves OUT as it was and no
    // other file behind; OUT may also be IN itself.
    QByteArray cut = "<zml version=\"1.0\"><zmlhead/><zmlbody>";
    for (int i = 0; i < 10000; ++i)
        cut += "<var name=\"v" + QByteArray::number(i) + "\" value=\"\" />\r\n";
    const QString cutShort = write("cut.zml", cut);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    r = run({"--format", cutShort, path("old.zml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(read(path("old.zml")), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    const QString self = write("self.zml", messy);
    r = run({"--format", self, self});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(read(self), kGood);

    r = run({"--format", in, path("missing/dir/out.zml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{path("missing/dir/out.zml") +
                                        ": error: Can't save the file. Make sure the file and "
                                        "folder isn't write protected"});
}

TEST_F(CommandLineTest, FormatInPlaceWritesOnlyWhenTheBytesChange)
{
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    const auto age = [&old](const QString &file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadWrite));
        EXPECT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    };
    const auto modified = [](const QString &file) {
        return QFileInfo(file).lastModified().toUTC();
    };

    const QString good = write("good.zml", kGood);
    age(good);
    ProgramRun r = run({"--format", good});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(modified(good), old);
    EXPECT_EQ(read(good), kGood);

    QByteArray messy = kGood;
    messy.replace("\r\n", "\n");
    const QString in = write("in.zml", messy);
    age(in);
    r = run({"--format", in});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(read(in), kGood);
    EXPECT_NE(modified(in), old);

    // A script that would not save stays as it was.
    const QByteArray unbalanced = "<zml version=\"1.0\"><zmlhead/><zmlbody><if/></zmlbody></zml>";
    const QString bad = write("bad.zml", unbalanced);
    r = run({"--format", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(read(bad), unbalanced);
}

TEST_F(CommandLineTest, CatalogueOption)
{
    const QString good = write("good.zml", kGood);
    // With an empty catalogue every step is dropped as unknown: the script still checks.
    const QString empty = write("empty.dat", QByteArray());
    ProgramRun r = run({"--format", "--catalogue", empty, good, path("out.zml")});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(read(path("out.zml")).contains("<var"));
    EXPECT_TRUE(read(path("out.zml")).contains("    <zmlbody>\r\n    </zmlbody>\r\n"));

    r = run({"--check", "--catalogue", path("nothing.dat"), good});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines,
              QStringList{path("nothing.dat") + ": error: Can't find the catalogue file '" +
                          path("nothing.dat") + "'"});
}

TEST_F(CommandLineTest, BothProgramsReadAKeyWrittenTwiceAlike)
{
    // A map of five pairs whose key "ElementName1" comes twice: the first one counts.
    QByteArray bytes("\xA5");
    const auto pair = [&bytes](const QString &key, const QCborValue &value) {
        bytes += QCborValue(key).toCbor() + value.toCbor();
    };
    pair(QStringLiteral("ElementCount"), 1);
    pair(QStringLiteral("ElementName1"), QStringLiteral("first"));
    pair(QStringLiteral("AttribCount1"), 1);
    pair(QStringLiteral("AttribName1_1"), QStringLiteral("a"));
    pair(QStringLiteral("ElementName1"), QStringLiteral("second"));
    const QString catalogue = write("twice.dat", bytes);

    const QString script = write("s.zml", "<zml version=\"1.0\"><zmlhead><version>1.0</version>"
                                          "</zmlhead><zmlbody><first a=\"1\"/><second a=\"2\"/>"
                                          "</zmlbody></zml>");
    ProgramRun r = run({"--format", "--catalogue", catalogue, script, path("out.zml")});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    const QByteArray formatted = read(path("out.zml"));
    EXPECT_TRUE(formatted.contains("        <first a=\"1\" />\r\n")) << formatted.toStdString();
    EXPECT_FALSE(formatted.contains("second"));

    r = run({"dump", catalogue}, QStringLiteral(STEPSMITH_CATALOGUE_TOOL));
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_TRUE(r.output.contains("\"ElementName\": \"first\"")) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains("second"));
}

TEST_F(CommandLineTest, UsageErrors)
{
    const QString good = write("good.zml", kGood);
    for (const QStringList &arguments :
         {QStringList{"--check"}, QStringList{"--format"}, QStringList{"--format", good, "a", "b"},
          QStringList{"--check", "--format", good, "x"},
          QStringList{"--check", good, "--catalogue"}, QStringList{"--catalogue", "x", good}}) {
        const ProgramRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString();
        ASSERT_FALSE(r.errorLines.isEmpty());
        EXPECT_TRUE(r.errorLines.first().startsWith("stepsmith: "));
    }
}

// Anything that looks like an option and is not one never opens the window, in any mode.
TEST_F(CommandLineTest, UnknownOptionsAreRefusedWithTheUsage)
{
    const QString good = write("good.zml", kGood);
    // The arguments, the last of them the one refused.
    for (QStringList arguments :
         {QStringList{"--bogus"}, QStringList{good, "-x"}, QStringList{good, "-"},
          QStringList{"--check", good, "--bogus"}, QStringList{"--format", good, "out", "-o"},
          QStringList{"--export-pdf", good, "x.pdf", "--verbose"},
          QStringList{"--check", "-reverse"}}) {
        const ProgramRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString();
        ASSERT_GE(r.errorLines.size(), 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(r.errorLines.first().toStdString(),
                  "stepsmith: unknown option " + arguments.last().toStdString());
        EXPECT_TRUE(r.errorLines.at(1).startsWith("usage: stepsmith"));
        EXPECT_TRUE(r.output.isEmpty());
        // Before the mode too.
        arguments.move(arguments.size() - 1, 0);
        EXPECT_EQ(run(arguments).status, 2) << arguments.join(' ').toStdString();
    }
}

TEST_F(CommandLineTest, HelpAndVersionPrintWithoutADisplay)
{
    for (const char *option : {"--help", "-h"}) {
        const ProgramRun r = run({option});
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.errorLines.isEmpty());
        EXPECT_TRUE(r.output.startsWith("usage: stepsmith [SCRIPT]\n")) << option;
        EXPECT_TRUE(r.output.contains("\n  --version ")) << option;
    }
    const ProgramRun r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.errorLines.isEmpty());
    EXPECT_TRUE(QRegularExpression("^stepsmith \\d+\\.\\d+\\.\\d+\n$")
                    .match(QString::fromUtf8(r.output))
                    .hasMatch())
        << r.output.toStdString();
}

TEST_F(CommandLineTest, ArgumentsThatLookLikeQtOptionsAreFileNames)
{
    write("-reverse", kGood);
    ProgramRun r = run({"--format", "--", "-reverse", "-style"});
    EXPECT_EQ(r.status, 0) << r.errorLines.join('\n').toStdString();
    EXPECT_EQ(read(path("-style")), kGood);
    r = run({"--check", "--", "-platform"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{"-platform: error: Can't find the file '-platform'"});
}

TEST_F(CommandLineTest, DevicesAndPipesAreNeitherReadNorReplaced)
{
    const QString good = write("good.zml", kGood);
    const QString fifo = path("pipe.zml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ProgramRun r = run({"--check", fifo});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{fifo +
                                        ": error: This is a device or a pipe, not a file, "
                                        "and can't be opened '" +
                                        fifo + "'"});
    r = run({"--format", good, fifo});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{fifo +
                                        ": error: This is a device or a pipe, not a file: it "
                                        "was left as it is and the script was not saved '" +
                                        fifo + "'"});
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    r = run({"--check", "--catalogue", fifo, good});
    EXPECT_EQ(r.status, 1);
}

namespace {

// The files the dynamic loader maps for a run (glibc's LD_DEBUG=files), and the run's status.
std::pair<int, QStringList> loadedFiles(ProgramRun r)
{
    static const QRegularExpression opened(QStringLiteral("\\sfile=(\\S+)"));
    QStringList files;
    for (const QString &line : r.errorLines) {
        if (const QRegularExpressionMatch m = opened.match(line); m.hasMatch())
            files << QFileInfo(m.captured(1)).fileName();
    }
    return {r.status, files};
}

} // namespace

TEST_F(CommandLineTest, OnlyPrintingAndTheWindowLoadTheWindowsLibraries)
{
    const QString good = write("good.zml", kGood);
    environment = {QStringLiteral("LD_DEBUG=files")};
    const QStringList windowLibraries{"libQt6Widgets", "libQt6Gui",    "libQt6PrintSupport",
                                      "libQt6DBus",    "libfieldpane", "stepsmith-gui"};
    const QList<std::pair<QStringList, int>> commandLines{{{"--check", good}, 0},
                                                          {{"--format", good, path("out.zml")}, 0},
                                                          {{"--help"}, 0},
                                                          {{"--version"}, 0},
                                                          {{"--check"}, 2}};
    for (const auto &[arguments, status] : commandLines) {
        const auto [exitStatus, files] = loadedFiles(run(arguments));
        const std::string runName = arguments.join(' ').toStdString();
        EXPECT_EQ(exitStatus, status) << runName;
        EXPECT_TRUE(files.contains(QStringLiteral("libQt6Core.so.6"))) << runName;
        for (const QString &library : windowLibraries) {
            EXPECT_FALSE(files.join(' ').contains(library))
                << runName << " loaded " << library.toStdString();
        }
    }
    const auto [exitStatus, files] = loadedFiles(run({"--export-pdf", good, path("out.pdf")}));
    EXPECT_EQ(exitStatus, 0);
    EXPECT_TRUE(files.contains(QStringLiteral("stepsmith-gui.so")));
    EXPECT_TRUE(files.contains(QStringLiteral("libQt6Gui.so.6")));
}

TEST_F(CommandLineTest, WindowStartsWithTheScriptItNames)
{
    const QString script = write("open.zml", kGood);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(programUnderTest(), {script});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The window keeps the script it opened among the recent files.
    const auto remembered = [&] {
        QDirIterator files(path(QStringLiteral("config")), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            if (read(files.next()).contains(script.toUtf8()))
                return true;
        }
        return false;
    };
    QElapsedTimer timer;
    timer.start();
    while (!remembered() && timer.elapsed() < 30000 && program.state() == QProcess::Running)
        QThread::msleep(50);
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(remembered());
    program.kill();
    program.waitForFinished(10000);
}

TEST_F(CommandLineTest, WithoutItsModuleTheProgramChecksAndNamesTheModuleItCannotLoad)
{
    const QString good = write("good.zml", kGood);
    const QString empty = write("empty.dat", QByteArray());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("alone/bin")));
    const QString program = path(QStringLiteral("alone/bin/stepsmith"));
    ASSERT_TRUE(QFile::copy(programUnderTest(), program));
    EXPECT_EQ(run({"--check", "--catalogue", empty, good}, program).status, 0);

    const QString prefix = QStringLiteral("stepsmith: can't load the window's module '");
    ProgramRun r = run({good}, program);
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines.at(0).startsWith(prefix + path(QStringLiteral("alone/"))));
    EXPECT_TRUE(
        r.errorLines.at(0).endsWith(QStringLiteral("/stepsmith/stepsmith-gui.so': No such file")))
        << r.errorLines.at(0).toStdString();

    // A module beside the program comes first; one the loader refuses is reported with its
    // reason, for the window and for printing alike.
    const QString broken = write(QStringLiteral("alone/bin/stepsmith-gui.so"), "not a library");
    for (const QStringList &arguments :
         {QStringList{good}, QStringList{"--export-pdf", good, path("out.pdf")}}) {
        r = run(arguments, program);
        EXPECT_EQ(r.status, 1);
        ASSERT_EQ(r.errorLines.size(), 1);
        EXPECT_TRUE(r.errorLines.at(0).startsWith(prefix + broken + QStringLiteral("': ")));
        EXPECT_TRUE(r.errorLines.at(0).contains(QStringLiteral("too short")))
            << r.errorLines.at(0).toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("out.pdf")));
}
