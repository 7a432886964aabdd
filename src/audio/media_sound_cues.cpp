#include "audio/media_sound_cues.h"

#include "audio/media_player.h"
#include "datafiles/app_paths.h"

#include <exception>

void MediaSoundCues::play(const QString& relativePath, bool loop)
{
    player_->setFileName(programFolder() + relativePath);
    player_->Open();
    player_->setLooping(loop);
    player_->Play();
}

void MediaSoundCues::playSpinning(bool loop)
{
    play(QStringLiteral("sound/摇奖中.mp3"), loop);
}

void MediaSoundCues::playFanfare()
{
    play(QStringLiteral("sound/中奖后.mp3"), false);
}

void MediaSoundCues::stopLooping()
{
    if (player_->looping())
        player_->close();
}

bool MediaSoundCues::outputMissing() const
{
    return player_->outputMissing();
}

bool MediaSoundCues::probeOutputMissing()
{
    try {
        player_->probeOutput();
    } catch (const std::exception&) {
        return false;
    }
    return player_->outputMissing();
}
