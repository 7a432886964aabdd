#include "wheel/name_fit.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int MaxLines = 3;
// Block positions tried between the inner and outer edge: the wedge favours the rim, the
// outer circle the middle.
constexpr int Placements = 3;
const QString Ellipsis = QStringLiteral("…");

constexpr double Pi = 3.14159265358979323846;

// Distance along the box's axis: how far from the centre towards the segment a y lies.
double along(double y, bool flipped)
{
    return flipped ? y : -y;
}

// Control characters would draw as boxes or break the line: a space each.
QString printable(const QString& name)
{
    QString text = name;
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text;
}

class Fitter
{
public:
    Fitter(const NameBox& box, bool flipped, QTextOption::WrapMode wrap)
        : box_(box), flipped_(flipped), wrap_(wrap)
    {
        const double h = box.halfAngle * Pi / 180;
        sinH_ = std::sin(h);
        cosH_ = std::cos(h);
    }

    // The text laid out at pixelSize in its box, or nothing when some of it is left over or
    // a glyph would stand outside.
    std::optional<FittedName> fit(const QString& text, const QFont& family, int pixelSize) const
    {
        QFont font = family;
        font.setPixelSize(pixelSize);
        const double lineHeight = QFontMetricsF(font).height();
        const double low = box_.inner + box_.padding;
        const double high = box_.outer - box_.padding;
        for (int lines = 1; lines <= MaxLines; ++lines) {
            const double depth = lines * lineHeight;
            if (depth > high - low)
                break;
            for (int p = 0; p < Placements; ++p) {
                // Nearest the rim first: the wedge is widest there.
                const double top = high - (high - low - depth) * p / (Placements - 1);
                if (auto fitted = fitAt(text, font, lines, lineHeight, top))
                    return fitted;
            }
        }
        return std::nullopt;
    }

private:
    // Half the width a line may take whose band along the axis runs from a to b (a < b).
    double halfWidth(double a, double b) const
    {
        const double wedge = (a * sinH_ - box_.padding) / cosH_;
        const double rim = box_.outer - box_.padding;
        const double circle = b < rim ? std::sqrt(rim * rim - b * b) : 0;
        return std::max(0.0, std::min(wedge, circle));
    }

    std::optional<FittedName> fitAt(const QString& text, const QFont& font, int lines,
                                    double lineHeight, double outerEdge) const
    {
        QTextLayout layout(text, font);
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(wrap_);
        layout.setTextOption(option);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        // Text lines run from the block's top: at the rim, or towards the centre when flipped.
        QList<QTextLine> made;
        for (int i = 0; i < lines; ++i) {
            const int band = flipped_ ? lines - 1 - i : i; // counted from the rim
            const double b = outerEdge - band * lineHeight;
            const double a = b - lineHeight;
            const double width = 2 * halfWidth(a, b);
            if (width < 1)
                return std::nullopt;
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            // The line's top, in the frame where y grows downwards.
            const double top = flipped_ ? a : -b;
            line.setPosition(QPointF(-line.naturalTextWidth() / 2, top));
            made.append(line);
        }
        const bool leftOver = layout.createLine().isValid();
        layout.endLayout();
        if (leftOver || made.isEmpty())
            return std::nullopt;
        FittedName fitted;
        fitted.pixelSize = font.pixelSize();
        for (const QTextLine& line : made) {
            QString lineText = text.mid(line.textStart(), line.textLength());
            lineText.remove(QChar::LineSeparator);
            lineText = lineText.trimmed();
            if (lineText.isEmpty())
                continue;
            fitted.lines.append(lineText);
            for (const QGlyphRun& run : line.glyphRuns()) {
                const QRectF ink = run.boundingRect();
                if (!ink.isEmpty() && !box_.contains(ink, flipped_))
                    return std::nullopt;
                fitted.ink |= ink;
                fitted.glyphs.append(run);
            }
        }
        return fitted;
    }

    NameBox box_;
    bool flipped_;
    QTextOption::WrapMode wrap_;
    double sinH_ = 0;
    double cosH_ = 1;
};

