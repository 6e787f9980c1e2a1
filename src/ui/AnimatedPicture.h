#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

class QMovie;

// An animated GIF that plays by itself inside its own rectangle. It starts
// from the state stored with its window; a missing file shows nothing.
class AnimatedPicture : public QWidget {
    Q_OBJECT
public:
    struct State {
        int extentWidth = 0; // hundredths of a millimetre
        int extentHeight = 0;
        quint32 backColour = 0x8000000F; // system colour: button face
        QString pictureFile;
    };

    // A bare name is looked for in `folder`.
    AnimatedPicture(const State& state, QString folder, QWidget* parent = nullptr);

    void setPictureFile(const QString& file);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFrame();
    QRectF frameRect(QSize frame) const;

    QString m_folder;
    QMovie* m_movie = nullptr;
};
