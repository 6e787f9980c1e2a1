#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

// Plays a short .wav without blocking. A new sound cuts off the one still
// playing; a missing or unplayable file gives the default beep.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    void play(const QString& path);

private:
    QSoundEffect* m_effect = nullptr;
};
