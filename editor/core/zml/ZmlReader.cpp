#include "core/zml/ZmlReader.h"

#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "core/zml/AnsiCodec.h"
#include "core/zml/RegularFile.h"
#include "core/zml/SavedScriptFlattening.h"
#include "core/zml/StepQueue.h"
#include "core/zml/XmlEventParser.h"
#include "core/zml/XmlTree.h"
#include "core/zml/ZmlBodyReader.h"
#include "core/zml/ZmlPieces.h"
#include "core/zml/ZmlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using namespace ZmlBody;

// Hands the events inside one container element (at containerDepth, the root being 1) to a
// body reader.
class ContainerEvents final {
public:
    ContainerEvents(BodyReader &reader, int containerDepth)
        : m_reader(reader), m_containerDepth(containerDepth)
    {}
    // depth: open elements before the event.
    void startElement(int depth, std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing)
    {
        if (depth >= m_containerDepth)
            m_reader.startElement(name, attributes, count, selfClosing);
    }
    void endElement(int depth)
    {
        if (depth > m_containerDepth)
            m_reader.endElement();
    }
    void characters(int depth, XmlNodeType kind, std::string_view text)
    {
        if (depth >= m_containerDepth)
            m_reader.characters(kind, text);
    }

private:
    BodyReader &m_reader;
    int m_containerDepth;
};

// The steps of the children of a fragment's root element.
class FragmentReader final : public XmlEventHandler {
public:
    FragmentReader(const CElements &catalogue, int depth)
        : m_reader(catalogue, depth, buildInto(m_steps),
                   BodyReader::CommentedClosers::DisabledSteps),
          m_events(m_reader, 1)
    {}
    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        m_events.startElement(m_depth++, name, attributes, count, selfClosing);
    }
    void endElement() override { m_events.endElement(m_depth--); }
    void characters(XmlNodeType kind, std::string_view text, std::string_view) override
    {
        m_events.characters(m_depth, kind, text);
    }
    StepBatch takeSteps()
    {
        m_reader.finish();
        return std::move(m_steps);
    }

private:
    StepBatch m_steps;
    BodyReader m_reader;
    ContainerEvents m_events;
    int m_depth = 0;
};

class ZmlFileReader;
// The header's fields; unknown elements are noted in result, each name once.
HeaderFields readHeader(const ZmlFileReader &file, OpenResult &result);

void assignHeader(CHeader &header, const HeaderFields &fields)
{
    header.Author = fields.Author;
    header.Company = fields.Company;
    header.Version = fields.Version;
    header.EMail = fields.EMail;
    header.Web = fields.Web;
    header.Description = fields.Description;
}

// What a ZML file holds, gathered while it is parsed: the root's name and version, the names
// of its first two elements and the header fields. The steps of the body are handed to
// publish, and only when the file looks like a script up to its body.
class ZmlFileReader final : public XmlEventHandler {
public:
    ZmlFileReader(const CElements &catalogue, BodyReader::Publish publish)
        : m_catalogue(catalogue), m_publish(std::move(publish))
    {}

