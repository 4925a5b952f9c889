#include "core/zml/QuickBlockCheck.h"

#include "core/document/CDocument.h"
#include "core/zml/XmlEventParser.h"
#include "core/zml/ZmlWriter.h"

#include "support/RandomScript.h"
#include "support/TestCatalogue.h"
#include "support/ZmlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

struct Checked {
    BlockCheckResult text;
    QuickCheck quick;
};

Checked checkBoth(const std::function<void(CDocument &, StepMaker &)> &build)
{
    CDocument doc;
    FillTestCatalogue(doc.Catalogue());
    StepMaker steps(doc);
    build(doc, steps);
    return {CheckBlocksUtf8(BuildDocumentUtf8(doc)), QuickBlockCheck(doc)};
}

} // namespace

// The quick check may leave a sound document to the text check, but must never pass one the
// text check refuses.
TEST(QuickBlockCheckTest, PassesOnlyWhatTheTextCheckPasses)
{
    std::mt19937 random(18);
    std::vector<std::uint8_t> bytes;
    int passed = 0;
    int leftToText = 0;
    constexpr int kDocuments = 20000;
    for (int i = 0; i < kDocuments; ++i) {
        bytes.resize(random() % 40);
        for (auto &b : bytes)
            b = static_cast<std::uint8_t>(random());
        CDocument doc;
        FillTestCatalogue(doc.Catalogue());
        RandomScript(bytes.data(), bytes.size()).build(doc);
        const bool textOk = CheckBlocksUtf8(BuildDocumentUtf8(doc)) == BlockCheckResult::Ok;
        if (QuickBlockCheck(doc) == QuickCheck::Ok) {
            ++passed;
            ASSERT_TRUE(textOk) << BuildDocumentText(doc).toStdString();
            ASSERT_EQ(CheckBlocks(BuildDocumentText(doc)), BlockCheckResult::Ok);
        } else if (textOk) {
            ++leftToText;
        }
    }
    // Both answers occur often enough for the property to mean something.
    EXPECT_GT(passed, kDocuments / 10);
    EXPECT_GT(leftToText, kDocuments / 100);
}

TEST(QuickBlockCheckTest, SoundScriptsPassAndEachDoubtGoesToTheTextCheck)
{
    using R = BlockCheckResult;
    const auto expect = [](const Checked &checked, R text, QuickCheck quick, int line) {
        EXPECT_EQ(checked.text, text) << "line " << line;
        EXPECT_EQ(checked.quick, quick) << "line " << line;
    };
    constexpr QuickCheck kOk = QuickCheck::Ok;
    constexpr QuickCheck kText = QuickCheck::NeedsTextCheck;
    expect(checkBoth([](CDocument &, StepMaker &) {}), R::Ok, kOk, __LINE__);
    expect(checkBoth([](CDocument &doc, StepMaker &s) {
               doc.Header().Description = QStringLiteral("<a> & \"b\" --\r\n\t");
               s.append("loop", {{"count", "2"}});
               s.append("if", {{"cond", "a <endif & b -- c\r\n"}});
               s.append("saytext", {{"title", QString::fromUtf8("\xF0\x9F\x98\x80")}}, "x<y");
               s.append("else");
               s.append("if", {}, {}, true);
               s.comment("- a comment -\r\n");
               s.append("endif");
               s.append("endloop");
           }),
           R::Ok, kOk, __LINE__);
    // Unbalanced blocks and comments that break the text.
    expect(checkBoth([](CDocument &, StepMaker &s) { s.append("if"); }), R::Unbalanced, kText,
           __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) { s.append("endloop"); }), R::Unbalanced, kText,
           __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) {
               s.append("loop");
               s.append("endif");
           }),
           R::Unbalanced, kText, __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) { s.comment("a--b"); }), R::Unbalanced, kText,
           __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) {
               s.append("var", {{"value", "--"}}, {}, true);
           }),
           R::Unbalanced, kText, __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) { s.comment("x <EndLoop y"); }), R::StrayCloser,
           kText, __LINE__);
    // Characters XML does not allow, in the header, a value, a text or a comment.
    expect(checkBoth([](CDocument &doc, StepMaker &) { doc.Header().Web = QString(QChar(2)); }),
           R::Unbalanced, kText, __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) {
               s.append("var", {{"value", QString(QChar(0xFFFE))}});
           }),
           R::Unbalanced, kText, __LINE__);
    expect(
        checkBoth([](CDocument &, StepMaker &s) { s.append("saytext", {}, QString(QChar(0x1B))); }),
        R::Unbalanced, kText, __LINE__);
    expect(checkBoth([](CDocument &, StepMaker &s) { s.comment(QString(QChar(0xB))); }),
           R::Unbalanced, kText, __LINE__);
    // A lone surrogate is written as U+FFFD: sound, but left to the text check.
    expect(checkBoth([](CDocument &, StepMaker &s) {
               s.append("var", {{"value", QString(QChar(0xD800))}});
           }),
           R::Ok, kText, __LINE__);
    // Text of an action without text content is not written, so not checked.
    expect(checkBoth([](CDocument &, StepMaker &s) { s.append("var", {}, QString(QChar(1))); }),
           R::Ok, kOk, __LINE__);
}

