// The operator window beside the draw screen on Qt's offscreen platform with several screens:
// where it opens, that it follows screens unplugged and plugged in, that boxes and the settings
// dialog come up over it, and that each of its buttons and keys does what the draw screen's
// own handler does.
#include "operatorwindow/operator_window.h"

#include "../drawscreen/draw_screen_fixture.h"
#include "draw/draw_texts.h"
#include "drawscreen/black_out_cover.h"
#include "settings/settings_dialog.h"
#include "support/offscreen_screens.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

class OperatorWindowTest : public DrawScreenTest
{
protected:
    void TearDown() override
    {
        operatorWindow.reset();
        screen.reset();
    }

    // The draw screen on the screen named, the operator window wanted or not.
    void startOn(const QList<TestScreen>& layout, const char* stage, bool wanted = true)
    {
        layOutScreens(layout);
        folder.setSetting("xianshiping", stage);
        folder.setSetting("caozuo_chuangkou", wanted ? "1" : QByteArray());
        startProgram();
        screen->showAsRemembered();
        operatorWindow = std::make_unique<OperatorWindow>(screen.get());
        operatorWindow->showAsRemembered();
    }

    QString operatorScreen() const
    {
        return operatorWindow->isVisible() && operatorWindow->windowHandle()
                   ? operatorWindow->windowHandle()->screen()->name()
                   : QString();
    }

    OffscreenLayoutKept kept;
    std::unique_ptr<OperatorWindow> operatorWindow;
};

TEST_F(OperatorWindowTest, OpensOnAnotherScreenThanTheDrawScreensAndOnlyThere)
{
    struct Case
    {
        QList<TestScreen> layout;
        const char* stage;
        bool wanted;
        QString expected; // empty: not shown
    };
    const Case cases[] = {
        {{Laptop, Projector}, "HDMI-1", true, QStringLiteral("eDP-1")},
        {{Laptop, Projector}, "eDP-1", true, QStringLiteral("HDMI-1")},
        {{Laptop, Projector, Monitor}, "DP-2", true, QStringLiteral("eDP-1")},
        {{Laptop, Projector}, "HDMI-1", false, QString()},
        {{Projector}, "HDMI-1", true, QString()},
    };
    for (const Case& c : cases) {
        startOn(c.layout, c.stage, c.wanted);
        EXPECT_EQ(operatorScreen(), c.expected) << c.stage;
        const QAction* item = screen->parts().operatorWindowAction;
        EXPECT_EQ(item->isEnabled(), c.layout.size() > 1);
        EXPECT_EQ(item->isChecked(), !c.expected.isEmpty());
        // F2 and the item do nothing with one screen.
        if (c.layout.size() == 1) {
            QTest::keyClick(screen.get(), Qt::Key_F2);
            EXPECT_FALSE(operatorWindow->isVisible());
        }
        operatorWindow.reset();
        screen.reset();
    }
}

TEST_F(OperatorWindowTest, FollowsTheScreensAndTheItemAndIsRemembered)
{
    startOn({Laptop, Projector}, "HDMI-1");
    ASSERT_EQ(operatorScreen(), QStringLiteral("eDP-1"));
    // The projector unplugged: the draw screen goes to the laptop, the operator window away.
    unplug(Projector);
    QCoreApplication::processEvents();
    EXPECT_FALSE(operatorWindow->isVisible());
    EXPECT_FALSE(screen->parts().operatorWindowAction->isEnabled());
    plugIn(Projector);
    QCoreApplication::processEvents();
    EXPECT_TRUE(operatorWindow->isVisible());
    EXPECT_NE(operatorScreen(), screen->windowHandle()->screen()->name());
    // The item hides it and says so in the settings; again shows it.
    screen->parts().operatorWindowAction->trigger();
    EXPECT_FALSE(operatorWindow->isVisible());
    EXPECT_EQ(folder.setting("caozuo_chuangkou"), "0");
    screen->parts().operatorWindowAction->trigger();
    EXPECT_TRUE(operatorWindow->isVisible());
    EXPECT_EQ(folder.setting("caozuo_chuangkou"), "1");
}