    // The parser whose events come in, for the places of the elements.
    void setParser(const XmlEventParser *parser) { m_parser = parser; }

    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        const int depth = m_depth++;
        if (m_body) {
            m_bodyEvents->startElement(depth, name, attributes, count, selfClosing);
            return;
        }
        if (depth <= 1 && m_parser)
            (depth == 0           ? rootPlace
             : m_topElements == 0 ? headPlace
                                  : bodyPlace) = m_parser->currentPlace();
        if (depth == 0) {
            rootName = fromUtf8(name);
            for (int i = 0; i < count; ++i) {
                if (is(attributes[i].name, "version")) {
                    version = fromUtf8(attributes[i].value);
                    break;
                }
            }
        } else if (depth == 1) {
            if (m_topElements == 0) {
                headName = fromUtf8(name);
                m_inHead = true;
            } else if (m_topElements == 1) {
                bodyName = fromUtf8(name);
                if (bodyName == QLatin1String("zmlbody") && rootName == QLatin1String("zml") &&
                    version == QLatin1String("1.0") && headName == QLatin1String("zmlhead")) {
                    // The head is complete: its fields go with the body's first batch.
                    OpenResult ignored;
                    m_body = std::make_unique<BodyReader>(
                        m_catalogue, 0,
                        [publish = m_publish,
                         header = std::make_shared<const HeaderFields>(readHeader(*this, ignored))](
                            PendingSteps &pending) mutable {
                            if (header)
                                pending.header = std::move(header);
                            publish(pending);
                        });
                    m_body->setParser(m_parser);
                    m_bodyEvents = std::make_unique<ContainerEvents>(*m_body, 2);
                }
            }
            ++m_topElements;
        } else if (depth == 2 && m_inHead) {
            header.push_back({fromUtf8(name), QByteArray()});
            headerPlaces.push_back(m_parser ? m_parser->currentPlace() : TextPlace());
        }
    }

    void endElement() override
    {
        const int depth = --m_depth;
        if (m_body && depth >= 2) {
            m_bodyEvents->endElement(depth + 1);
            return;
        }
        if (depth == 1) {
            m_inHead = false;
            if (m_body) {
                m_body->finish();
                rowPlaces = m_body->takeRowPlaces();
            }
            m_bodyEvents.reset();
            m_body.reset();
        }
    }

    void characters(XmlNodeType kind, std::string_view text, std::string_view) override
    {
        if (m_body) {
            m_bodyEvents->characters(m_depth, kind, text);
            return;
        }
        // A header field's value is all the text inside its element.
        if (m_inHead && m_depth >= 3 && (kind == XmlNodeType::Text || kind == XmlNodeType::CData))
            header.back().second.append(text.data(), qsizetype(text.size()));
    }

    // True when the parse stands in the body, outside its rows.
    bool betweenRows() const { return m_body && m_depth == 2; }

    // Ends the first piece of a text read in pieces (see ZmlPieces), parsed up to a place
    // between two rows of the body: hands the body's steps over and gives the depth of the rows
    // that follow. False when the piece does not end inside the body.
    bool endPiece(int *depth)
    {
        if (!betweenRows())
            return false;
        m_body->finish();
        rowPlaces = m_body->takeRowPlaces();
        *depth = m_body->containerDepth();
        return true;
    }

    QString rootName;
    QString version; // the root's version attribute
    QString headName;
    QString bodyName;
    std::vector<std::pair<QString, QByteArray>> header; // header elements and their text
    std::vector<TextPlace> headerPlaces;                // of the header elements
    TextPlace rootPlace, headPlace, bodyPlace;          // of the first three elements
    std::vector<TextPlace> rowPlaces;                   // of the body's rows

private:
    const XmlEventParser *m_parser = nullptr;
    const CElements &m_catalogue;
    BodyReader::Publish m_publish;
    int m_depth = 0;       // open elements
    int m_topElements = 0; // elements met inside the root
    bool m_inHead = false;
    std::unique_ptr<BodyReader> m_body;
    std::unique_ptr<ContainerEvents> m_bodyEvents;
};

int insertSteps(CDocument &doc, StepBatch &&steps, int position)
{
    if (steps.empty())
        return 0;
    const int before = doc.RowCount();
    doc.InsertSteps(std::move(steps), position);
    return doc.RowCount() - before;
}

enum class FileParse { Parsed, Unreadable, Special, Corrupt };

// Encodings a script file is read in: the system code page, or UTF-16 when the file starts
// with a byte order mark or with "<" as a UTF-16 unit.
enum class FileEncoding { System, Utf16LE, Utf16BE };

FileEncoding encodingOf(QFile &file)
{
    const QByteArray start = file.peek(2);
    if (start == QByteArray("\xFF\xFE", 2) || start == QByteArray("<\0", 2))
        return FileEncoding::Utf16LE;
    if (start == QByteArray("\xFE\xFF", 2) || start == QByteArray("\0<", 2))
        return FileEncoding::Utf16BE;
    return FileEncoding::System;
}

// The text of a file as UTF-8 for the parser, decoded a piece at a time (a byte order mark is
// dropped).
class DecodedSource final {
public:
    DecodedSource(QFile &file, FileEncoding encoding) : m_file(file)
    {
        if (encoding != FileEncoding::System)
            m_utf16.emplace(encoding == FileEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                              : QStringConverter::Utf16BE);
    }

