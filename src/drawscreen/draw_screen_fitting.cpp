// Fitting the draw screen to its client area: the layout's places, sizes and fonts are kept in
// layout pixels and shown through the screen scale, which the settings' layout size and the
// client area's size decide. Without a layout size the two are the same.
#include "drawscreen/draw_screen.h"

#include "datafiles/settings_keys.h"
#include "datafiles/settings_file.h"
#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QTextEdit>
#include <QTextStream>
#include <algorithm>
#include <cmath>

void DrawScreen::rememberLayout()
{
    QList<QWidget*> scaled = {parts_.emptyBackImage, parts_.wheelImage,      parts_.pointerImage,
                              parts_.titleLabel,     parts_.emptyFrontImage, parts_.counterLabel,
                              parts_.debugLabel,     parts_.prizeList,       parts_.resultsList};
    for (ImageControl* picture : parts_.prizeImages)
        scaled.append(picture);
    for (QWidget* element : scaled)
        layout_.insert(element, element->geometry());
    for (QWidget* element :
         {static_cast<QWidget*>(parts_.titleLabel), static_cast<QWidget*>(parts_.counterLabel),
          static_cast<QWidget*>(parts_.debugLabel), static_cast<QWidget*>(parts_.prizeList),
          static_cast<QWidget*>(parts_.resultsList)})
        layoutFonts_.insert(element, element->font());
    // Pictures shown at another size than their own are drawn from their sources at the
    // screen's pixels; the shipped ones are made at twice the size the layout shows them.
    parts_.wheelImage->setDrawAtDevicePixels(true);
    parts_.pointerImage->setDrawAtDevicePixels(true);
    for (ImageControl* picture : parts_.prizeImages)
        picture->setDrawAtDevicePixels(true);
}

void DrawScreen::placeElement(QWidget* element, QPoint layoutPlace)
{
    layout_[element].moveTopLeft(layoutPlace);
    element->move(scale_.toScreen(layoutPlace));
}

void DrawScreen::setLayoutFont(QWidget* element, const QFont& font)
{
    layoutFonts_.insert(element, font);
    element->setFont(scale_.toScreen(font));
}

void DrawScreen::fitToClientArea()
{
    const SettingsFile settings;
    const ScreenScale scale = ScreenScale::forClient(
        ScreenScale::layoutSizeFrom(settings.text(SettingsKey::LayoutWidth),
                                    settings.text(SettingsKey::LayoutHeight)),
        size());
    if (scale == scale_)
        return;
    scale_ = scale;
    applyScreenScale();
}

void DrawScreen::applyScreenScale()
{
    for (auto it = layout_.cbegin(); it != layout_.cend(); ++it) {
        QWidget* element = it.key();
        const QRect screen = scale_.toScreen(it.value());
        if (element == parts_.wheelImage) {
            element->resize(screen.size()); // its place follows the pointer
        } else if (element == parts_.counterLabel || element == parts_.resultsList) {
            // The results row keeps its distance from the bottom; FormResize places its top.
            element->setGeometry(screen.x(), element->y(), screen.width(), screen.height());
        } else {
            element->setGeometry(screen);
        }
    }
    for (auto it = layoutFonts_.cbegin(); it != layoutFonts_.cend(); ++it)
        it.key()->setFont(scale_.toScreen(it.value()));
    placeWheelOnPointer();
}

// The client area the pictures are read ahead for, before the window has taken its maximised
// size: the one the window last covered on the same space, as the picture cache remembers it,
// else the larger of the window's size now and the screen's whole available area. Shown at
// another size, a picture is scaled down, which costs far less than reading the file again.
QSize DrawScreen::readAheadClientSize() const
{
    return readAheadClient_;
}

void DrawScreen::guessClientSize()
{
    readAheadScreen_ = screen();
    readAheadGuess_ =
        readAheadScreen_ ? size().expandedTo(readAheadScreen_->availableGeometry().size()) : size();
    readAheadClient_ = pictureCache_.clientSizeFor(readAheadGuess_);
}

QSize DrawScreen::readAheadSize(QWidget* element) const
{
    const SettingsFile settings;
    const ScreenScale whole = ScreenScale::forClient(
        ScreenScale::layoutSizeFrom(settings.text(SettingsKey::LayoutWidth),
                                    settings.text(SettingsKey::LayoutHeight)),
        readAheadClientSize());
    const double factor = std::max(scale_.factor(), whole.factor());
    const QSizeF size = QSizeF(layout_.value(element).size()) * factor;
    return {int(std::ceil(size.width())), int(std::ceil(size.height()))};
}

QSize DrawScreen::devicePixels(QSize size) const
{
    const QSizeF pixels = QSizeF(size) * devicePixelRatioF();
    return {int(std::ceil(pixels.width())), int(std::ceil(pixels.height()))};
}

QString DrawScreen::geometryReport() const
{
    QList<QPair<QString, const QWidget*>> elements = {
        {QStringLiteral("wheelImage"), parts_.wheelImage},
        {QStringLiteral("pointerImage"), parts_.pointerImage},
        {QStringLiteral("titleLabel"), parts_.titleLabel}};
    for (int k = 0; k < 8; ++k)
        elements.append({QStringLiteral("prizeImage%1").arg(k + 1), parts_.prizeImages[k]});
    elements.append({QStringLiteral("counterLabel"), parts_.counterLabel});
    elements.append({QStringLiteral("prizeList"), parts_.prizeList});
    elements.append({QStringLiteral("resultsList"), parts_.resultsList});
    // In the screen's own pixels, as a screenshot shows them.
    const double ratio = devicePixelRatioF();
    const auto pixels = [ratio](int v) { return qRound(v * ratio); };
    QString report;
    QTextStream out(&report);
    for (const auto& [name, element] : elements) {
        if (!element->isVisibleTo(this))
            continue;
        const QPoint at = element->mapToGlobal(QPoint(0, 0));
        out << name << ' ' << pixels(at.x()) << ' ' << pixels(at.y()) << ' '
            << pixels(element->width()) << ' ' << pixels(element->height()) << '\n';
    }
    return report;
}
