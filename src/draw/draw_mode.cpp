#include "draw/draw_mode.h"

std::optional<DrawMode> parseDrawMode(const QByteArray& text)
{
    for (const DrawMode mode : {DrawMode::FullyRandom, DrawMode::NoBigPrize, DrawMode::Quota})
        if (text == drawModeText(mode))
            return mode;
    return std::nullopt;
}

QByteArray drawModeText(DrawMode mode)
{
    switch (mode) {
    case DrawMode::FullyRandom:
        return QByteArrayLiteral("1");
    case DrawMode::NoBigPrize:
        return QByteArrayLiteral("2");
    case DrawMode::Quota:
        break;
    }
    return QByteArrayLiteral("3");
}

StopMode parseStopMode(const QByteArray& text)
{
    return text == stopModeText(StopMode::ByKey) ? StopMode::ByKey : StopMode::Automatic;
}

QByteArray stopModeText(StopMode mode)
{
    return mode == StopMode::ByKey ? QByteArrayLiteral("1") : QByteArrayLiteral("2");
}
