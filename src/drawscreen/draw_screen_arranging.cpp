// Arranging the draw screen with the mouse: the title, the pointer (the wheel follows it), the
// prize pictures and the prize-name list can be dragged at any time, also during a spin, and
// their places are written to the settings file as they change.
#include "drawscreen/draw_screen.h"

#include "datafiles/settings_keys.h"
#include "ui/message_boxes.h"
#include "datafiles/settings_file.h"
#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

namespace {

// The settings keys of a draggable element's place, and whether releasing it reloads the
// prize names.
struct PlaceKeys
{
    QByteArray left;
    QByteArray top;
    bool reloadsNames;
};

} // namespace

// The keys of an element's place; empty for the results list, which is never moved.
static PlaceKeys placeKeysOf(const DrawScreen& screen, const QWidget* element)
{
    if (element == screen.parts().pointerImage)
        return {SettingsKey::PointerLeft, SettingsKey::PointerTop, true};
    if (element == screen.parts().titleLabel)
        return {SettingsKey::TitleLeft, SettingsKey::TitleTop, true};
    if (element == screen.parts().prizeList)
        return {SettingsKey::PrizeListLeft, SettingsKey::PrizeListTop, true};
    for (int k = 0; k < 8; ++k) {
        if (element == screen.parts().prizeImages[k]) {
            return {SettingsKey::prizePictureLeft(k + 1), SettingsKey::prizePictureTop(k + 1),
                    false};
        }
    }
    return {QByteArray(), QByteArray(), true};
}

// The element whose mouse events reach watched; the lists take theirs on their viewports.
static QWidget* elementOf(const DrawScreen& screen, QObject* watched)
{
    if (watched == screen.parts().prizeList->viewport())
        return screen.parts().prizeList;
    if (watched == screen.parts().resultsList->viewport())
        return screen.parts().resultsList;
    QList<QWidget*> elements = {screen.parts().pointerImage, screen.parts().titleLabel,
                                screen.parts().prizeList, screen.parts().resultsList};
    for (ImageControl* picture : screen.parts().prizeImages)
        elements.append(picture);
    for (QWidget* element : elements)
        if (watched == element)
            return element;
    return nullptr;
}

bool DrawScreen::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // The second press of a double-click comes as a double-click event: it grabs like any.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    QWidget* element = elementOf(*this, watched);
    // A disabled element (the results list as laid out) takes no mouse input at all.
    if (!element || !element->isEnabled())
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (press)
        elementMouseDown(element, mouse);
    else if (type == QEvent::MouseMove)
        elementMouseMove(element, mouse);
    else
        elementMouseUp(element, mouse);
    return true;
}

void DrawScreen::elementMouseDown(QWidget*, QMouseEvent* event)
{
    // Any button starts a drag, with or without modifier keys.
    dragging_ = true;
    grab_ = event->position().toPoint();
}

void DrawScreen::elementMouseMove(QWidget* element, QMouseEvent* event)
{
    const PlaceKeys keys = placeKeysOf(*this, element);
    if (keys.left.isEmpty())
        return; // the results list never moves
    runHandler(this, [&] {
        const QPoint at = event->position().toPoint();
        // Only the left button holds on to the element when the cursor leaves it; a right or
        // middle drag moves it only while the cursor is over it.
        const bool held = event->buttons() & Qt::LeftButton ||
                          (event->buttons() != Qt::NoButton && element->rect().contains(at));
        if (dragging_ && held) {
            element->move(element->x() + at.x() - grab_.x(), element->y());
            element->move(element->x(), element->y() + at.y() - grab_.y());
        }
        if (element == parts_.pointerImage)
            placeWheelOnPointer();
        // The element follows the mouse in screen pixels; its keys hold layout pixels.
        const QPoint place = scale_.toLayout(element->pos(), layout_.value(element).topLeft());
        layout_[element].moveTopLeft(place);
        SettingsFile().writePlace(keys.left.constData(), place.x(), keys.top.constData(),
                                  place.y());
    });
}

void DrawScreen::elementMouseUp(QWidget* element, QMouseEvent*)
{
    dragging_ = false;
    if (placeKeysOf(*this, element).reloadsNames)
        runHandler(this, [this] { reloadPrizeNames(); });
}
