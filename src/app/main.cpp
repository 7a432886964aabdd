#include "app/fonts.h"
#include "app/message_boxes.h"
#include "drawscreen/draw_screen.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    installFontSubstitutions();

    DrawScreen drawScreen;
    drawScreen.showMaximized();
    return app.exec();
}
