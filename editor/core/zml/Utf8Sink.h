#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QLatin1String>
#include <QStringEncoder>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Receives text piece by piece as UTF-8, converting each piece as it comes, so that a whole
// document never exists as UTF-16 as well. Each piece is converted on its own: an unpaired
// surrogate at either end of a piece becomes U+FFFD there.
class Utf8Sink final {
public:
    // expected: bytes to reserve (the buffer grows as needed).
    explicit Utf8Sink(qsizetype expected) { m_out.resize(std::max<qsizetype>(expected, 256)); }
    // Writes the text to device in pieces of about piece bytes as it comes (the rest on flush);
    // after a failed write the text is dropped and ok() is false.
    Utf8Sink(QIODevice *device, qsizetype piece) : m_device(device), m_piece(piece)
    {
        m_out.resize(piece);
    }
    void add(QStringView text)
    {
        ensure(3 * text.size());
        char *out = m_out.data() + m_used;
        // Mostly ASCII: copied as is up to the first other character.
        const QChar *in = text.data();
        const qsizetype size = text.size();
        qsizetype i = 0;
        while (i < size && in[i].unicode() < 0x80) {
            out[i] = static_cast<char>(in[i].unicode());
            ++i;
        }
        if (i < size)
            out = m_encoder.appendToBuffer(out + i, text.mid(i));
        else
            out += i;
        m_used = out - m_out.constData();
    }
    void addUtf8(QByteArrayView bytes)
    {
        ensure(bytes.size());
        std::memcpy(m_out.data() + m_used, bytes.data(), std::size_t(bytes.size()));
        m_used += bytes.size();
    }
    void add(QLatin1String text) // ASCII only
    {
        ensure(text.size());
        std::memcpy(m_out.data() + m_used, text.data(), std::size_t(text.size()));
        m_used += text.size();
    }
    void spaces(int count)
    {
        ensure(count);
        std::memset(m_out.data() + m_used, ' ', std::size_t(count));
        m_used += count;
    }
    Utf8Sink &operator+=(QStringView text)
    {
        add(text);
        return *this;
    }
    Utf8Sink &operator+=(QLatin1String text)
    {
        add(text);
        return *this;
    }
    Utf8Sink &operator+=(QLatin1Char c) // ASCII only
    {
        ensure(1);
        m_out.data()[m_used++] = c.toLatin1();
        return *this;
    }
    // Writes what is left to the device; false when any write failed.
    bool flush()
    {
        write();
        return m_ok;
    }
    bool ok() const { return m_ok; }
    // The text received so far; the sink is empty afterwards.
    QByteArray take()
    {
        m_out.truncate(m_used);
        m_used = 0;
        return std::move(m_out);
    }

private:
    void write()
    {
        if (m_ok && m_used > 0)
            m_ok = m_device->write(m_out.constData(), m_used) == m_used;
        m_used = 0;
    }
    void ensure(qsizetype more)
    {
        if (m_device && m_used > 0 && m_used + more > m_piece)
            write();
        if (m_used + more > m_out.size())
            m_out.resize(std::max(m_used + more, 2 * m_out.size()));
    }
    QByteArray m_out;
    qsizetype m_used = 0;
    QIODevice *m_device = nullptr;
    qsizetype m_piece = 0;
    bool m_ok = true;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
