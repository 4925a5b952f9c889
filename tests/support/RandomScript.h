#pragma once

#include "core/document/CDocument.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Fills a document from a stream of bytes (fuzz input, or random numbers in a test): header
// values, rows of the catalogue's actions with block actions often, disabled steps, comments,
// values and texts, and now and then an element or attribute name changed, all made of pieces
// that trouble the block check ("--", "<endif", control characters, lone surrogates...).
class RandomScript final {
public:
    RandomScript(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    void build(CDocument &doc)
    {
        const CElements &actions = doc.Catalogue();
        if (next() % 4 == 0)
            doc.Header().Description = text();
        if (next() % 8 == 0)
            doc.Header().Author = text();
        while (m_at < m_size && actions.Count() > 0) {
            const int op = next() % 16;
            if (op < 2) {
                CElement step;
                step.IsComment = true;
                step.Text = text();
                if (op == 1 && next() % 4 == 0)
                    step.ElementName = QStringLiteral("if");
                doc.InsertStep(step, -1);
                continue;
            }
            static const char *const kBlocks[] = {"if", "loop", "endif", "endloop"};
            const auto action = op < 6 ? actions.Item(QString::fromLatin1(kBlocks[op - 2]))
                                       : actions.Item(1 + next() % actions.Count());
            if (action)
                doc.InsertStep(*changed(*action), -1);
        }
    }

private:
    int next() { return m_at < m_size ? m_data[m_at++] : 0; }

    // A copy of action, its values, text and flags set by the next bytes.
    std::shared_ptr<CElement> changed(const CElement &action)
    {
        auto step = CElements::Copy(action);
        const int flags = next();
        step->Disabled = (flags & 1) != 0 && (flags & 2) != 0;
        if (flags & 4)
            step->Text = text();
        if (flags & 8) {
            for (int i = 0, count = step->Attributes().Count(); i < count; ++i)
                step->Attributes().SetValueAt(i, text());
        }
        const int rare = next() % 16;
        if (rare == 0)
            step->ElementName = text();
        if (rare == 1 && step->Attributes().Count() > 0) {
            const int which = 1 + next() % step->Attributes().Count();
            step->Attributes().Item(which)->AttributeName = text();
        }
        return step;
    }

    QString text()
    {
        static const QString kPieces[] = {QStringLiteral("a"),
                                          QStringLiteral(" "),
                                          QStringLiteral("-"),
                                          QStringLiteral("--"),
                                          QStringLiteral("<"),
                                          QStringLiteral(">"),
                                          QStringLiteral("&"),
                                          QStringLiteral("\""),
                                          QStringLiteral("endif"),
                                          QStringLiteral("<EndLoop"),
                                          QStringLiteral("<endif"),
                                          QStringLiteral("\r\n"),
                                          QStringLiteral("\n"),
                                          QStringLiteral("\t"),
                                          QString(QChar(1)),
                                          QString(QChar(0xFFFE)),
                                          QString(QChar(0xD800)),
                                          QString(QChar(0xDC00)),
                                          QString::fromUtf8("\xF0\x9F\x98\x80"),
                                          QString::fromUtf8("\xC3\xA9"),
                                          QStringLiteral(":"),
                                          QStringLiteral("xmlns"),
                                          QStringLiteral("]]>"),
                                          QStringLiteral("x"),
                                          QStringLiteral("1"),
                                          QStringLiteral("name"),
                                          QStringLiteral("if"),
                                          QStringLiteral("loop"),
                                          QStringLiteral("/"),
                                          QStringLiteral("xml:lang"),
                                          QString(QChar(0xFDD0)),
                                          QStringLiteral("var")};
        constexpr int kCount = int(sizeof(kPieces) / sizeof(kPieces[0]));
        QString s;
        for (int n = next() % 6; n > 0; --n)
            s += kPieces[next() % kCount];
        return s;
    }

    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};
