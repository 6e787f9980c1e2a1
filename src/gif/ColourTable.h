#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QRgb>

// The colours of one or more pictures, numbered in order of first appearance so that
// the same pictures always give the same table.
class ColourTable {
public:
    void addImage(const QImage& image);
    void addColours(const QRgb* colours, int count);
    int indexOf(QRgb colour) const;
    int size() const { return int(m_colours.size()); }
    // The table padded with black to the given number of entries.
    QList<QRgb> padded(int entries) const;

private:
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_index;
};
