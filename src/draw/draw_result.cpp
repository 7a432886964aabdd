#include "draw/draw_result.h"

#include "draw/draw_texts.h"

#include <algorithm>

std::optional<qsizetype> latestGiven(const QList<DrawResult>& results)
{
    for (qsizetype i = results.size() - 1; i >= 0; --i)
        if (!results[i].voided)
            return i;
    return std::nullopt;
}

int prizesGiven(const QList<DrawResult>& results)
{
    return static_cast<int>(std::count_if(results.begin(), results.end(),
                                          [](const DrawResult& r) { return !r.voided; }));
}

QString resultLine(const DrawResult& result)
{
    return AnnouncementPrefix + result.prize + (result.voided ? VoidedMark : QString());
}
