#include "ui/SoundPlayer.h"

#include "ui/SoundOutput.h"

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), m_output(SoundOutput::create()) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(const QString& path)
{
    m_output->stop();
    if (!m_silent)
        m_output->play(path);
}
