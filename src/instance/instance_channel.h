#pragma once

#include <QString>
#include <functional>

// The local socket between starts of the program in one folder: the running program listens
// under a name, a later start asks it over the socket to come to the front.
class InstanceChannel
{
public:
    virtual ~InstanceChannel() = default;

    // Listens under name, taking over a socket of that name that a killed program left. asked
    // runs each time a later start has asked and been answered. False, with why in *error,
    // when it cannot listen.
    virtual bool listen(const QString& name, std::function<void()> asked, QString* error) = 0;

    // Asks the program listening under name to come to the front: true once it has taken the
    // request, waiting at most msecs for the connection and its answer together.
    virtual bool ask(const QString& name, int msecs) = 0;
};

// Made by the late library (late/late_library.h); the caller owns it.
extern "C" InstanceChannel* pwMakeInstanceChannel();
using MakeInstanceChannel = InstanceChannel*();
