#include "drawscreen/draw_screen.h"

#include <QEvent>

bool DrawScreen::eventFilter(QObject* watched, QEvent* event)
{
    return QWidget::eventFilter(watched, event);
}
