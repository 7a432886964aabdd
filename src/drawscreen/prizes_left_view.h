#pragma once

#include <QString>
#include <array>
#include <optional>

class QTextDocument;

// The prize-name list with the prizes left beside the names: each count is a fragment of its
// own at the end of the name's line, marked so that reading the name back leaves it out. The
// counts are part of the list's text, so a screen reader reads each with its prize.

// Shows counts (index 0 for line 0, slot 1) beside the first eight lines of list, or none;
// replaces whatever counts it showed before. A name with none left is greyed and struck
// through.
void showPrizesLeft(QTextDocument* list, const std::optional<std::array<int, 8>>& counts);

// The text of line of list without its count, the whole name also when it is shown shortened;
// empty when the line does not exist.
QString prizeNameOfLine(const QTextDocument* list, int line);

// Shortens with "…" each name of list whose line is wider than width pixels in the list's font,
// so that its count, if any, shows whole at the end; a name that fits again is shown whole.
void fitPrizeNames(QTextDocument* list, qreal width);
