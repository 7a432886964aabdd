#include "display/screen_choice.h"

int ScreenChoice::next(int current, int count)
{
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count)
        return 0;
    return (current + 1) % count;
}

std::optional<int> ScreenChoice::atStart(const QStringList& names, const QString& remembered,
                                         int primary)
{
    if (remembered.isEmpty() || names.isEmpty())
        return std::nullopt;
    const qsizetype found = names.indexOf(remembered);
    if (found >= 0)
        return static_cast<int>(found);
    return primary >= 0 && primary < names.size() ? primary : 0;
}

int ScreenChoice::afterRemoval(const QStringList& remaining, int primary)
{
    if (remaining.isEmpty())
        return -1;
    return primary >= 0 && primary < remaining.size() ? primary : 0;
}

std::optional<int> ScreenChoice::forOperator(int count, int stage, int primary)
{
    if (count < 2)
        return std::nullopt;
    if (primary >= 0 && primary < count && primary != stage)
        return primary;
    for (int i = 0; i < count; ++i)
        if (i != stage)
            return i;
    return std::nullopt;
}
