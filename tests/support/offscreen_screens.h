#pragma once

// The offscreen platform's screens laid out anew at run time through its native interface, as
// plugging and unplugging them does, for the tests of the windows on several screens.

#include <QJsonObject>
#include <QList>
#include <QRect>
#include <QStringList>

struct TestScreen
{
    const char* name;
    QRect geometry;
};

inline const TestScreen Laptop{"eDP-1", {0, 0, 1366, 768}};
inline const TestScreen Projector{"HDMI-1", {1366, 0, 1920, 1080}};
inline const TestScreen Monitor{"DP-2", {3286, 0, 1280, 1024}};

// Connects a screen after those connected, as plugging it in does.
void plugIn(const TestScreen& plugged);
void unplug(const TestScreen& plugged);
// Exactly these screens, listed in this order.
void layOutScreens(const QList<TestScreen>& layout);
QStringList connectedNames();

// Puts the screens back as they were when it was made.
class OffscreenLayoutKept
{
public:
    OffscreenLayoutKept();
    ~OffscreenLayoutKept();
    OffscreenLayoutKept(const OffscreenLayoutKept&) = delete;
    OffscreenLayoutKept& operator=(const OffscreenLayoutKept&) = delete;

private:
    QJsonObject original_;
};
