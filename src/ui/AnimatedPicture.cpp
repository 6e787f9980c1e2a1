#include "ui/AnimatedPicture.h"

#include "ui/FailureBoundary.h"

#include <QDir>
#include <QFileInfo>
#include <QMovie>
#include <QPainter>

AnimatedPicture::AnimatedPicture(QString folder, const DisplayZoom& zoom, QWidget* parent)
    : QWidget(parent), m_folder(std::move(folder)), m_zoom(zoom)
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
}

void AnimatedPicture::setPictureFile(const QString& file)
{
    delete m_movie;
    m_movie = nullptr;
    QString path = file;
    if (!path.isEmpty() && QFileInfo(path).isRelative())
        path = m_folder + QLatin1Char('/') + path;
    if (QFileInfo(path).isFile()) {
        m_movie = new QMovie(path, QByteArray(), this);
        if (m_movie->isValid()) {
            connect(m_movie, &QMovie::frameChanged, this, [this] { update(); });
            m_movie->start();
        } else {
            delete m_movie;
            m_movie = nullptr;
        }
    }
    update();
}

void AnimatedPicture::paintEvent(QPaintEvent*)
{
    FailureBoundary::run([this] { paintFrame(); });
}

void AnimatedPicture::paintFrame()
{
    if (!m_movie)
        return;
    QPainter painter(this);
    const QPixmap frame = m_movie->currentPixmap();
    // Zoomed frames are smoothed: the animation is no drawing.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom.widgetScale() != 1.0);
    painter.drawPixmap(frameRect(frame.size()), frame, QRectF(frame.rect()));
}

QRectF AnimatedPicture::frameRect(QSize frame) const
{
    if (m_zoom.widgetScale() == 1.0) // whole pixels, as the frame was made
        return QRectF(QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2),
                      QSizeF(frame));
    const QSizeF size = QSizeF(frame) * m_zoom.widgetScale();
    return QRectF(QRectF(rect()).center() - QPointF(size.width(), size.height()) / 2, size);
}
