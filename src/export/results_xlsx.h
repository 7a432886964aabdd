#pragma once

#include "draw/draw_result.h"

#include <QList>
#include <QString>

// What the column 状态 says of a result taken back; it is empty for the others.
inline const QString VoidedStatus = QStringLiteral("作废");

// Writes the results as a workbook of one sheet: a header row 序号, 时间, 奖品, 状态, then one
// row per result with its number, local time, prize name and status. The workbook is written
// to a temporary file beside path and renamed over it, so a crash leaves the old file or the
// new. Raises AppError "Cannot create file "<path>". <cause>" when it cannot be written.
void saveResultsWorkbook(const QString& path, const QList<DrawResult>& results);
