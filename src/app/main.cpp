#include "app/fonts.h"
#include "app/message_boxes.h"
#include "drawscreen/draw_screen.h"
#include "settings/settings_dialog.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    installFontSubstitutions();

    DrawScreen drawScreen;
    // Created hidden; the context menu shows it. Leaving it in any way ends the program.
    SettingsDialog settingsDialog(&drawScreen);
    QObject::connect(&settingsDialog, &SettingsDialog::programEndRequested, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    drawScreen.setSettingsDialog(&settingsDialog);

    drawScreen.showMaximized();
    return app.exec();
}
