#pragma once

#include "draw/draw_mode.h"

#include <QByteArray>
#include <cstdint>

// Stop by key: the spin turns without a stop rule until Space or Enter is pressed again; the
// draw is made at that press, counted from the pointer's angle at that moment.

// "tingzhimoshi" "1"; any other value, a missing key included, stops automatically.
inline bool isKeyStopMode(const QByteArray& stopMode)
{
    return parseStopMode(stopMode) == StopMode::ByKey;
}

// A press this soon after the start is the tail of the press that started the spin.
inline constexpr int64_t KeyStopGuardMs = 500;
// A spin nobody stops stops by itself this long after its start, as though the key had been
// pressed.
inline constexpr int64_t KeyStopLimitMs = 30000;
// A quota-mode stop made by the key turns at least this many further times.
inline constexpr int QuotaKeyStopTurns = 46;

inline bool keyPressStops(int64_t elapsedMs)
{
    return elapsedMs >= KeyStopGuardMs;
}

inline bool keyStopTimedOut(int64_t elapsedMs)
{
    return elapsedMs >= KeyStopLimitMs;
}

// Where a quota-mode spin stopped by the key at origin ends, as a distance D from the upright
// pointer (the pointer ends at -D): the nearest D at least 46 turns beyond |origin| whose
// remainder modulo 360 is that of |entry|, so the entry's own slot comes up.
int64_t quotaKeyStopDistance(int32_t entry, long double origin);