TEST_F(OperatorWindowTest, BoxesAndTheSettingsDialogComeUpOverIt)
{
    startOn({Laptop, Projector}, "HDMI-1");
    boxes.clear();                          // what start-up told (no sound device here)
    folder.setSetting("kongzhimoshi", "9"); // a spin is refused with a notice
    screen->startButtonClick();
    ASSERT_EQ(boxes.texts(), QStringList{InvalidModeText});
    EXPECT_EQ(boxes.parents().last(), operatorWindow.get());

    SettingsDialog dialog(screen.get());
    screen->setSettingsDialogFactory([&dialog] { return &dialog; });
    QWidget* over = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
        over = dialog.parentWidget();
        dialog.hide();
    });
    screen->settingsItemClick();
    EXPECT_EQ(over, operatorWindow.get());

    // Hidden, the boxes come up over the draw screen again.
    operatorWindow->setWanted(false);
    boxes.clear();
    screen->startButtonClick();
    EXPECT_EQ(boxes.parents().value(0), screen.get());
}

TEST_F(OperatorWindowTest, ItsButtonsAndKeysDoWhatTheDrawScreensDo)
{
    startOn({Laptop, Projector}, "HDMI-1");
    folder.setSetting("tingzhimoshi", "2");
    const auto spinning = [this] { return screen->parts().spinTimer->isActive(); };
    const auto black = [this] { return screen->projectorState().blackedOut; };
    const auto settle = [this] {
        runSpin();
        screen->parts().blackOut->setBlack(false);
        boxes.clear();
    };
    struct Case
    {
        const char* what;
        std::function<void()> act;
        std::function<bool()> done;
    };
    OperatorWindow* w = operatorWindow.get();
    const auto key = [w](int k) { return [w, k] { QTest::keyClick(w, Qt::Key(k)); }; };
    int settingsAsked = 0;
    screen->setSettingsDialogFactory([&settingsAsked] {
        ++settingsAsked;
        return nullptr;
    });
    const QList<Case> cases = {
        {"start button", [w] { w->startButton()->click(); }, spinning},
        {"Space", key(Qt::Key_Space), spinning},
        {"Enter", key(Qt::Key_Return), spinning},
        {"Page Down", key(Qt::Key_PageDown), spinning},
        {"black-out button", [w] { w->blackOutButton()->click(); }, black},
        {"B", key(Qt::Key_B), black},
        {"take-back button", [w] { w->takeBackButton()->click(); },
         [this] { return boxes.texts().value(0).startsWith(QStringLiteral("作废第")); }},
        {"Delete", key(Qt::Key_Delete),
         [this] { return boxes.texts().value(0).startsWith(QStringLiteral("作废第")); }},
        {"save button", [w] { w->saveButton()->click(); },
         [this] { return boxes.texts().contains(SavedText); }},
        {"full-screen button", [w] { w->fullScreenButton()->click(); },
         [this] { return screen->isFullScreen(); }},
        {"F11", key(Qt::Key_F11), [this] { return !screen->isFullScreen(); }},
        {"switch-screen button", [w] { w->switchScreenButton()->click(); },
         [this] { return screen->windowHandle()->screen()->name() == QLatin1String("eDP-1"); }},
        {"settings button", [w] { w->settingsButton()->click(); },
         [&settingsAsked] { return settingsAsked == 1; }},
        {"exit button", [w] { w->exitButton()->click(); },
         [this] { return boxes.texts().value(0) == CloseQuestion; }},
    };
    boxes.answerQuestionsWith(false);
    screen->startButtonClick(); // a draw that can be taken back
    settle();
    for (const Case& c : cases) {
        c.act();
        EXPECT_TRUE(c.done()) << c.what;
        settle();
    }
    EXPECT_TRUE(w->statusText().contains(QStringLiteral("摇奖记录：本次已记录")));
}
