#pragma once

#include <QList>

// One line of text as a list lays it out: its top and height in pixels from the top of the text.
struct TextLine
{
    qreal top = 0;
    qreal height = 0;
};

// How a list shows its newest lines whole: the text scrolled by scrollTop pixels and seen
// through height pixels, so that no line is cut at either edge.
struct LinesInView
{
    int scrollTop = 0;
    int height = 0;
};

// As many of the newest of lines as fit in available pixels, the newest at the bottom; all of
// them unscrolled in the whole height when they fit. A newest line taller than available is
// shown from its top.
LinesInView newestLinesInView(const QList<TextLine>& lines, int available);