    qint64 read(char *buffer, qint64 size)
    {
        while (m_out.size() - m_at < size && !m_done) {
            m_out.remove(0, m_at);
            m_at = 0;
            const QByteArray raw = m_file.read(kRawPiece);
            if (m_file.error() != QFileDevice::NoError)
                return -1;
            m_done = raw.isEmpty();
            if (m_utf16)
                m_out += QString(m_utf16->decode(raw)).toUtf8();
            else
                m_out += (m_done ? m_ansi.finish() : m_ansi.decode(raw)).toUtf8();
        }
        const qint64 count = std::min<qint64>(size, m_out.size() - m_at);
        std::memcpy(buffer, m_out.constData() + m_at, std::size_t(count));
        m_at += count;
        return count;
    }

private:
    static constexpr qint64 kRawPiece = 1 << 20;

    QFile &m_file;
    std::optional<QStringDecoder> m_utf16;
    AnsiCodec::Decoder m_ansi;
    QByteArray m_out; // decoded, from m_at on not handed over yet
    qsizetype m_at = 0;
    bool m_done = false;
};

// The depth the rows of a later piece of a text are read from: the depth they really start at is
// known only once the pieces before are read, and is added then.
constexpr int kPieceDepth = 1 << 30;

// The steps of a piece of a script's body after the first, parsed after a prefix that opens the
// root and the body (see ZmlPieces). What follows the body's end is left alone.
class BodyPiece final : public XmlEventHandler {
public:
    BodyPiece(const CElements &catalogue, BodyReader::Publish publish)
        : m_body(catalogue, kPieceDepth, std::move(publish)), m_events(m_body, 2)
    {}
    void setParser(const XmlEventParser *parser) { m_body.setParser(parser); }

    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        const int depth = m_depth++;
        if (m_inBody)
            m_events.startElement(depth, name, attributes, count, selfClosing);
    }
    void endElement() override
    {
        const int depth = --m_depth;
        if (!m_inBody)
            return;
        if (depth >= 2) {
            m_events.endElement(depth + 1);
        } else { // the body's end
            m_body.finish();
            m_inBody = false;
        }
    }
    void characters(XmlNodeType kind, std::string_view text, std::string_view) override
    {
        if (m_inBody)
            m_events.characters(m_depth, kind, text);
    }

    bool inBody() const { return m_inBody; }
    BodyReader &body() { return m_body; }

private:
    BodyReader m_body;
    ContainerEvents m_events;
    int m_depth = 0;
    bool m_inBody = true; // the prefix opens it
};

// Parses piece number of a text cut into pieces (see ZmlPieces): from the start of the text
// (piece 0), or from the start of the piece after plan.prefix, on through cut after cut until the
// parse stands between two rows of the body at a cut (betweenRows() tells) or the text ends.
// Gives the index of the cut it stopped at (plan.starts.size(): the text's end), or -1 when the
// text is not well-formed there.
template <typename BetweenRows>
std::ptrdiff_t parsePiece(XmlEventParser &parser, const QByteArray &text,
                          const ZmlPieces::Plan &plan, std::size_t number, BetweenRows betweenRows)
{
    const std::size_t cuts = plan.starts.size();
    qint64 begin = number == 0 ? 0 : plan.starts[number - 1];
    for (std::size_t cut = number;; ++cut) {
        const bool last = cut == cuts;
        const qint64 end = last ? text.size() : plan.starts[cut];
        const std::string_view part(text.constData() + begin, std::size_t(end - begin));
        const bool first = cut == number;
        const XmlEventParser::Source source =
            first && number > 0 ? ZmlPieces::source(plan.prefix, part) : ZmlPieces::source(part);
        const bool ok = !first ? parser.parseMore(source, last)
                        : last ? parser.parse(source)
                               : parser.parsePart(source);
        if (!ok)
            return -1;
        if (last || (parser.partEndsBetweenNodes(2) && betweenRows()))
            return std::ptrdiff_t(cut);
        begin = end;
    }
}

// A piece of a text after the first, as read.
struct PieceRead {
    StagedSteps steps;    // with depths from kPieceDepth
    bool ok = false;      // well-formed, and at the text's end the body was closed
    std::size_t end = 0;  // the cut it stopped at (see parsePiece)
    int depth = 0;        // of the rows after it, read from kPieceDepth
    int lowest = INT_MAX; // BodyReader::lowestLowered()
    std::vector<TextPlace> places;
};

