// The keys of a presenter remote: the mapping, and the keys through the draw screen as the
// application delivers them, whichever element has the focus.
#include "draw_screen_fixture.h"

#include "drawscreen/black_out_cover.h"
#include "drawscreen/celebration_overlay.h"
#include "drawscreen/presenter_keys.h"

#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {

struct KeyCase
{
    int key;
    Qt::KeyboardModifiers modifiers;
    PresenterAction lit;   // the screen as usual
    PresenterAction black; // the screen blacked out
};

constexpr auto None = PresenterAction::None;
constexpr auto Start = PresenterAction::Start;
constexpr auto Swallow = PresenterAction::Swallow;
constexpr auto Toggle = PresenterAction::ToggleBlackOut;
constexpr auto End = PresenterAction::EndBlackOut;
constexpr auto TakeBack = PresenterAction::TakeBack;

} // namespace

TEST(PresenterKeys, MapsEachKeyToItsAction)
{
    const KeyCase cases[] = {
        {Qt::Key_Space, Qt::NoModifier, Start, Swallow},
        {Qt::Key_Return, Qt::NoModifier, Start, Swallow},
        {Qt::Key_Enter, Qt::KeypadModifier, Start, Swallow},
        {Qt::Key_PageDown, Qt::NoModifier, Start, Swallow},
        {Qt::Key_Right, Qt::NoModifier, Start, Swallow},
        {Qt::Key_Down, Qt::NoModifier, Start, Swallow},
        {Qt::Key_Down, Qt::KeypadModifier, Start, Swallow},
        {Qt::Key_PageUp, Qt::NoModifier, Swallow, Swallow},
        {Qt::Key_Left, Qt::NoModifier, Swallow, Swallow},
        {Qt::Key_Up, Qt::NoModifier, Swallow, Swallow},
        {Qt::Key_B, Qt::NoModifier, Toggle, Toggle},
        {Qt::Key_B, Qt::ShiftModifier, Toggle, Toggle},
        {Qt::Key_Period, Qt::NoModifier, Toggle, Toggle},
        {Qt::Key_Period, Qt::KeypadModifier, Toggle, Toggle},
        {Qt::Key_Escape, Qt::NoModifier, None, End},
        {Qt::Key_Delete, Qt::NoModifier, TakeBack, Swallow},
        {Qt::Key_Backspace, Qt::NoModifier, TakeBack, Swallow},
        {Qt::Key_Delete, Qt::ControlModifier, None, None},
        // Not the draw screen's: with Ctrl, Alt or Meta, and any other key.
        {Qt::Key_B, Qt::ControlModifier, None, None},
        {Qt::Key_PageDown, Qt::AltModifier, None, None},
        {Qt::Key_Space, Qt::MetaModifier, None, None},
        {Qt::Key_F4, Qt::AltModifier, None, None},
        {Qt::Key_F11, Qt::NoModifier, None, None},
        {Qt::Key_Tab, Qt::NoModifier, None, None},
        {Qt::Key_A, Qt::NoModifier, None, None},
        {Qt::Key_Comma, Qt::NoModifier, None, None},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(presenterAction(c.key, c.modifiers, false), c.lit) << std::hex << c.key;
        EXPECT_EQ(presenterAction(c.key, c.modifiers, true), c.black) << std::hex << c.key;
    }
}

