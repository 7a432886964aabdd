#pragma once

#include <QString>
#include <memory>

// Keeps the display on and the computer awake while it lives: no dimming, no screen saver, no
// lock, no sleep. Once it is gone the system's own settings apply again. It never reports
// anything: where the system offers no way to hold the display, the program runs as before.
class DisplayAwake
{
public:
    // The application's name and the reason are what the system may show in its list of
    // programs that keep the display on.
    DisplayAwake(const QString& applicationName, const QString& reason);
    ~DisplayAwake();
    DisplayAwake(const DisplayAwake&) = delete;
    DisplayAwake& operator=(const DisplayAwake&) = delete;

    // Whether the system took the request.
    bool holding() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
