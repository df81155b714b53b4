#pragma once

#include "platform/SoundPlayer.h"

#include <QSoundEffect>

#include <memory>

// Plays WAV files through Qt Multimedia when the machine has an audio output.
class MediaSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &path) override;
    bool HasSoundDevice() const override;

private:
    // Made at the first sound: starting the audio system costs the program's start-up.
    std::unique_ptr<QSoundEffect> m_effect;
};
