#pragma once

#include <QByteArray>
#include <cstdint>

// The prize slots that no-big-prize mode keeps out of the draw, as the settings key
// "buchuxian" stores them: the slot numbers in increasing order joined by "," ("1,2"), empty
// when none is kept out.
class ExcludedSlots
{
public:
    ExcludedSlots() = default;

    // Reads a stored value. Items are separated by ","; an item that is not a slot number
    // 1 to 8 by the integer conversion is ignored, so a missing key (which reads as its own
    // name) keeps nothing out.
    static ExcludedSlots parse(const QByteArray& text);

    QByteArray text() const;

    bool contains(int slot) const { return slot >= 1 && slot <= 8 && (mask_ >> (slot - 1)) & 1u; }
    void set(int slot, bool excluded);
    bool none() const { return mask_ == 0; }
    // With every slot kept out no draw can succeed.
    bool all() const { return mask_ == 0xFFu; }

    bool operator==(const ExcludedSlots& other) const { return mask_ == other.mask_; }

private:
    uint8_t mask_ = 0;
};