// Reads piece number (from 1) of text, building and staging its steps as it goes.
void readPiece(const QByteArray &text, const ZmlPieces::Plan &plan, std::size_t number,
               const CElements &catalogue, PieceRead *read)
{
    StepBatch built;
    BodyPiece piece(catalogue, [read, &built](PendingSteps &pending) {
        buildSteps(pending, built);
        pending.clear();
        read->steps.add(std::move(built));
    });
    XmlEventParser parser(&piece);
    piece.setParser(&parser);
    const qint64 start = plan.starts[number - 1];
    parser.setLineOffset(int(ZmlPieces::lineBreaks(text.constData(), start) - plan.prefixLines));
    const std::ptrdiff_t end =
        parsePiece(parser, text, plan, number, [&piece] { return piece.inBody(); });
    read->end = std::size_t(std::max<std::ptrdiff_t>(end, 0));
    read->ok = end >= 0 && (read->end < plan.starts.size() || !piece.inBody());
    piece.body().finish();
    read->depth = piece.body().containerDepth();
    read->lowest = piece.body().lowestLowered();
    read->places = piece.body().takeRowPlaces();
}

// Pieces and least file size set by SetOpenPieces (0: the defaults).
std::atomic<int> g_pieces{0};
std::atomic<qint64> g_leastPieceBytes{0};

// Pieces a file of size bytes is read in at once; 1 when it is read as one text.
int pieceCount(qint64 size)
{
    constexpr qint64 kLeast = 2 << 20;    // smaller files are read as one text
    constexpr qint64 kMost = 512LL << 20; // larger ones are not held in memory whole
    const qint64 least = g_leastPieceBytes > 0 ? g_leastPieceBytes.load() : kLeast;
    if (size < least || size > kMost)
        return 1;
    if (g_pieces > 0)
        return g_pieces;
    // A file read as one text keeps two processors busy already: one parses while the other
    // builds the steps.
    const auto processors = qint64(std::thread::hardware_concurrency());
    if (processors < 3)
        return 1;
    constexpr qint64 kPiece = 1 << 20; // the least a piece holds
    return int(std::min<qint64>({processors - 1, size / kPiece, 4}));
}

std::optional<FileParse> rewind(QFile &file)
{
    if (file.seek(0))
        return std::nullopt;
    return FileParse::Unreadable;
}

// The rows of a later piece of a file read in pieces, and the depth they are to be moved by.
struct PieceRows {
    StagedSteps steps;
    int move = 0;
};

// Reads a script file cut into pieces that are parsed at once (see ZmlPieces): the first on
// this thread into reader, each other one on a thread of its own. A piece goes on past a cut
// where its parse does not stand between two rows of the body, and the piece after that cut is
// not used; a text with nowhere to cut it is parsed as one piece. Nothing is read (the file is
// rewound) when the file is too small or too large, changed while read, or a thread cannot be
// started; and when a piece is not well-formed, or a depth would have been held at 0 where a
// piece begins: what was handed to publish is then taken back. pieces gets the later pieces
// used, in order.
std::optional<FileParse> parseInPieces(QFile &file, const CElements &catalogue,
                                       std::unique_ptr<ZmlFileReader> *reader,
                                       const BodyReader::Publish &publish,
                                       std::vector<PieceRows> *pieces)
{
    const qint64 size = file.size();
    const int count = pieceCount(size);
    if (count < 2)
        return std::nullopt;
    QByteArray text;
    try {
        text.resize(qsizetype(size));
    } catch (const std::bad_alloc &) {
        return std::nullopt; // read as it streams in
    }
    const qint64 got = file.read(text.data(), size);
    if (got < 0)
        return FileParse::Unreadable;
    if (got != size || !file.atEnd()) // the file changed while it was read
        return rewind(file);
    const ZmlPieces::Plan plan = ZmlPieces::plan(text, count);

    (void)catalogue.Contains(QString()); // builds the lookup index before the threads read it
    const std::size_t cuts = plan.starts.size();
    std::vector<PieceRead> later(cuts);
    std::vector<std::thread> threads;
    bool ok = true;
    try {
        for (std::size_t i = 0; i < cuts; ++i)
            threads.emplace_back(readPiece, std::cref(text), std::cref(plan), i + 1,
                                 std::cref(catalogue), &later[i]);
    } catch (const std::system_error &) {
        ok = false;
    }
    *reader = std::make_unique<ZmlFileReader>(catalogue, publish);
    int depth = 0;
    std::ptrdiff_t end = -1;
    if (ok) {
        XmlEventParser parser(reader->get());
        ZmlFileReader &first = **reader;
        first.setParser(&parser);
        end = parsePiece(parser, text, plan, 0, [&first] { return first.betweenRows(); });
        if (end >= 0 && std::size_t(end) < cuts)
            first.endPiece(&depth);
        first.setParser(nullptr);
    }
    for (std::thread &thread : threads)
        thread.join();
    ok = ok && end >= 0;
    std::vector<PieceRows> used;
    for (std::size_t cut = std::size_t(std::max<std::ptrdiff_t>(end, 0)); ok && cut < cuts;) {
        PieceRead &piece = later[cut];
        const int move = depth - kPieceDepth;
        ok = piece.ok && (piece.lowest == INT_MAX || piece.lowest + move >= 1);
        used.push_back({std::move(piece.steps), move});
        std::vector<TextPlace> &places = (*reader)->rowPlaces;
        places.insert(places.end(), piece.places.begin(), piece.places.end());
        depth = piece.depth + move;
        cut = piece.end;
    }
    if (!ok) {
        PendingSteps restart; // drops what the pieces handed over
        restart.restart = true;
        publish(restart);
        return rewind(file);
    }
    *pieces = std::move(used);
    return FileParse::Parsed;
}

