#include "core/zml/AnsiCodec.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Bytes 0x80-0x9F of Windows-1252; the five unassigned ones keep their C1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence at p (end is one past the last byte), or 0 if invalid.
int utf8SequenceLength(const uchar *p, const uchar *end)
{
    const uchar b = p[0];
    int length = 0;
    uint minimum = 0;
    uint code = 0;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = b & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// Bytes at the end of [p, end) that begin a valid UTF-8 sequence but lack its last bytes: 0 when
// the text does not end in the middle of a sequence.
qsizetype cutSequenceLength(const uchar *begin, const uchar *end)
{
    for (qsizetype back = 1; back <= 3 && end - back >= begin; ++back) {
        const uchar b = end[-back];
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const int needed = b >= 0xC2 && b <= 0xDF   ? 2
                           : b >= 0xE0 && b <= 0xEF ? 3
                           : b >= 0xF0 && b <= 0xF4 ? 4
                                                    : 0;
        if (needed <= back)
            return 0;
        // Valid so far when the bytes present could still start a sequence.
        uchar padded[4] = {b, 0x80, 0x80, 0x80};
        for (qsizetype i = 1; i < back; ++i)
            padded[i] = end[-back + i];
        if (b == 0xE0 && back >= 2 && padded[1] < 0xA0)
            return 0;
        if (b == 0xED && back >= 2 && padded[1] > 0x9F)
            return 0;
        if (b == 0xF0 && back >= 2 && padded[1] < 0x90)
            return 0;
        if (b == 0xF4 && back >= 2 && padded[1] > 0x8F)
            return 0;
        return back;
    }
    return 0;
}

// UTF-8 with every invalid byte taken as Windows-1252.
QString decodeUtf8WithFallback(const QByteArray &bytes)
{
    const auto *begin = reinterpret_cast<const uchar *>(bytes.constData());
    const uchar *end = begin + bytes.size();
    // Fast path: all valid.
    const uchar *p = begin;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = utf8SequenceLength(p, end);
        if (length == 0)
            break;
        p += length;
    }
    if (p == end)
        return QString::fromUtf8(bytes);

    QString result;
    result.reserve(bytes.size());
    const uchar *runStart = begin;
    while (p < end) {
        const int length = *p < 0x80 ? 1 : utf8SequenceLength(p, end);
        if (length > 0) {
            p += length;
            continue;
        }
        result += QString::fromUtf8(reinterpret_cast<const char *>(runStart), p - runStart);
        result += AnsiCodec::fromWindows1252(*p);
        ++p;
        runStart = p;
    }
    result += QString::fromUtf8(reinterpret_cast<const char *>(runStart), end - runStart);
    return result;
}

} // namespace

namespace AnsiCodec {

bool systemIsUtf8()
{
#ifdef Q_OS_WIN
    // The ANSI code page, unless the system was set to use UTF-8 for it.
    static const bool utf8 = [] {
        QStringEncoder encoder(QStringConverter::System);
        return encoder.encode(QString(QChar(0x20AC))) == QByteArray("\xE2\x82\xAC");
    }();
    return utf8;
#else
    return true; // Qt takes the locale's encoding on Unix systems to be UTF-8
#endif
}

bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const uchar *end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = utf8SequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

QChar fromWindows1252(uchar byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kWindows1252High[byte - 0x80]);
    return QChar(byte);
}

QString decode(const QByteArray &bytes)
{
    if (AnsiCodec::systemIsUtf8())
        return decodeUtf8WithFallback(bytes);
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

void Utf8Validator::add(const char *bytes, qsizetype size)
{
    if (m_firstInvalid >= 0 || size <= 0) {
        m_offset += size;
        return;
    }
    QByteArray joined;
    const char *data = bytes;
    qsizetype length = size;
    qint64 start = m_offset;
    if (!m_carry.isEmpty()) {
        joined = m_carry + QByteArray::fromRawData(bytes, size);
        data = joined.constData();
        length = joined.size();
        start -= m_carry.size();
        m_carry.clear();
    }
    const auto *begin = reinterpret_cast<const uchar *>(data);
    const uchar *end = begin + length;
    const uchar *whole = end - cutSequenceLength(begin, end);
    const uchar *p = begin;
    while (p < whole) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int sequence = utf8SequenceLength(p, whole);
        if (sequence == 0) {
            m_firstInvalid = start + (p - begin);
            break;
        }
        p += sequence;
    }
    if (m_firstInvalid < 0)
        m_carry = QByteArray(reinterpret_cast<const char *>(whole), end - whole);
    m_offset += size;
}

void Utf8Validator::finish()
{
    if (m_firstInvalid < 0 && !m_carry.isEmpty())
        m_firstInvalid = m_offset - m_carry.size();
    m_carry.clear();
}

Decoder::Decoder() : m_decoder(QStringConverter::System) {}

QString Decoder::decode(const QByteArray &piece)
{
    if (!systemIsUtf8())
        return m_decoder.decode(piece);
    QByteArray bytes = m_carry + piece;
    const auto *begin = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype cut = cutSequenceLength(begin, begin + bytes.size());
    m_carry = bytes.right(cut);
    bytes.chop(cut);
    return decodeUtf8WithFallback(bytes);
}

QString Decoder::finish()
{
    if (!systemIsUtf8())
        return m_decoder.decode(QByteArray());
    const QByteArray rest = std::exchange(m_carry, QByteArray());
    return decodeUtf8WithFallback(rest);
}

QByteArray encode(const QString &text)
{
    if (systemIsUtf8())
        return text.toUtf8();
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

bool FirstInvalidUtf8(QIODevice &device, qint64 offset, qint64 *firstInvalid)
{
    if (!device.seek(0))
        return false;
    Utf8Validator validator;
    const qint64 end = offset + 4; // past the longest sequence that starts at offset
    std::vector<char> piece(std::size_t(std::min<qint64>(end, qint64(1) << 20)));
    for (qint64 at = 0; at < end;) {
        const qint64 count =
            device.read(piece.data(), std::min<qint64>(end - at, qint64(piece.size())));
        if (count < 0)
            return false;
        if (count == 0) {
            validator.finish();
            break;
        }
        validator.add(piece.data(), count);
        at += count;
    }
    *firstInvalid = validator.firstInvalid() <= offset ? validator.firstInvalid() : -1;
    return true;
}

} // namespace AnsiCodec
