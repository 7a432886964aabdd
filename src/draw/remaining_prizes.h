#pragma once

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// The prizes still to be won in quota mode: how many entries of the pool of the run land in
// each prize slot.

// The count as shown beside a prize name: "剩3".
QString prizesLeftText(int count);

// How many entries of pool each slot 1 to 8 still holds (index 0 is slot 1). An entry E lands
// where a quota stop on it is announced: the slot of |E| modulo 360 in the sector table.
std::array<int, 8> remainingPerSlot(const QList<int32_t>& pool);