// Names the catalogue or an edit may give that the parser does not read back as written.
TEST(QuickBlockCheckTest, NamesThatAreNotXmlNamesGoToTheTextCheck)
{
    const auto renamed = [](const QString &element, const QString &attribute, bool disabled) {
        return checkBoth([&](CDocument &doc, StepMaker &) {
            auto step = CElements::Copy(*doc.Catalogue().Item("var"));
            if (!element.isEmpty())
                step->ElementName = element;
            if (!attribute.isEmpty())
                step->Attributes().Item(2)->AttributeName = attribute;
            step->Disabled = disabled;
            doc.InsertStep(*step, -1);
        });
    };
    using R = BlockCheckResult;
    for (const auto &[element, attribute, disabled, text] :
         std::vector<std::tuple<QString, QString, bool, R>>{
             {"1var", {}, false, R::Unbalanced},
             {"a:b", {}, false, R::Unbalanced},
             {"EndIfNot", {}, false, R::StrayCloser},
             {"a--b", {}, true, R::Unbalanced},
             {{}, "name", false, R::Unbalanced}, // the same attribute twice
             {{}, "xmlns", false, R::Ok},        // read as a declaration, not an attribute
             {{}, "a b", false, R::Unbalanced},
             {{}, "x--y", true, R::Unbalanced}}) {
        const Checked checked = renamed(element, attribute, disabled);
        EXPECT_EQ(checked.text, text) << element.toStdString() << attribute.toStdString();
        EXPECT_EQ(checked.quick, QuickCheck::NeedsTextCheck)
            << element.toStdString() << attribute.toStdString();
    }
    EXPECT_EQ(renamed("my-var", "x--y", false).quick, QuickCheck::Ok);
}

// One parser judges every name in turn: a name it refused leaves nothing behind for the next.
TEST(XmlNameTest, EachNameIsJudgedAloneOnOneParser)
{
    const std::vector<std::pair<QString, bool>> elements = {
        {"var", true},   {"1a", false},
        {"a", true},     {"a b", false},
        {"x:y", false},  {"xml:lang", true},
        {"", false},     {QString::fromUtf8("caf\xC3\xA9"), true},
        {"b", true},     {"xml", true},
        {"xmlns", true}, {"_a.b-c9", true},
        {"-a", false},   {".a", false},
        {"a.", true},    {"Z", true}};
    for (const auto &[name, valid] : elements)
        EXPECT_EQ(IsXmlElementName(name), valid) << name.toStdString();
    const std::vector<std::pair<QString, bool>> attributes = {
        {"value", true},    {"xmlns", false},  {"name", true}, {"a=", false},
        {"xmlns:p", false}, {"n", true},       {"a\"", false}, {"b", true},
        {"XMLNS", true},    {"xmlns-a", true}, {"_", true},    {"9", false}};
    for (const auto &[name, valid] : attributes)
        EXPECT_EQ(IsXmlAttributeName(name), valid) << name.toStdString();
}

// Fed row by row as a file is read, the checker answers as the check of the whole document, and
// a restart (the file read again) forgets every row fed before.
TEST(QuickBlockCheckTest, RowByRowGivesTheAnswerOfTheWholeDocumentAndRestartsClean)
{
    CDocument doc;
    FillTestCatalogue(doc.Catalogue());
    StepMaker steps(doc);
    const auto feed = [&doc](QuickBlockChecker &checker) {
        doc.ForEachStep([&checker](int, const StepView &step, int) { checker.row(step); });
    };
    steps.append("if", {{"cond", "a"}});
    steps.append("var", {{"name", "v"}});
    QuickBlockChecker checker;
    feed(checker);
    EXPECT_EQ(checker.rows(), 2);
    EXPECT_EQ(checker.result(doc.Header()), QuickCheck::NeedsTextCheck); // the if is open
    EXPECT_EQ(checker.result(doc.Header()), QuickBlockCheck(doc));

    steps.append("endif");
    checker.restart();
    EXPECT_EQ(checker.rows(), 0);
    feed(checker);
    EXPECT_EQ(checker.rows(), 3);
    EXPECT_TRUE(checker.proven());
    EXPECT_EQ(checker.result(doc.Header()), QuickCheck::Ok);
    EXPECT_EQ(QuickBlockCheck(doc), QuickCheck::Ok);
}
