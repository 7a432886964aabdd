#pragma once

#include <QImage>
#include <QSize>

// The festive stage behind everything: deep red with gold rays, soft lights and fireworks,
// velvet curtains at the sides and a valance on top, a dark stage floor. The top and the bottom
// stay dark for the white title, results and counter. Drawn for 1920 x 1080 and scaled to the
// size asked for (it is shown stretched to the whole window anyway). Opaque.
QImage makeBackgroundPicture(QSize size);
