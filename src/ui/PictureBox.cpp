#include "ui/PictureBox.h"

#include "ui/FailureBoundary.h"

#include <QGuiApplication>
#include <QInputDevice>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QStyleHints>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// What a device column or row shows: a picture column or row, or one of these.
constexpr int kShowsBorder = -1;
constexpr int kShowsBackground = -2;

int shownAt(const Zoom& zoom, int device, int pixels, int pictureExtent)
{
    const int pixel = zoom.pixelAt(device);
    if (pixel <= 0 || pixel >= pixels - 1)
        return kShowsBorder;
    const int inside = pixel - PictureBox::kBorder;
    return inside < pictureExtent ? inside : kShowsBackground;
}

} // namespace

PictureBox::PictureBox(const DisplayZoom& zoom, QWidget* parent) : QWidget(parent), m_zoom(zoom)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setBackColour(ColorRef colour)
{
    m_backColour = colour;
    update();
}

QSize PictureBox::sizeForPicture() const
{
    return shownPicture().size() + QSize(2 * kBorder, 2 * kBorder);
}

QSize PictureBox::pixelSize() const
{
    return m_zoom.compositionSize(size());
}

QRect PictureBox::widgetRectOf(const QRect& pixels) const
{
    return m_zoom.widgetRectOf(pixels);
}

QPointF PictureBox::insidePixelAt(const QPointF& widgetPoint) const
{
    return m_zoom.compositionPointAt(widgetPoint) - QPointF(kBorder, kBorder);
}

ColorRef PictureBox::colourAt(int x, int y) const
{
    const int insideWidth = pixelSize().width() - 2 * kBorder;
    const int insideHeight = pixelSize().height() - 2 * kBorder;
    if (x < 0 || y < 0 || x >= insideWidth || y >= insideHeight)
        return kInvalidColour;
    const QImage& picture = shownPicture();
    if (x < picture.width() && y < picture.height())
        return fromQRgb(picture.pixel(x, y));
    return m_backColour;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    FailureBoundary::run([this, event] { paintAsked(event->rect()); });
}

void PictureBox::paintAsked(const QRect& asked)
{
    QPainter painter(this);
    if (!m_zoom.isOneToOne())
        paintAtZoom(painter, asked);
    else
        paintOneToOne(painter, asked);
}

void PictureBox::paintOneToOne(QPainter& painter, const QRect& asked)
{
    // Only the part asked for is drawn, and each pixel once: the picture where it
    // lies, the background only around it, the border only when it is touched.
    const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const QRect dirty = asked & inside;
    const QImage& image = shownPicture();
    const QRect picture = QRect(QPoint(kBorder, kBorder), image.size()) & inside;
    const QRect shown = picture & dirty;
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), image, shown.translated(-kBorder, -kBorder));
    const QColor back(toQRgb(m_backColour));
    for (const QRect& around : QRegion(dirty) - QRegion(picture))
        painter.fillRect(around, back);
    if (!inside.contains(asked)) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::paintAtZoom(QPainter& painter, const QRect& asked)
{
    // Nearest neighbour, worked out here rather than by the painter, so that
    // what each device pixel shows is exactly what a press there reads.
    const Zoom& zoom = m_zoom.device();
    const double scale = m_zoom.desktopScale();
    const QRect device = m_zoom.deviceRectOf(asked & rect());
    const QSize pixels = pixelSize();
    ZoomedColumns columns;
    columns.shown.resize(static_cast<std::size_t>(std::max(0, device.width())));
    for (std::size_t i = 0; i < columns.shown.size(); ++i)
        columns.shown[i] =
            shownAt(zoom, device.left() + int(i), pixels.width(), shownPicture().width());
    // They run border, picture, background, border.
    const auto first =
        std::find_if(columns.shown.begin(), columns.shown.end(), [](int c) { return c >= 0; });
    columns.from = std::size_t(first - columns.shown.begin());
    columns.to = std::size_t(std::find_if(first, columns.shown.end(), [](int c) { return c < 0; }) -
                             columns.shown.begin());
    // Kept between paints: a fresh buffer of a large page costs more in page
    // faults than the drawing itself.
    m_zoomed.resize(columns.shown.size() * static_cast<std::size_t>(std::max(0, device.height())));
    QImage shown(reinterpret_cast<uchar*>(m_zoomed.data()), device.width(), device.height(),
                 qsizetype(columns.shown.size() * sizeof(QRgb)), QImage::Format_RGB32);
    int previousRow = kShowsBorder - 2;
    for (int j = 0; j < device.height(); ++j) {
        const int row = shownAt(zoom, device.top() + j, pixels.height(), shownPicture().height());
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(j));
        if (row == previousRow && j > 0)
            std::memcpy(line, shown.constScanLine(j - 1), columns.shown.size() * sizeof(QRgb));
        else
            fillZoomedLine(line, columns, row);
        previousRow = row;
    }
    shown.setDevicePixelRatio(scale);
    painter.drawImage(QPointF(device.left() / scale, device.top() / scale), shown);
}

void PictureBox::fillZoomedLine(QRgb* line, const ZoomedColumns& columns, int row) const
{
    const QRgb border = qRgb(0, 0, 0);
    const QRgb back = QColor(toQRgb(m_backColour)).rgb();
    const std::vector<int>& shown = columns.shown;
    if (row < 0) {
        for (std::size_t i = 0; i < shown.size(); ++i)
            line[i] = shown[i] == kShowsBorder || row == kShowsBorder ? border : back;
        return;
    }
    // Only the picture's run is looked up pixel by pixel, without a test in the loop.
    std::fill(line, line + columns.from, border);
    const QImage& picture = shownPicture();
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32) {
        const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
        for (std::size_t i = columns.from; i < columns.to; ++i)
            line[i] = source[shown[i]];
    } else {
        for (std::size_t i = columns.from; i < columns.to; ++i)
            line[i] = picture.pixel(shown[i], row) | 0xFF000000u;
    }
    for (std::size_t i = columns.to; i < shown.size(); ++i)
        line[i] = shown[i] == kShowsBorder ? border : back;
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    FailureBoundary::run([this, event] { onPress(*event); });
}

void PictureBox::onPress(const QMouseEvent& event)
{
    emit pressed(event.button(), m_zoom.pressedPixel(event.position(), kBorder));
    if (isSecondTap(event))
        emit doubleClicked();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press of the pair has already been handled as a press; a
    // finger's double tap has been seen by the presses themselves.
    if (!fromFinger(*event))
        emit doubleClicked();
}

bool PictureBox::fromFinger(const QMouseEvent& event)
{
    return event.source() != Qt::MouseEventNotSynthesized ||
           (event.device() && event.device()->type() == QInputDevice::DeviceType::TouchScreen);
}

bool PictureBox::isSecondTap(const QMouseEvent& event)
{
    // Qt makes a double click of two mouse presses, not of two taps: a tap
    // soon after another, and near it, is the second of a double tap.
    if (!fromFinger(event))
        return false;
    const QStyleHints* hints = QGuiApplication::styleHints();
    const bool second =
        m_lastTap.isValid() && m_lastTap.elapsed() < hints->mouseDoubleClickInterval() &&
        (event.globalPosition() - m_lastTapAt).manhattanLength() <= hints->touchDoubleTapDistance();
    if (second)
        m_lastTap.invalidate(); // a third tap starts a new pair
    else
        m_lastTap.start();
    m_lastTapAt = event.globalPosition();
    return second;
}
