#pragma once

#include "draw/prize_draw.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One prize of the evening, as the results list shows it and the exports save it.
struct DrawResult
{
    QString prize; // the name the prize-name list showed for its slot
    int slot = 0;  // 1 to 8; 0 when an earlier run's row did not say
    QDateTime time;
    // What the draw decided: what a taking back records in the journal.
    Announcement draw;
    // Its entry (draw.drawn) left the pool of this run, so taking it back returns it there.
    bool fromPool = false;
    // Taken back: the prize is no longer given, the line stays marked.
    bool voided = false;
};

// The mark a taken-back line carries at its end, on screen and in the saved document.
inline const QString VoidedMark = QStringLiteral("（作废）");

// The result that taking back would void: the latest one still given.
std::optional<qsizetype> latestGiven(const QList<DrawResult>& results);
// How many prizes the results give: those not taken back.
int prizesGiven(const QList<DrawResult>& results);
// A results-list line as shown and saved: the announcement, marked when taken back.
QString resultLine(const DrawResult& result);
