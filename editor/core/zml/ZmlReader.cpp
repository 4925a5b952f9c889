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
#include "core/zml/ZmlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// Parses a script file into reader, streaming it. UTF-8 text (the system code page) goes to
// the parser as it is read; when the parse fails at or after a byte sequence that is not UTF-8,
// the file is read again, decoded piece by piece with the code page's fallback. Text in
// another code page or in UTF-16 is decoded piece by piece from the start.
FileParse parseFile(QFile &file, const CElements &catalogue, std::unique_ptr<ZmlFileReader> *reader,
                    const BodyReader::Publish &publish, TextPlace *errorPlace)
{
    const FileEncoding encoding = encodingOf(file);
    if (AnsiCodec::systemIsUtf8() && encoding == FileEncoding::System) {
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

} // namespace

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
    {
        StepQueue queue;
        const CElements &catalogue = doc.Catalogue();
        std::thread parsing([&] {
            QFile file;
            const FileOpen opened = OpenRegularFile(file, path);
            if (opened == FileOpen::Opened) {
                parsed = parseFile(
                    file, catalogue, &reader,
                    [&queue](PendingSteps &pending) { queue.push(pending); }, &result.place);
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
            const int first = steps.count();
            steps.add(std::move(built));
            if (observer && steps.count() > first)
                observer->rows(steps, first, steps.count() - first);
        }
        parsing.join();
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
