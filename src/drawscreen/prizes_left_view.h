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

// The text of line of list without its count; empty when the line does not exist.
QString prizeNameOfLine(const QTextDocument* list, int line);
