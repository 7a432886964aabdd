#pragma once

// The evening's two sounds, played on the stage's speakers. A clip that cannot be opened
// raises AppError; a clip that found no sound output plays silently and says so.
class SoundCues
{
public:
    virtual ~SoundCues() = default;

    // The spinning sound, again and again for a spin stopped by key.
    virtual void playSpinning(bool loop) = 0;
    virtual void playFanfare() = 0;
    // Ends the spinning sound of a key-stop spin, which loops until then.
    virtual void stopLooping() = 0;
    // The last clip found no sound output to play on.
    virtual bool outputMissing() const = 0;
    // Asks, without a sound, whether there is an output to play on; true when there is none.
    // What cannot be asked (the sound library will not load) counts as an output there, for
    // the first clip to report.
    virtual bool probeOutputMissing() = 0;
};
