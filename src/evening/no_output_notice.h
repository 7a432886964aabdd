#pragma once

#include <QString>

// What the operator is told when no sound device can play.
inline const QString NoSoundOutputText = QStringLiteral("没有可用的声音设备，摇奖将不播放声音。");

// When the operator hears that there is no sound output: once a run, at the start of a spin,
// never while the pointer turns. A stop whose sound found no output is told at the next start.
class NoOutputNotice
{
public:
    // A spin starts and its sound found the output missing or not; true when the notice is
    // to be shown now, before the spin turns.
    bool atSpinStart(bool outputMissing);
    // The sound at a stop found the output missing or not.
    void atStop(bool outputMissing);

private:
    bool told_ = false;
    bool missedAtStop_ = false;
};
