#pragma once

#include <QByteArray>
#include <optional>

// The control modes as the settings file stores them ("kongzhimoshi"): "1" fully random,
// "2" no big prize (the prizes kept out never come up), "3" quota (from the pool of stop
// angles). Anything else is no mode: a spin in it has no stop rule.
enum class DrawMode
{
    FullyRandom,
    NoBigPrize,
    Quota
};

std::optional<DrawMode> parseDrawMode(const QByteArray& text);
QByteArray drawModeText(DrawMode mode);

// The stop modes ("tingzhimoshi"): "1" a second press of the start key stops the spin, "2"
// (and anything else, a missing key included) the spin stops by itself.
enum class StopMode
{
    ByKey,
    Automatic
};

StopMode parseStopMode(const QByteArray& text);
QByteArray stopModeText(StopMode mode);
