#pragma once

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>

class RandomSource;

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
