#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <cstdint>

// The stop angles of the prize pool file, one per line. Blank lines are no entries; a line
// that is not a whole number is refused with the conversion message and left out, so that a
// damaged line can neither stall a spin nor make a pool with entries count as used up.
struct PoolText
{
    QList<int32_t> entries;
    QStringList refusals;
};

PoolText parsePoolText(const QByteArray& text);
