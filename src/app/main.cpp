#include "ui/first_frame.h"
#include "ui/fonts.h"
#include "ui/memory_policy.h"
#include "ui/message_boxes.h"
#include "ui/program_icon.h"
#include "ui/qt_translation.h"
#include "datafiles/app_paths.h"
#include "datafiles/atomic_file.h"
#include "display/display_awake.h"
#include "drawscreen/draw_screen.h"
#include "evening/draw_evening.h"
#include "operatorwindow/operator_window.h"
#include "instance/single_instance.h"
#include "settings/settings_dialog.h"
#include "ui/window_raiser.h"

#include <QApplication>
#include <memory>
#include <QFile>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <cstdio>

// What the system may show beside the program's name in its list of programs that keep the
// display on.
static const QString DisplayAwakeReason = QStringLiteral("摇奖画面正在放映");

int main(int argc, char** argv)
{
    returnLargeBuffersToSystem();
    QApplication app(argc, argv);
    // The buttons of every box and the standard dialogs speak Chinese like the rest.
    const std::unique_ptr<QTranslator> qtTexts = loadQtTranslation();
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setWindowIcon(programIcon());
    installFontSubstitutions();

    // A second start in the same folder brings the running draw screen forward and ends
    // before anything is read or written. Made first, the lock outlives the draw screen.
    SingleInstance instance(programFolder());
    if (!instance.claim())
        return 0;

    // The evening below its two views: the draw screen the hall sees, and the operator's own
    // window on another screen.
    DrawEvening evening;
    DrawScreen drawScreen(&evening);
    // Made when first wanted: most evenings run on one screen, and start-up is lighter without.
    std::unique_ptr<OperatorWindow> operatorWindow;
    QObject::connect(&drawScreen, &DrawScreen::operatorWindowAsked, &drawScreen,
                     [&drawScreen, &operatorWindow] {
                         if (operatorWindow)
                             return; // it answers the item itself from now on
                         operatorWindow = std::make_unique<OperatorWindow>(&drawScreen);
                         operatorWindow->setWanted(true);
                     });
    QObject::connect(&instance, &SingleInstance::activationRequested, new WindowRaiser(drawScreen),
                     &WindowRaiser::bringToFront);
    // The settings dialog is made when the menu first asks for it: it stays hidden until then,
    // and the draw screen comes up sooner and lighter without it. Leaving it ends the program.
    drawScreen.setSettingsDialogFactory([&drawScreen, &app] {
        auto* dialog = new SettingsDialog(&drawScreen);
        QObject::connect(
            dialog, &SettingsDialog::programEndRequested, &app, [] { QCoreApplication::exit(0); },
            Qt::QueuedConnection);
        return dialog;
    });

    // The tick-rate benchmark times the spin from the program's own ticks: one line of
    // monotonic nanoseconds per tick of the spin timer, so the count follows the code.
    const QString tickLog = qEnvironmentVariable("PW_BENCH_TICK_LOG");
    if (!tickLog.isEmpty()) {
        if (std::FILE* log = std::fopen(QFile::encodeName(tickLog).constData(), "a")) {
            QObject::connect(drawScreen.parts().spinTimer, &QTimer::timeout, &drawScreen, [log] {
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::steady_clock::now().time_since_epoch());
                std::fprintf(log, "%lld\n", static_cast<long long>(ns.count()));
                std::fflush(log);
            });
        }
    }

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
    if (OperatorWindow::rememberedShown())
        new FirstFrame(&drawScreen, [&drawScreen, &operatorWindow] {
            if (operatorWindow)
                return;
            operatorWindow = std::make_unique<OperatorWindow>(&drawScreen);
            operatorWindow->showAsRemembered();
        });
    // Once the restored screen is up, the spin's buffers stay in the heap.
    new FirstFrame(&drawScreen, [] { keepPictureBuffersInHeap(); });
    return app.exec();
}
