// Holding the display on through the thread's execution state: set for the display and the
// system while the holder lives, and back to the system's own settings after it.
#include "display/display_awake.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// The state now, read by setting it again: the call answers the state it replaces.
EXECUTION_STATE currentState()
{
    const EXECUTION_STATE state = SetThreadExecutionState(ES_CONTINUOUS);
    SetThreadExecutionState(state);
    return state;
}

} // namespace

TEST(DisplayAwake, HoldsTheDisplayAndTheSystemWhileItLivesAndLetsGoAfter)
{
    const EXECUTION_STATE held = ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED;
    {
        const DisplayAwake awake(QStringLiteral("Prize Wheel"), QStringLiteral("test"));
        EXPECT_TRUE(awake.holding());
        EXPECT_EQ(currentState() & held, held);
    }
    EXPECT_EQ(currentState() & held, ES_CONTINUOUS);
}
