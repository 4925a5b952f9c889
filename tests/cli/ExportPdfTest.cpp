// Runs the built program's --export-pdf mode and reads the PDF back with poppler's tools.
#include "core/printing/CPrinter.h"
#include "core/settings/RegFileStore.h"
#include "core/settings/SettingsStore.h"
#include "support/PdfText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

namespace {

struct ExportRun {
    int status = -1;
    QStringList errorLines;
};

class ExportPdfTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString configDir() const { return path(QStringLiteral("config")); }
    QString settingsFile() const
    {
        return configDir() + QStringLiteral("/stepsmith/HKEY_CURRENT_USER.reg");
    }

    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    // Stores page settings where the program looks for the user's settings.
    void storePageSettings(const std::function<void(CPrinter &)> &change) const
    {
        auto store = std::make_shared<RegFileStore>(configDir() + QStringLiteral("/stepsmith"));
        const auto previous = SettingsStore::setCurrent(store);
        {
            CPrinter printer(CPrinter::Persistence::Settings);
            change(printer);
            ASSERT_TRUE(printer.Save().Saved);
        }
        SettingsStore::setCurrent(previous);
    }

    // Runs the program without a display, as in a build job.
    ExportRun run(const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(STEPSMITH_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        ExportRun r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        for (const QString &line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            r.errorLines << line;
        return r;
    }

    static bool havePoppler()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
    }
    static QString simplified(const QString &text) { return text.simplified(); }

    QTemporaryDir m_dir;
};

// A script of about four pages: a header, 150 short steps and a block.
QByteArray longScript()
{
    QByteArray text = "<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
                      "    <zmlhead>\r\n"
                      "        <author>Ann Author</author>\r\n"
                      "        <company>Co</company>\r\n"
                      "        <web></web>\r\n"
                      "        <email></email>\r\n"
                      "        <version>2.5</version>\r\n"
                      "        <description>Printed script</description>\r\n"
                      "    </zmlhead>\r\n"
                      "    <zmlbody>\r\n";
    for (int i = 1; i <= 150; ++i)
        text += "        <var name=\"v" + QByteArray::number(i) + "\" value=\"" +
                QByteArray::number(i * 7) + "\" />\r\n";
    text += "        <if var=\"v1\" operator=\"=\" value=\"7\">\r\n"
            "            <msgbox title=\"t\" buttons=\"\" icon=\"\" result=\"\">Done</msgbox>\r\n"
            "        </if>\r\n"
            "    </zmlbody>\r\n"
            "</zml>\r\n";
    return text;
}

} // namespace

