#include "app/fonts.h"
#include "app/memory_policy.h"
#include "app/message_boxes.h"
#include "datafiles/atomic_file.h"
#include "display/display_awake.h"
#include "drawscreen/draw_screen.h"
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QTimer>

// What the system may show beside the program's name in its list of programs that keep the
// display on.
static const QString DisplayAwakeReason = QStringLiteral("摇奖画面正在放映");

int main(int argc, char** argv)
{
    keepPictureBuffersInHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    installFontSubstitutions();

    DrawScreen drawScreen;
    // The settings dialog is made when the menu first asks for it: it stays hidden until then,
    // and the draw screen comes up sooner and lighter without it. Leaving it ends the program.
    drawScreen.setSettingsDialogFactory([&drawScreen, &app] {
        auto* dialog = new SettingsDialog(&drawScreen);
        QObject::connect(
            dialog, &SettingsDialog::programEndRequested, &app, [] { QCoreApplication::exit(0); },
            Qt::QueuedConnection);
        return dialog;
    });

    // End-to-end tests read from this file where the program shows its elements, as the
    // screen reader's view of the window would give it.
    const QString geometryReport = qEnvironmentVariable("PRIZE_WHEEL_GEOMETRY_REPORT");
    if (!geometryReport.isEmpty()) {
        auto* timer = new QTimer(&drawScreen);
        QObject::connect(timer, &QTimer::timeout, &drawScreen, [&drawScreen, geometryReport] {
            writeFileAtomically(geometryReport, drawScreen.geometryReport().toUtf8());
        });
        timer->start(250);
    }

    // The audience watches the draw screen for hours between draws: the display stays on.
    const DisplayAwake displayAwake(ApplicationTitle, DisplayAwakeReason);
    drawScreen.showAsRemembered();
    return app.exec();
}
