#pragma once

#include "draw/random_source.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <array>
#include <cstdint>

// The prize pool file data/db.dat: the stop angles of the quota draw, made when the settings
// are saved and read at start-up.

// The stop angles of the prize pool file, one per line. Blank lines are no entries; a line
// that is not a whole number is refused with the conversion message and left out, so that a
// damaged line can neither stall a spin nor make a pool with entries count as used up.
struct PoolText
{
    QList<int32_t> entries;
    QStringList refusals;
};

PoolText parsePoolText(const QByteArray& text);

// How many of each prize the draw may give, prize slot 1 first.
using PrizeQuantities = std::array<int32_t, 8>;

// Stop angles lie this many whole turns past the top: 46 to 78.
inline constexpr int32_t PoolFirstTurns = 46;
inline constexpr int32_t PoolTurnsEnd = 79; // excluded

// The prize pool for the given quantities: for slots 1 to 8 in order, n stop angles each
// (none for n <= 0). Every entry reseeds random, then draws its turns and then its offset
// inside the slot's sector, the sector's last degree excluded so that the entry never sits on
// a boundary; slot 1 uses only its stretch from 0. An entry is turns * 360 + offset.
QList<int32_t> generatePool(const PrizeQuantities& quantities, RandomSource& random);

// The bytes of data/db.dat for a pool: each entry in decimal followed by CR LF; an empty pool
// gives an empty file.
QByteArray poolFileBytes(const QList<int32_t>& pool);

// The bytes of a new data/db.dat for the quantities, each entry drawn from the clock.
QByteArray makePoolFile(const PrizeQuantities& quantities, RandomSource random = RandomSource());
