// The draw screen on several screens and in full screen: moving round the screens in the
// system's order, the screen and the state remembered for the next start, a remembered screen
// that is not connected, a screen disconnected during a spin, and F11 and the menu item.
// The offscreen platform's screens are laid out anew at run time through its native interface,
// as plugging and unplugging them does.
#include "draw_screen_fixture.h"
#include "support/offscreen_screens.h"

#include "datafiles/app_paths.h"
#include "drawscreen/image_control.h"
#include "drawscreen/screen_scale.h"
#include "rotatingimage/rotating_image.h"
#include "settings/settings_dialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

class Screens : public DrawScreenTest
{
protected:
    void TearDown() override { screen.reset(); }

    void startOn(const QList<TestScreen>& layout)
    {
        layOutScreens(layout);
        startProgram();
        screen->showAsRemembered();
    }

    // The window covers the screen it is on as its state says, and the layout is fitted to
    // its client area by the screen-fit rules.
    void expectOn(const TestScreen& plugged, bool fullScreen)
    {
        ASSERT_NE(screen->screen(), nullptr);
        EXPECT_EQ(screen->screen()->name(), QLatin1String(plugged.name));
        EXPECT_EQ(screen->isFullScreen(), fullScreen);
        // Full screen lies over the maximised state.
        EXPECT_TRUE(screen->isMaximized());
        EXPECT_TRUE(screen->parts().fullScreenAction->isChecked() == fullScreen);
        if (fullScreen)
            EXPECT_EQ(screen->geometry(), plugged.geometry);
        else
            EXPECT_TRUE(plugged.geometry.contains(screen->frameGeometry()))
                << screen->frameGeometry().x() << ',' << screen->frameGeometry().y();
        EXPECT_EQ(screen->screenScale(),
                  ScreenScale::forClient(ScreenScale::layoutSizeFrom(folder.setting("pingmu_kuan"),
                                                                     folder.setting("pingmu_gao")),
                                         screen->size()));
        EXPECT_EQ(screen->parts().backgroundImage->geometry(), screen->rect());
    }

private:
    OffscreenLayoutKept kept_;
};

TEST_F(Screens, TheItemMovesRoundTheScreensInTheSystemsOrderKeepingTheState)
{
    struct Case
    {
        QList<TestScreen> screens;
        bool fullScreen;
        int start; // without a remembered screen: the one at the desktop's top left, as ever
    };
    const Case cases[] = {{{Laptop, Projector}, false, 0},
                          {{Laptop, Projector}, true, 0},
                          {{Laptop, Projector, Monitor}, false, 0},
                          {{Projector, Monitor, Laptop}, true, 2}};
    for (const Case& c : cases) {
        folder.setSetting("xianshiping", nullptr);
        folder.setSetting("quanping", c.fullScreen ? "1" : nullptr);
        startOn(c.screens);
        SCOPED_TRACE(connectedNames().join(' ').toStdString());
        ASSERT_EQ(QGuiApplication::screens().size(), c.screens.size());
        EXPECT_TRUE(screen->parts().switchScreenAction->isEnabled());
        expectOn(c.screens[c.start], c.fullScreen);
        for (int step = 1; step <= c.screens.size(); ++step) {
            const TestScreen& next = c.screens[(c.start + step) % c.screens.size()];
            screen->switchScreenItemClick();
            expectOn(next, c.fullScreen);
            EXPECT_EQ(folder.setting("xianshiping"), QByteArray(next.name));
        }
        EXPECT_TRUE(boxes.boxes().isEmpty());
    }
}

TEST_F(Screens, TheNextStartOpensOnTheRememberedScreenWhenConnectedElseOnThePrimary)
{
    struct Case
    {
        const char* remembered; // null: no key
        QList<TestScreen> screens;
        TestScreen expected;
    };
    const Case cases[] = {
        {"HDMI-1", {Laptop, Projector, Monitor}, Projector},
        {"DP-2", {Laptop, Projector, Monitor}, Monitor},
        {"HDMI-1", {Laptop, Monitor}, Laptop}, // the projector is not connected
        {"HDMI-1", {Monitor, Laptop}, Monitor},
        {"", {Laptop, Projector}, Laptop},
        {nullptr, {Laptop, Projector}, Laptop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered ? c.remembered : "(no key)");
        folder.setSetting("xianshiping", c.remembered);
        startOn(c.screens);
        expectOn(c.expected, false);
        // Opening is no choice: what is remembered stays, and nothing is written without it.
        EXPECT_EQ(folder.read(QStringLiteral("data/opt.ini")).contains("xianshiping="),
                  c.remembered != nullptr);
        if (c.remembered) {
            EXPECT_EQ(folder.setting("xianshiping"), QByteArray(c.remembered));
        }
    }

    // Chosen with the item, used by the next run.
    folder.setSetting("xianshiping", nullptr);
    startOn({Laptop, Projector, Monitor});
    screen->switchScreenItemClick();
    screen->switchScreenItemClick();
    startProgram();
    screen->showAsRemembered();
    expectOn(Monitor, false);
}

TEST_F(Screens, WithOneScreenTheItemIsDisabledAndFollowsScreensComingAndGoing)
{
    startOn({Laptop});
    EXPECT_FALSE(screen->parts().switchScreenAction->isEnabled());
    screen->switchScreenItemClick();
    expectOn(Laptop, false);
    plugIn(Projector);
    EXPECT_TRUE(screen->parts().switchScreenAction->isEnabled());
    unplug(Projector);
    EXPECT_FALSE(screen->parts().switchScreenAction->isEnabled());
}

