#pragma once

#include <QImage>
#include <cstdint>
#include <string>

// A Format_ARGB32 picture whose pixels are all different 32-bit values, alpha included, so a
// pixel that lands in the wrong place or is blended shows up.
inline QImage patternImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint32_t(y * width + x + 1) * 2654435761u);
    return image;
}

// The same kind of picture with every pixel opaque, for drawing on the key colour unchanged.
inline QImage opaquePatternImage(int width, int height)
{
    QImage image = patternImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, image.pixel(x, y) | 0xff000000u);
    return image;
}

// Expected quarter and half turns, written from where each edge ends up on screen.
enum class Turn
{
    CounterClockwise90,
    Clockwise90,
    Half
};

inline QImage turnedByHand(const QImage& src, Turn turn)
{
    const int w = src.width();
    const int h = src.height();
    QImage out(turn == Turn::Half ? w : h, turn == Turn::Half ? h : w, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            switch (turn) {
            case Turn::CounterClockwise90: // the top edge becomes the left edge
                out.setPixel(x, y, src.pixel(w - 1 - y, x));
                break;
            case Turn::Clockwise90: // the top edge becomes the right edge
                out.setPixel(x, y, src.pixel(y, h - 1 - x));
                break;
            case Turn::Half:
                out.setPixel(x, y, src.pixel(w - 1 - x, h - 1 - y));
                break;
            }
        }
    }
    return out;
}

// The first differing pixel as text, for readable failures.
inline std::string firstDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
               " instead of " + std::to_string(expected.width()) + "x" +
               std::to_string(expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "";
}
