#pragma once

#include "core/printing/CPrintDevice.h"

#include <QList>
#include <QString>

// A print device with fixed-width glyphs that logs every text with its page and position (in
// the device's unit). One pixel per unit in pixel mode; 100 pixels per inch.
class RecordingDevice final : public CPrintDevice {
public:
    struct Entry {
        int page;
        double x;
        double y;
        QString text;
    };

    RecordingDevice(double width = 600, double height = 400, double charWidth = 10,
                    double lineHeight = 20)
        : m_size(width, height), m_charWidth(charWidth), m_lineHeight(lineHeight)
    {}

    QList<Entry> entries;
    int pagesStarted = 1;
    bool ended = false;

    QList<Entry> OnPage(int page) const
    {
        QList<Entry> result;
        for (const Entry &e : entries)
            if (e.page == page)
                result.append(e);
        return result;
    }
    // Entries whose text contains the fragment.
    QList<Entry> Find(const QString &fragment) const
    {
        QList<Entry> result;
        for (const Entry &e : entries)
            if (e.text.contains(fragment))
                result.append(e);
        return result;
    }

protected:
    QSizeF PrintableSizePixels() const override { return m_size; }
    QPointF DotsPerInch() const override { return {100, 100}; }
    void ApplyFont(const QString &, int) override {}
    double MeasureWidthPixels(QStringView line) const override
    {
        return m_charWidth * static_cast<double>(line.size());
    }
    double LineHeightPixels() const override { return m_lineHeight; }
    void DrawText(const QPointF &, const QString &text) override
    {
        entries.append({Page(), CurrentX(), CurrentY(), text});
    }
    void BeginNewPage() override { ++pagesStarted; }
    void FinishDocument() override { ended = true; }

private:
    QSizeF m_size;
    double m_charWidth;
    double m_lineHeight;
};
