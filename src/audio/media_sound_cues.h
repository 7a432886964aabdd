#pragma once

#include "evening/sound_cues.h"

#include <QString>

class MediaPlayer;

// The evening's sounds on the media player: each clip from the program folder's sound/.
class MediaSoundCues : public SoundCues
{
public:
    explicit MediaSoundCues(MediaPlayer* player) : player_(player) {}

    void playSpinning(bool loop) override;
    void playFanfare() override;
    void stopLooping() override;
    bool outputMissing() const override;
    bool probeOutputMissing() override;

private:
    void play(const QString& relativePath, bool loop);

    MediaPlayer* player_;
};