TEST_F(ExportPdfTest, PrintsTheSavedTextWithTheUsersPageSettings)
{
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
    storePageSettings([](CPrinter &printer) {
        printer.SetLineNumbers(true);
        printer.SetHeaderText(QStringLiteral("$L$f$R$p of $P"));
        printer.SetFooterText(QStringLiteral("$CPage: $p"));
    });
    const QByteArray settingsBefore = read(settingsFile());
    ASSERT_FALSE(settingsBefore.isEmpty());

    const QString script = write(QStringLiteral("report.zml"), longScript());
    const QString pdf = path(QStringLiteral("report.pdf"));
    ExportRun r = run({QStringLiteral("--export-pdf"), script, pdf});
    ASSERT_EQ(r.status, 0) << r.errorLines.join(u'\n').toStdString();
    EXPECT_TRUE(r.errorLines.isEmpty()) << r.errorLines.join(u'\n').toStdString();
    // The user's settings are read, not rewritten.
    EXPECT_EQ(read(settingsFile()), settingsBefore);

    // What Save writes, line by line, is what was printed, each line numbered.
    const QString saved = path(QStringLiteral("saved.zml"));
    ASSERT_EQ(run({QStringLiteral("--format"), script, saved}).status, 0);
    QStringList lines = QString::fromLatin1(read(saved)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString()); // Save adds one CR LF after "</zml>"
    ASSERT_EQ(lines.size(), 1 + 8 + 1 + 150 + 3 + 1 + 1);
    EXPECT_EQ(lines.last(), QStringLiteral("</zml>"));

    const QString text = PdfText(pdf, true);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    const QString flat = simplified(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString numbered = QStringLiteral("%1: %2")
                                     .arg(i + 1, 3, 10, QLatin1Char('0'))
                                     .arg(simplified(lines.at(i)));
        EXPECT_TRUE(flat.contains(numbered)) << numbered.toStdString();
    }

    // Every page: the file name and "n of N" on its first row, "Page: n" on its last; the
    // numbered lines run on from page to page.
    int lastNumber = 0;
    const QRegularExpression number(QStringLiteral("^\\s*(\\d{3}): "));
    for (int page = 1; page <= pages.size(); ++page) {
        const QStringList rows = pages.at(page - 1).trimmed().split(u'\n');
        ASSERT_GE(rows.size(), 3);
        EXPECT_TRUE(rows.first().trimmed().startsWith(QStringLiteral("report.zml")))
            << rows.first().toStdString();
        EXPECT_TRUE(rows.first().contains(QStringLiteral("%1 of ").arg(page)))
            << rows.first().toStdString();
        EXPECT_EQ(rows.last().trimmed(), QStringLiteral("Page: %1").arg(page));
        for (int row = 1; row + 1 < rows.size(); ++row) {
            const QRegularExpressionMatch m = number.match(rows.at(row));
            if (!m.hasMatch())
                continue;
            EXPECT_EQ(m.captured(1).toInt(), lastNumber + 1) << rows.at(row).toStdString();
            lastNumber = m.captured(1).toInt();
        }
    }
    EXPECT_EQ(lastNumber, lines.size());

    // The first page as an image: ink in the header, the text and the footer, none in the
    // left margin.
    const QString prefix = path(QStringLiteral("page"));
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"),
              {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
               QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
               QStringLiteral("-singlefile"), pdf, prefix});
    ASSERT_TRUE(ppm.waitForFinished(30000));
    QImage image(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    // A4 or Letter at 60 dots per inch.
    EXPECT_NEAR(image.width(), 500, 15);
    EXPECT_NEAR(image.height(), 680, 30);
    const auto inkIn = [&image](const QRect &area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++dark;
        return dark;
    };
    const int w = image.width();
    const int h = image.height();
    EXPECT_GT(inkIn(QRect(0, 0, w, h / 14)), 20);          // header
    EXPECT_GT(inkIn(QRect(0, h / 8, w, h * 3 / 4)), 2000); // numbered text
    EXPECT_GT(inkIn(QRect(0, h - h / 14, w, h / 14)), 20); // footer
    EXPECT_EQ(inkIn(QRect(0, 0, 30, h)), 0);               // left margin
}

TEST_F(ExportPdfTest, LongWrappedScriptCountsItsPagesExactlyAndLosesNoCharacter)
{
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
    storePageSettings([](CPrinter &printer) {
        printer.SetHeaderText(QStringLiteral("$L$f$R$p of $P"));
        printer.SetFooterText(QStringLiteral("$CPage $p of $P"));
    });
    // Steps whose lines wrap two or three times, and a home page longer than a line with no
    // blank in it.
    const QByteArray url = "http://example.com/" + QByteArray(300, 'u') + "/end";
    QByteArray text = longScript();
    text.replace("<web></web>", "<web>" + url + "</web>");
    QByteArray steps;
    for (int i = 1; i <= 200; ++i)
        steps += "        <var name=\"w" + QByteArray::number(i) + "\" value=\"" +
                 QByteArray("some words to wrap ").repeated(10) + "\" />\r\n";
    text.replace("    </zmlbody>", steps + "    </zmlbody>");
    const QString script = write(QStringLiteral("long.zml"), text);
    const QString pdf = path(QStringLiteral("long.pdf"));
    const ExportRun r = run({QStringLiteral("--export-pdf"), script, pdf});
    ASSERT_EQ(r.status, 0) << r.errorLines.join(u'\n').toStdString();

    const QString printed = PdfText(pdf, true);
    const QStringList pages = printed.split(u'\f', Qt::SkipEmptyParts);
    const int count = static_cast<int>(pages.size());
    ASSERT_GT(count, 10);
    for (int page = 1; page <= count; ++page) {
        const QStringList rows = pages.at(page - 1).trimmed().split(u'\n');
        const QString total = QStringLiteral("%1 of %2").arg(page).arg(count);
        EXPECT_TRUE(rows.first().trimmed().endsWith(total)) << rows.first().toStdString();
        EXPECT_EQ(rows.last().trimmed(), QStringLiteral("Page ") + total);
    }
    // The home page is broken at the right margin, not cut off there.
    QString joined = pages.first();
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(joined.contains(QStringLiteral("<web>") + QString::fromLatin1(url) +
                                QStringLiteral("</web>")));
}

