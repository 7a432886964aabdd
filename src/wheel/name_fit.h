#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

// The room a prize name has on its sector: a ring segment symmetric about straight up (−y), in
// pixels from the wheel's centre, with padding kept clear of every edge. Names are set across
// the sector, their lines square to the radius, so the needle resting on the sector's middle
// crosses them nowhere.
struct NameBox
{
    double halfAngle = 22.5; // degrees either side of straight up
    double inner = 0;        // radii
    double outer = 0;
    double padding = 0;

    // Whether rect lies wholly inside the padded segment, or inside its mirror image below the
    // centre (flipped: the segment's text set upside down, so it reads upright at the bottom
    // of the wheel).
    bool contains(const QRectF& rect, bool flipped) const;
};

// A name laid out in its box: glyphs at their final places, to be drawn as they are.
struct FittedName
{
    QList<QGlyphRun> glyphs; // empty: nothing to draw
    QStringList lines;
    int pixelSize = 0;
    bool shortened = false; // ends with "…"
    QRectF ink;             // what the glyphs cover
};

// The name set as large as fits box in font's family: wrapped at any character for Chinese and
// at spaces for Latin words (inside a word only when it fits no other way), in up to three
// lines, and shortened with "…" only when even the smallest size leaves some of it over.
// Control characters are shown as spaces. flipped sets it below the centre, its top towards
// the centre. Every glyph's ink lies inside the box.
FittedName fitName(const QString& name, const NameBox& box, const QFont& font, bool flipped);