// Parses a script file into reader, streaming it, or in pieces at once when it is large (see
// parseInPieces). UTF-8 text (the system code page) goes to the parser as it is read; when the
// parse fails at or after a byte sequence that is not UTF-8, the file is read again, decoded
// piece by piece with the code page's fallback. Text in another code page or in UTF-16 is
// decoded piece by piece from the start.
FileParse parseFile(QFile &file, const CElements &catalogue, std::unique_ptr<ZmlFileReader> *reader,
                    const BodyReader::Publish &publish, TextPlace *errorPlace,
                    std::vector<PieceRows> *pieces)
{
    const FileEncoding encoding = encodingOf(file);
    if (AnsiCodec::systemIsUtf8() && encoding == FileEncoding::System) {
        if (const std::optional<FileParse> inPieces =
                parseInPieces(file, catalogue, reader, publish, pieces))
            return *inPieces;
        *reader = std::make_unique<ZmlFileReader>(catalogue, publish);
        XmlEventParser parser(reader->get());
        (*reader)->setParser(&parser);
        const bool parsed =
            parser.parse([&file](char *buffer, qint64 size) { return file.read(buffer, size); });
        if (parsed)
            return FileParse::Parsed;
        if (parser.readFailed())
            return FileParse::Unreadable;
        // Only a failed parse asks whether the bytes are UTF-8 up to where it stopped.
        qint64 invalid = -1;
        if (parser.errorOffset() >= 0 &&
            !AnsiCodec::FirstInvalidUtf8(file, parser.errorOffset(), &invalid))
            return FileParse::Unreadable;
        if (invalid < 0 || invalid > parser.errorOffset()) {
            *errorPlace = parser.errorPlace();
            return FileParse::Corrupt; // not a matter of the bytes' encoding
        }
        if (!file.seek(0))
            return FileParse::Unreadable;
        PendingSteps restart; // drops what the first attempt handed over
        restart.restart = true;
        publish(restart);
    }
    *reader = std::make_unique<ZmlFileReader>(catalogue, publish);
    XmlEventParser parser(reader->get());
    (*reader)->setParser(&parser);
    DecodedSource source(file, encoding);
    if (parser.parse([&source](char *buffer, qint64 size) { return source.read(buffer, size); }))
        return FileParse::Parsed;
    *errorPlace = parser.errorPlace();
    return parser.readFailed() ? FileParse::Unreadable : FileParse::Corrupt;
}