TEST_F(ExportPdfTest, FailuresAreReportedAndLeaveFilesAlone)
{
    const QString script = write(QStringLiteral("s.zml"), longScript());

    ExportRun r = run({QStringLiteral("--export-pdf"), path(QStringLiteral("none.zml")),
                       path(QStringLiteral("none.pdf"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines,
              QStringList{path(QStringLiteral("none.zml")) + ": error: Can't find the file '" +
                          path(QStringLiteral("none.zml")) + "'"});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.pdf"))));

    const QString unwritable = path(QStringLiteral("missing/dir/out.pdf"));
    r = run({QStringLiteral("--export-pdf"), script, unwritable});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines,
              QStringList{unwritable + ": error: Can't write the file '" + unwritable + "'"});

    // The script itself is never printed over.
    r = run({QStringLiteral("--export-pdf"), script, script});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines.first().startsWith(script + QStringLiteral(": error: ")));
    EXPECT_EQ(read(script), longScript());

    // A corrupt script leaves an earlier PDF as it was.
    const QString old = write(QStringLiteral("old.pdf"), "old");
    const QString corrupt = write(QStringLiteral("corrupt.zml"), "<zml");
    r = run({QStringLiteral("--export-pdf"), corrupt, old});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(read(old), "old");

    // A good export replaces it.
    r = run({QStringLiteral("--export-pdf"), script, old});
    EXPECT_EQ(r.status, 0) << r.errorLines.join(u'\n').toStdString();
    EXPECT_TRUE(read(old).startsWith("%PDF-"));

    // A pipe is not replaced by the PDF.
    const QString fifo = path(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r = run({QStringLiteral("--export-pdf"), script, fifo});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{fifo +
                                        ": error: This is a device or a pipe, not a file: it "
                                        "was left as it is '" +
                                        fifo + "'"});
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

TEST_F(ExportPdfTest, FileNamesThatLookLikeQtOptionsStayFileNames)
{
    // Qt is never handed the arguments: "-platform" is a missing script, not an option.
    ExportRun r = run({QStringLiteral("--export-pdf"), QStringLiteral("--"),
                       QStringLiteral("-platform"), QStringLiteral("out.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errorLines, QStringList{"-platform: error: Can't find the file '-platform'"});
    write(QStringLiteral("-reverse"), longScript());
    r = run({QStringLiteral("--export-pdf"), QStringLiteral("--"), QStringLiteral("-reverse"),
             QStringLiteral("-style")});
    EXPECT_EQ(r.status, 0) << r.errorLines.join(u'\n').toStdString();
    EXPECT_TRUE(read(path(QStringLiteral("-style"))).startsWith("%PDF-"));
}

TEST_F(ExportPdfTest, UsageErrors)
{
    const QString script = write(QStringLiteral("s.zml"), longScript());
    for (const QStringList &arguments :
         {QStringList{"--export-pdf"}, QStringList{"--export-pdf", script},
          QStringList{"--export-pdf", script, "a.pdf", "b.pdf"},
          QStringList{"--export-pdf", "--check", script, "a.pdf"},
          QStringList{"--format", "--export-pdf", script, "a.pdf"},
          QStringList{"--export-pdf", script, "a.pdf", "--catalogue"}}) {
        const ExportRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(u' ').toStdString();
        ASSERT_FALSE(r.errorLines.isEmpty());
        EXPECT_TRUE(r.errorLines.first().startsWith(QStringLiteral("stepsmith: ")));
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("a.pdf")));
}
