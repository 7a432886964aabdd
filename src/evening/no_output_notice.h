#pragma once

#include <QString>

// What the operator is told when no sound device can play.
inline const QString NoSoundOutputText = QStringLiteral("没有可用的声音设备，摇奖将不播放声音。");

// When the operator hears that there is no sound output: once a run, as soon as start-up finds
// it missing, or else once the spin whose start or stop found it missing has ended; never
// before or while the pointer turns, so no spin waits for the box.
class NoOutputNotice
{
public:
    // Start-up asked whether there is an output; true when the notice is to be shown now.
    bool atStartUp(bool outputMissing);
    // The sound at a spin's start or stop found the output missing or not.
    void atSpinStart(bool outputMissing) { atStop(outputMissing); }
    void atStop(bool outputMissing);
    // The spin has ended; true when the notice is to be shown now.
    bool atSpinEnd();

private:
    bool told_ = false;
    bool missed_ = false;
};