std::string_view view(const QByteArray &bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// Feeds the nodes inside parent to reader in document order, as the parser would.
void replay(const XmlNode &parent, BodyReader &reader)
{
    std::vector<XmlNode> open; // elements whose children are being fed
    XmlNode node = parent.firstChild();
    std::vector<QByteArray> texts; // name and values of the element being fed
    std::vector<Attribute> attributes;
    while (true) {
        if (node.isNull()) {
            if (open.empty())
                break;
            reader.endElement();
            node = open.back().nextSibling();
            open.pop_back();
            continue;
        }
        if (!node.isElement()) {
            reader.characters(node.type(), view(node.text().toUtf8()));
            node = node.nextSibling();
            continue;
        }
        const int count = node.attributeCount();
        texts.assign(1, node.name().toUtf8());
        for (int i = 0; i < count; ++i) {
            texts.push_back(node.attributeName(i).toUtf8());
            texts.push_back(node.attributeValue(i).toUtf8());
        }
        attributes.clear();
        for (int i = 0; i < count; ++i)
            attributes.push_back(
                {view(texts[2 * std::size_t(i) + 1]), view(texts[2 * std::size_t(i) + 2])});
        reader.startElement(view(texts[0]), attributes.data(), count, node.isSelfClosing());
        open.push_back(node);
        node = node.firstChild();
    }
}

} // namespace

int ParseBody(CDocument &doc, const XmlNode &parent, int depth, int position)
{
    if (parent.isNull())
        return 0;
    StepBatch steps;
    BodyReader reader(doc.Catalogue(), depth, buildInto(steps));
    replay(parent, reader);
    reader.finish();
    return insertSteps(doc, std::move(steps), position);
}

int InsertXmlFragment(CDocument &doc, const QString &wrappedText, int position)
{
    FragmentReader reader(doc.Catalogue(), 0);
    if (!XmlEventParser(&reader).parse(wrappedText.toUtf8()))
        return 0;
    return insertSteps(doc, reader.takeSteps(), position);
}

namespace {

using Status = OpenResult::Status;

// The script's own checks once the file has been parsed: root, version and header; the
// header's fields go to header.
Status checkScript(const ZmlFileReader &file, OpenResult &result)
{
    if (file.rootName != QLatin1String("zml")) {
        result.place = file.rootPlace;
        return Status::NotZml;
    }
    if (file.version != QLatin1String("1.0")) {
        result.place = file.rootPlace;
        return Status::BadVersion;
    }
    if (file.headName != QLatin1String("zmlhead")) {
        result.place = file.headPlace.known() ? file.headPlace : file.rootPlace;
        return Status::NoHeader;
    }
    return Status::Opened;
}

HeaderFields readHeader(const ZmlFileReader &file, OpenResult &result)
{
    HeaderFields header;
    const std::pair<const char *, QString *> fields[] = {
        {"version", &header.Version}, {"author", &header.Author},
        {"company", &header.Company}, {"description", &header.Description},
        {"email", &header.EMail},     {"web", &header.Web}};
    QSet<QString> unknown;
    for (std::size_t i = 0; i < file.header.size(); ++i) {
        const auto &[name, text] = file.header[i];
        const QString &element = name;
        const auto field = std::find_if(std::begin(fields), std::end(fields), [&](const auto &f) {
            return element == QLatin1String(f.first);
        });
        if (field != std::end(fields)) {
            *field->second = DecodeText(QString::fromUtf8(text));
        } else if (!unknown.contains(name)) {
            unknown.insert(name);
            result.unknownHeaderElements.push_back(name);
            result.unknownHeaderPlaces.push_back(file.headerPlaces[i]);
        }
    }
    if (header.Version.isEmpty()) {
        result.versionMissing = true;
        result.versionPlace = file.headPlace;
        header.Version = QStringLiteral("1.0");
    }
    return header;
}

// Takes over a parsed script: checks it as OpenDocument does and, when it is one, replaces
// the document with its header and steps.
OpenResult loadScript(CDocument &doc, std::unique_ptr<ZmlFileReader> &reader, StagedSteps &&steps,
                      OpenResult result)
{
    const QString path = result.path;
    const ZmlFileReader &file = *reader;
    result.status = checkScript(file, result);
    if (result.status != Status::Opened)
        return result;
    const HeaderFields header = readHeader(file, result);
    if (file.bodyName != QLatin1String("zmlbody")) {
        result.place = file.bodyPlace.known() ? file.bodyPlace : file.headPlace;
        result.status = Status::NoBody;
        return result;
    }

    doc.Clear();
    assignHeader(doc.Header(), header);

    result.rowPlaces = std::move(reader->rowPlaces);
    emit doc.loadingStarted();
    reader.reset();
    doc.AdoptSteps(std::move(steps));
    doc.SetFileName(path);
    if (doc.RowCount() > 0)
        doc.SetDepth(0, 0);
    emit doc.loadingFinished();
    doc.SetDirty(false);
    return result;
}

// Stores a batch, or another's steps, after the steps staged before, and tells observer.
template <typename Add> void stage(StagedSteps &steps, OpenObserver *observer, Add add)
{
    const int first = steps.count();
    add();
    if (observer && steps.count() > first)
        observer->rows(steps, first, steps.count() - first);
}

} // namespace

