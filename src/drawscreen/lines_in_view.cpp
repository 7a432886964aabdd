#include "drawscreen/lines_in_view.h"

#include <cmath>

LinesInView newestLinesInView(const QList<TextLine>& lines, int available)
{
    if (lines.isEmpty())
        return {0, available};
    const qreal bottom = lines.last().top + lines.last().height;
    // A fraction of a pixel is no cut: line tops fall between pixels.
    const auto fits = [&](qsizetype first) { return bottom - lines[first].top <= available + 0.5; };
    qsizetype first = lines.size() - 1;
    while (first > 0 && fits(first - 1))
        --first;
    if (first == 0 && fits(0))
        return {0, available};
    const int top = static_cast<int>(std::floor(lines[first].top));
    // The height ends where the text does, so the list's scroll range reaches exactly top.
    const int height = static_cast<int>(std::lround(bottom)) - top;
    return {top, std::min(height, available)};
}
