#include "ui/SoundPlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

void SoundPlayer::play(const QString& path)
{
    // With no file, or nowhere to play it, the default beep stands in.
    if (!QFileInfo(path).isFile() || QMediaDevices::defaultAudioOutput().isNull()) {
        QApplication::beep();
        return;
    }
    // Created on first use, so a window that never turns a page never opens
    // the audio device.
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        // The file loads in the background: play it once it is ready.
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect->status() == QSoundEffect::Error)
                QApplication::beep();
            else if (m_effect->status() == QSoundEffect::Ready && !m_effect->isPlaying())
                m_effect->play();
        });
    }
    m_effect->stop();
    const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    // The same source again changes nothing, so no new status arrives.
    if (m_effect->source() == source && m_effect->status() == QSoundEffect::Ready) {
        m_effect->play();
        return;
    }
    if (m_effect->source() == source && m_effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    m_effect->setSource(source);
}