TEST_F(Screens, AScreenDisconnectedDuringASpinLeavesTheSpinAndTheResultsAsTheyWere)
{
    struct Case
    {
        QList<TestScreen> screens;
        TestScreen unplugged;
        TestScreen expected;
        bool fullScreen;
    };
    const Case cases[] = {
        {{Laptop, Projector}, Projector, Laptop, true},
        {{Laptop, Projector, Monitor}, Projector, Laptop, false},
        // The primary screen itself goes: the first that remains.
        {{Projector, Monitor, Laptop}, Projector, Monitor, false},
    };
    for (const Case& c : cases) {
        folder.setSetting("xianshiping", "HDMI-1");
        folder.setSetting("quanping", c.fullScreen ? "1" : "0");
        layOutScreens(c.screens);
        startFreshProgram();
        screen->showAsRemembered();
        expectOn(Projector, c.fullScreen);
        screen->startButtonClick();
        for (int tick = 0; tick < 20; ++tick)
            screen->spinTimerTick();
        const long double angle = screen->parts().pointerImage->angle();

        unplug(c.unplugged);
        expectOn(c.expected, c.fullScreen);
        EXPECT_TRUE(screen->parts().spinTimer->isActive());
        EXPECT_EQ(screen->parts().pointerImage->angle(), angle);
        EXPECT_EQ(screen->resultsCount(), 0);
        runSpin();
        EXPECT_EQ(screen->resultsCount(), 1);
        EXPECT_FALSE(lastResult().isEmpty());
        EXPECT_EQ(folder.setting("xianshiping"), "HDMI-1"); // the projector comes back next time
        EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    }
}

class FullScreen : public DrawScreenTest
{
};

TEST_F(FullScreen, F11AndTheItemToggleItBothWaysAndTheNextStartRemembers)
{
    startProgram();
    screen->showAsRemembered();
    EXPECT_TRUE(screen->isMaximized());
    EXPECT_FALSE(screen->parts().fullScreenAction->isChecked());
    EXPECT_TRUE(screen->parts().fullScreenAction->isCheckable());
    QApplication::setActiveWindow(screen.get());

    const std::function<void()> byKey = [this] { QTest::keyClick(screen.get(), Qt::Key_F11); };
    const std::function<void()> byItem = [this] { screen->parts().fullScreenAction->trigger(); };
    for (const auto& toggle : {byKey, byItem, byItem, byKey, byKey}) {
        const bool full = !screen->isFullScreen();
        toggle();
        EXPECT_EQ(screen->isFullScreen(), full);
        EXPECT_TRUE(screen->isMaximized());
        EXPECT_EQ(screen->parts().fullScreenAction->isChecked(), full);
        EXPECT_EQ(folder.setting("quanping"), full ? "1" : "0");
        // On top in both states.
        EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(screen->parts().backgroundImage->geometry(), screen->rect());
    }
    ASSERT_TRUE(screen->isFullScreen());
    startProgram();
    screen->showAsRemembered();
    EXPECT_TRUE(screen->isFullScreen());
    EXPECT_TRUE(screen->parts().fullScreenAction->isChecked());

    // Anything but "1" is the maximised window of old.
    for (const char* value : {"0", "", "true", "11"}) {
        folder.setSetting("quanping", value);
        startProgram();
        screen->showAsRemembered();
        EXPECT_TRUE(screen->isMaximized() && !screen->isFullScreen()) << value;
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(FullScreen, ASettingsFileThatCannotBeWrittenIsToldAndTheSwitchStands)
{
    startProgram();
    screen->showAsRemembered();
    // The program folder under a plain file: nothing can be written there.
    folder.write("blocker", "x");
    setProgramFolderForTesting(folder.file("blocker/"));
    screen->fullScreenItemClick();
    setProgramFolderForTesting(folder.path());
    EXPECT_TRUE(screen->isFullScreen());
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].contains(QStringLiteral("opt.ini")));
}

TEST_F(FullScreen, TheCloseQuestionStillComes)
{
    folder.setSetting("quanping", "1");
    startProgram();
    screen->showAsRemembered();
    ASSERT_TRUE(screen->isFullScreen());
    boxes.answerQuestionsWith(false);
    EXPECT_FALSE(screen->close());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Question);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->isFullScreen());
    boxes.answerQuestionsWith(true);
    EXPECT_TRUE(screen->close());
}

TEST_F(FullScreen, TheSettingsDialogComesUpOverIt)
{
    folder.setSetting("quanping", "1");
    startProgram();
    screen->showAsRemembered();
    SettingsDialog dialog(screen.get());
    screen->setSettingsDialogFactory([&dialog] { return &dialog; });
    bool overIt = false;
    QTimer::singleShot(0, &dialog, [&] {
        // A window of the draw screen's own, which the window manager keeps above it.
        overIt = dialog.isVisible() && dialog.windowHandle() &&
                 dialog.windowHandle()->transientParent() == screen->windowHandle();
        dialog.hide();
    });
    screen->settingsItemClick();
    EXPECT_TRUE(overIt);
    EXPECT_TRUE(screen->isFullScreen());
}
