#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Which connected screen the draw screen goes to. Screens are named as the system reports them
// and counted in the order it lists them; the first listed primary screen is given by index.
class ScreenChoice
{
public:
    // The screen after current, round to the first after the last; the first when current is
    // not among them. -1 without screens.
    static int next(int current, int count);

    // The screen to open on at start: none (open as ever) when nothing is remembered, the
    // remembered one when it is connected, else the primary screen.
    static std::optional<int> atStart(const QStringList& names, const QString& remembered,
                                      int primary);

    // Where the draw screen goes when the screen it is on goes away: the primary screen when
    // it remains, else the first that remains. -1 when none remains.
    static int afterRemoval(const QStringList& remaining, int primary);
    // The screen of the operator window, of count screens with the draw screen on stage: the
    // main one when the draw screen is elsewhere, else the first other; none with one screen.
    static std::optional<int> forOperator(int count, int stage, int primary);
};
