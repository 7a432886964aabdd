#pragma once

#include "drawscreen/projector_state.h"

#include <QByteArray>
#include <QString>

struct DrawResult;

// What the operator window says of the evening, each in plain words.

// The control mode and the stop mode as the settings file holds them.
QString modeStatus(const QByteArray& controlMode, const QByteArray& stopMode);
// The projector: spinning or stopped, blacked out, full screen, and on which screen.
QString projectorStatus(const ProjectorState& projector, bool spinning);
// The journal: the rows recorded this run, or why they could not be written.
QString journalStatus(int rows, const QString& failure);
// Whether the draw is heard.
QString soundStatus(bool missing);
// One result as the operator reads it: its number, its time and its prize, marked when taken
// back.
QString resultStatus(int number, const DrawResult& result);
