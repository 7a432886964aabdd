#include "draw/excluded_slots.h"

#include "datafiles/integer_conversion.h"

#include <QList>

ExcludedSlots ExcludedSlots::parse(const QByteArray& text)
{
    ExcludedSlots excluded;
    for (const QByteArray& item : text.split(',')) {
        // Blanks around an item are what a hand edit of the file most often adds.
        const std::optional<int32_t> slot = tryParseInteger(item.trimmed());
        if (slot && *slot >= 1 && *slot <= 8)
            excluded.set(*slot, true);
    }
    return excluded;
}

QByteArray ExcludedSlots::text() const
{
    QByteArray out;
    for (int slot = 1; slot <= 8; ++slot) {
        if (!contains(slot))
            continue;
        if (!out.isEmpty())
            out += ',';
        out += QByteArray::number(slot);
    }
    return out;
}

void ExcludedSlots::set(int slot, bool excluded)
{
    if (slot < 1 || slot > 8)
        return;
    const auto bit = static_cast<uint8_t>(1u << (slot - 1));
    mask_ = excluded ? static_cast<uint8_t>(mask_ | bit) : static_cast<uint8_t>(mask_ & ~bit);
}
