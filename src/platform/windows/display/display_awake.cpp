#include "display/display_awake.h"

#include <windows.h>

// The thread's execution state holds the display and the system on for as long as the
// program runs; the system's own settings apply again once it is cleared.
struct DisplayAwake::State
{
    bool holding = false;
};

DisplayAwake::DisplayAwake(const QString& applicationName, const QString& reason)
    : state_(std::make_unique<State>())
{
    Q_UNUSED(applicationName);
    Q_UNUSED(reason);
    state_->holding =
        SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED) != 0;
}

DisplayAwake::~DisplayAwake()
{
    SetThreadExecutionState(ES_CONTINUOUS);
}

bool DisplayAwake::holding() const
{
    return state_->holding;
}
