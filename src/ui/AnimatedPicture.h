#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QRectF>
#include <QString>
#include <QWidget>

class QMovie;

// An animated GIF that plays by itself inside its own rectangle, on the
// button face colour; a missing file shows nothing.
class AnimatedPicture : public QWidget {
    Q_OBJECT
public:
    // A bare name is looked for in `folder`.
    AnimatedPicture(QString folder, const DisplayZoom& zoom, QWidget* parent = nullptr);

    void setPictureFile(const QString& file);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFrame();
    QRectF frameRect(QSize frame) const;

    QString m_folder;
    DisplayZoom m_zoom;
    QMovie* m_movie = nullptr;
};
