#include "drawscreen/screen_scale.h"

#include "datafiles/integer_conversion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double UnscaledTolerance = 0.05;

int roundToInt(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

std::optional<QSize> ScreenScale::layoutSizeFrom(const QByteArray& width, const QByteArray& height)
{
    const std::optional<int32_t> w = tryParseInteger(width);
    const std::optional<int32_t> h = tryParseInteger(height);
    if (!w || !h || *w <= 0 || *h <= 0)
        return std::nullopt;
    return QSize(*w, *h);
}

ScreenScale ScreenScale::forClient(std::optional<QSize> layoutSize, QSize clientSize)
{
    if (!layoutSize || clientSize.width() <= 0 || clientSize.height() <= 0)
        return {};
    const double s = std::min(double(clientSize.width()) / layoutSize->width(),
                              double(clientSize.height()) / layoutSize->height());
    const double factor = std::abs(s - 1.0) <= UnscaledTolerance ? 1.0 : s;
    return {factor, roundToInt((clientSize.width() - factor * layoutSize->width()) / 2)};
}

int ScreenScale::length(int layout) const
{
    return roundToInt(factor_ * layout);
}

QPoint ScreenScale::toScreen(QPoint layout) const
{
    return {offsetX_ + length(layout.x()), length(layout.y())};
}

QSize ScreenScale::toScreen(QSize layout) const
{
    return {length(layout.width()), length(layout.height())};
}

QFont ScreenScale::toScreen(const QFont& layout) const
{
    QFont font = layout;
    if (layout.pixelSize() > 0)
        font.setPixelSize(std::max(1, length(layout.pixelSize())));
    else if (layout.pointSizeF() > 0)
        font.setPointSizeF(layout.pointSizeF() * factor_);
    return font;
}

QPoint ScreenScale::toLayout(QPoint screen, QPoint known) const
{
    if (toScreen(known) == screen)
        return known;
    return {roundToInt((screen.x() - offsetX_) / factor_), roundToInt(screen.y() / factor_)};
}

int ScreenScale::rowTop(int outerHeight, int rowHeight, int bottomMargin) const
{
    return outerHeight - length(rowHeight + bottomMargin);
}
