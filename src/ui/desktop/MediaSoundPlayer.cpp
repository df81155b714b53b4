#include "desktop/MediaSoundPlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QUrl>

void MediaSoundPlayer::play(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isReadable() || !HasSoundDevice())
        return;
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->play();
}

bool MediaSoundPlayer::HasSoundDevice() const
{
    return !QMediaDevices::audioOutputs().isEmpty();
}
