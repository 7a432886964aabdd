#include "drawscreen/draw_screen.h"

#include <QCloseEvent>
#include <QMenu>

void DrawScreen::buildContextMenu()
{
    contextMenu = new QMenu(this);
}

void DrawScreen::settingsItemClick() {}
void DrawScreen::saveResultsItemClick() {}
void DrawScreen::helpItemClick() {}
void DrawScreen::exitItemClick() {}

void DrawScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
}
