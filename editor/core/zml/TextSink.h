#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <algorithm>

// Receives text piece by piece and appends it to a QString (the writer's sinks share this
// interface: add() for text, spaces() for blanks, += for the step text builder).
class TextSink final {
public:
    explicit TextSink(QString &out) : m_out(out) {}
    void add(QStringView text) { m_out.append(text); }
    void add(QLatin1String text) { m_out.append(text); }
    void spaces(int count)
    {
        static const QString blanks(256, QLatin1Char(' '));
        for (; count > 0; count -= 256)
            m_out.append(QStringView(blanks).left(std::min(count, 256)));
    }
    TextSink &operator+=(QStringView text)
    {
        add(text);
        return *this;
    }
    TextSink &operator+=(QLatin1String text)
    {
        add(text);
        return *this;
    }
    TextSink &operator+=(QLatin1Char c)
    {
        m_out.append(c);
        return *this;
    }

private:
    QString &m_out;
};