void SetOpenPieces(int pieces, qint64 leastBytes)
{
    g_pieces = std::max(0, pieces);
    g_leastPieceBytes = std::max<qint64>(0, leastBytes);
}

OpenResult OpenDocument(CDocument &doc, const QString &path)
{
    return OpenDocument(doc, path, nullptr);
}

OpenResult OpenDocument(CDocument &doc, const QString &path, OpenObserver *observer)
{
    doc.SetDirty(false);
    OpenResult result;
    result.path = path;

    // One thread parses the file while this one builds and stores the steps read so far, in
    // the order of the file, apart from the document until the file proves to be a script.
    std::unique_ptr<ZmlFileReader> reader;
    FileParse parsed = FileParse::Unreadable;
    StagedSteps steps;
    // The rows of the pieces after the first of a file read in pieces.
    std::vector<PieceRows> pieces;
    {
        StepQueue queue;
        const CElements &catalogue = doc.Catalogue();
        std::thread parsing([&] {
            QFile file;
            const FileOpen opened = OpenRegularFile(file, path);
            if (opened == FileOpen::Opened) {
                parsed = parseFile(
                    file, catalogue, &reader,
                    [&queue](PendingSteps &pending) { queue.push(pending); }, &result.place,
                    &pieces);
            } else if (opened == FileOpen::Special) {
                parsed = FileParse::Special;
            }
            queue.close();
        });
        PendingSteps pending;
        StepBatch built;
        while (queue.pop(pending)) {
            if (pending.restart) { // the batches before were of a failed attempt
                steps.clear();
                if (observer)
                    observer->restarted();
            }
            if (pending.header && observer) {
                CHeader header;
                assignHeader(header, *pending.header);
                observer->header(header);
            }
            buildSteps(pending, built);
            queue.recycle(pending);
            stage(steps, observer, [&] { steps.add(std::move(built)); });
        }
        parsing.join();
    }
    if (parsed == FileParse::Parsed) {
        result.pieces = 1 + int(pieces.size());
        for (PieceRows &piece : pieces)
            stage(steps, observer, [&] { steps.append(std::move(piece.steps), piece.move); });
    }
    if (parsed == FileParse::Unreadable) {
        result.status = QFileInfo::exists(path) ? Status::Unreadable : Status::Missing;
        return result;
    }
    if (parsed != FileParse::Parsed) {
        result.status = parsed == FileParse::Special ? Status::Special : Status::Corrupt;
        return result;
    }
    return loadScript(doc, reader, std::move(steps), std::move(result));
}

OpenResult OpenRecoveredDocument(CDocument &doc, const QString &path)
{
    OpenResult result = OpenDocument(doc, path);
    if (result.status != Status::Corrupt)
        return result;
    QFile file;
    if (OpenRegularFile(file, path) != FileOpen::Opened)
        return result;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return result;
    const std::optional<ZmlRecovery::FlatScript> flat =
        ZmlRecovery::flattenSavedScript(AnsiCodec::decode(bytes));
    if (!flat)
        return result;
    StepBatch built;
    auto reader = std::make_unique<ZmlFileReader>(doc.Catalogue(), buildInto(built));
    ZmlRecovery::CommentsPutBack events(*reader, flat->comments);
    if (!XmlEventParser(&events).parse(flat->text))
        return result;
    OpenResult lenient;
    lenient.path = path;
    StagedSteps steps;
    steps.add(std::move(built));
    return loadScript(doc, reader, std::move(steps), std::move(lenient));
}