class PresenterKeysOnScreen : public DrawScreenTest
{
protected:
    void SetUp() override
    {
        folder.setSetting("kongzhimoshi", "1");
        folder.setSetting("tingzhimoshi", "2");
        startProgram();
        screen->show();
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    // Gives the focus to the prize-name list with a click on it, as when it is dragged.
    void focusPrizeList()
    {
        QTest::mouseClick(screen->parts().prizeList->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(20, 10));
        ASSERT_TRUE(screen->parts().prizeList->hasFocus());
    }
    // A press alone: the keys act on the press, not on the release.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyPress(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void release(int key)
    {
        QTest::keyRelease(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    }
    void click(int key)
    {
        press(key);
        release(key);
    }
    bool spinning() const { return screen->parts().spinTimer->isActive(); }
};

TEST_F(PresenterKeysOnScreen, NextKeysStartASpinOnThePressWhicheverElementHasTheFocus)
{
    for (const int key :
         {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space, Qt::Key_Return}) {
        focusPrizeList();
        const int before = screen->resultsCount();
        press(key);
        EXPECT_TRUE(spinning()) << std::hex << key;
        release(key);
        runSpin();
        EXPECT_EQ(screen->resultsCount(), before + 1) << std::hex << key;
        // From the start button too.
        screen->focusTimerTick();
        press(key);
        release(key);
        EXPECT_TRUE(spinning()) << std::hex << key;
        runSpin();
    }
    EXPECT_EQ(screen->resultsCount(), 10);
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(" / ").toStdString();
}

TEST_F(PresenterKeysOnScreen, BackKeysAndOtherKeysStartNothing)
{
    for (const int key : {Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Up, Qt::Key_Escape, Qt::Key_A}) {
        for (const bool onList : {true, false}) {
            if (onList)
                focusPrizeList();
            else
                screen->focusTimerTick();
            click(key);
            EXPECT_FALSE(spinning()) << std::hex << key;
            EXPECT_FALSE(screen->parts().blackOut->black()) << std::hex << key;
        }
    }
    EXPECT_EQ(screen->resultsCount(), 0);
}

TEST_F(PresenterKeysOnScreen, AHeldKeyStartsOnce)
{
    focusPrizeList();
    press(Qt::Key_PageDown);
    runSpin();
    ASSERT_EQ(screen->resultsCount(), 1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(screen->parts().prizeList, &repeat);
    EXPECT_FALSE(spinning());
}

TEST_F(PresenterKeysOnScreen, BlackOutCoversEverythingUntilBDotOrEscapeAndHoldsBackTheStart)
{
    struct Round
    {
        int on;
        int off;
    };
    for (const Round round : {Round{Qt::Key_B, Qt::Key_B}, Round{Qt::Key_Period, Qt::Key_Period},
                              Round{Qt::Key_B, Qt::Key_Escape}, Round{Qt::Key_Period, Qt::Key_B}}) {
        focusPrizeList();
        click(round.on);
        ASSERT_TRUE(screen->parts().blackOut->black());
        EXPECT_TRUE(screen->parts().blackOut->isVisible());
        EXPECT_EQ(screen->parts().blackOut->geometry(), screen->rect());
        EXPECT_EQ(screen->childAt(screen->rect().center()), screen->parts().blackOut);
        EXPECT_EQ(screen->childAt(screen->parts().prizeList->geometry().center()),
                  screen->parts().blackOut);
        for (const int key : {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space,
                              Qt::Key_Return, Qt::Key_Enter}) {
            click(key);
            screen->focusTimerTick(); // from the start button as well
            click(key);
            EXPECT_FALSE(spinning()) << std::hex << key;
        }
        click(round.off);
        EXPECT_FALSE(screen->parts().blackOut->black());
        EXPECT_FALSE(screen->parts().blackOut->isVisible());
    }
    EXPECT_EQ(screen->resultsCount(), 0);
}

TEST_F(PresenterKeysOnScreen, ASpinGoesOnBeneathTheBlackAndIsAnnounced)
{
    folder.setSetting("zhongjiang_texiao", "1");
    focusPrizeList();
    press(Qt::Key_PageDown);
    ASSERT_TRUE(spinning());
    click(Qt::Key_B);
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_TRUE(screen->parts().celebration->celebrating());
    // The celebration comes up beneath the cover.
    EXPECT_TRUE(screen->parts().blackOut->black());
    EXPECT_EQ(screen->childAt(screen->rect().center()), screen->parts().blackOut);
    EXPECT_EQ(screen->children().last(), screen->parts().blackOut);
    // The screen resized keeps it covered whole.
    screen->resize(screen->width() - 40, screen->height() - 30);
    EXPECT_EQ(screen->parts().blackOut->geometry(), screen->rect());
    click(Qt::Key_Escape);
    EXPECT_FALSE(screen->parts().blackOut->black());
}

TEST_F(PresenterKeysOnScreen, KeysDoNothingWhileADialogOrTheMenuIsOpen)
{
    QDialog dialog(screen.get());
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    for (const int key : {Qt::Key_PageDown, Qt::Key_Space, Qt::Key_B, Qt::Key_Period}) {
        // Sent to the draw screen's own elements: a key that got past the dialog.
        QTest::keyClick(screen->parts().prizeList, static_cast<Qt::Key>(key));
        EXPECT_FALSE(spinning()) << std::hex << key;
        EXPECT_FALSE(screen->parts().blackOut->black()) << std::hex << key;
    }
    dialog.close();

    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->parts().contextMenu->popup(screen->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen->parts().contextMenu));
    ASSERT_EQ(QApplication::activePopupWidget(), screen->parts().contextMenu);
    for (const int key : {Qt::Key_PageDown, Qt::Key_B})
        QTest::keyClick(screen->parts().prizeList, static_cast<Qt::Key>(key));
    EXPECT_FALSE(spinning());
    EXPECT_FALSE(screen->parts().blackOut->black());
    screen->parts().contextMenu->close();

    // Back on the screen alone, the keys work again.
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    focusPrizeList();
    click(Qt::Key_B);
    EXPECT_TRUE(screen->parts().blackOut->black());
}
