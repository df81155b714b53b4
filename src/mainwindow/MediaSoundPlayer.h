#pragma once

#include "platform/SoundPlayer.h"

#include <QSoundEffect>

// Plays WAV files through Qt Multimedia when the machine has an audio output.
class MediaSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &path) override;
    bool HasSoundDevice() const override;

private:
    QSoundEffect m_effect;
};
