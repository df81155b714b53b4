#pragma once

#include <QString>

// Plays a sound file without waiting for it. A file that cannot be played is ignored.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &path) = 0;
    virtual bool HasSoundDevice() const = 0;
};

// For machines (and tests) without sound.
class SilentSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &) override {}
    bool HasSoundDevice() const override { return false; }
};
