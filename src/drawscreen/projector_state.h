#pragma once

#include <QString>

// What the hall sees of the draw screen, for a view on the operator's own screen.
struct ProjectorState
{
    bool blackedOut = false;
    bool fullScreen = false;
    QString screenName;
};