// The largest size from low to high at which text fits, by halving: a larger size never fits
// where a smaller one did not, near enough for names.
std::optional<FittedName> largest(const Fitter& fitter, const QString& text, const QFont& font,
                                  int low, int high)
{
    std::optional<FittedName> best = fitter.fit(text, font, low);
    if (!best)
        return std::nullopt;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (auto fitted = fitter.fit(text, font, mid)) {
            best = std::move(fitted);
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return best;
}

// The largest fit of text: broken only where a word or a Chinese character ends, or, when it
// fits no other way, anywhere in a word too.
std::optional<FittedName> largestWrapped(const NameBox& box, bool flipped, const QString& text,
                                         const QFont& font, int low, int high)
{
    for (const auto wrap : {QTextOption::WordWrap, QTextOption::WrapAtWordBoundaryOrAnywhere}) {
        if (auto fitted = largest(Fitter(box, flipped, wrap), text, font, low, high))
            return fitted;
    }
    return std::nullopt;
}

// A name like "一等奖：智能手机" reads best broken after its colon, when that costs little.
QString brokenAfterColon(const QString& text)
{
    for (const QChar colon : {QChar(0xFF1A), QChar(u':')}) {
        const qsizetype at = text.indexOf(colon);
        if (at > 0 && at + 1 < text.size())
            return text.left(at + 1) + QChar(QChar::LineSeparator) + text.mid(at + 1).trimmed();
    }
    return QString();
}

// Where text may be cut: between whole characters as the reader sees them.
QList<int> graphemeEnds(const QString& text)
{
    QList<int> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0)
        ends.append(int(finder.position()));
    return ends;
}

} // namespace

bool NameBox::contains(const QRectF& rect, bool flipped) const
{
    const double h = halfAngle * Pi / 180;
    const double sinH = std::sin(h);
    const double cosH = std::cos(h);
    const double rim = outer - padding;
    const QPointF corners[] = {rect.topLeft(), rect.topRight(), rect.bottomLeft(),
                               rect.bottomRight()};
    for (const QPointF& c : corners) {
        // The wedge and the outer circle are convex: their corners decide.
        if (along(c.y(), flipped) * sinH - std::abs(c.x()) * cosH < padding)
            return false;
        if (std::hypot(c.x(), c.y()) > rim)
            return false;
    }
    // The inner circle: the rectangle's point nearest the centre.
    const double nx = std::clamp(0.0, rect.left(), rect.right());
    const double ny = std::clamp(0.0, rect.top(), rect.bottom());
    return std::hypot(nx, ny) >= inner + padding;
}

FittedName fitName(const QString& name, const NameBox& box, const QFont& font, bool flipped)
{
    const QString text = printable(name).trimmed();
    if (text.isEmpty())
        return {};
    const double depth = box.outer - box.inner - 2 * box.padding;
    // One line may take the whole depth; below a sixth of it a name is no longer read.
    const int high = std::max(1, int(depth * 0.8));
    const int low = std::clamp(int(depth / 6), 1, high);
    std::optional<FittedName> whole = largestWrapped(box, flipped, text, font, low, high);
    const QString colonBroken = brokenAfterColon(text);
    if (!colonBroken.isNull() && (!whole || whole->lines.size() > 1)) {
        const int from = whole ? std::max(low, whole->pixelSize * 85 / 100) : low;
        if (auto broken = largestWrapped(box, flipped, colonBroken, font, from, high))
            return *broken;
    }
    if (whole)
        return *whole;
    // The longest beginning that fits at the smallest size, with "…" after it.
    const Fitter fitter(box, flipped, QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QList<int> ends = graphemeEnds(text);
    int first = 0;
    int last = int(ends.size()) - 1;
    std::optional<FittedName> best;
    while (first <= last) {
        const int mid = (first + last) / 2;
        const QString shortened = text.left(ends[mid]).trimmed() + Ellipsis;
        if (auto fitted = fitter.fit(shortened, font, low)) {
            best = std::move(fitted);
            first = mid + 1;
        } else {
            last = mid - 1;
        }
    }
    if (!best)
        best = fitter.fit(Ellipsis, font, low);
    if (!best)
        return {};
    best->shortened = true;
    return *best;
}
