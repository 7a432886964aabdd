#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Writes the results as a workbook of one sheet: a header row 序号, 时间, 奖品, then one row
// per result with its number, local time and prize name. The workbook is written to a
// temporary file beside path and renamed over it, so a crash leaves the old file or the new.
// Raises AppError "Cannot create file "<path>". <cause>" when it cannot be written.
void saveResultsWorkbook(const QString& path, const QList<QDateTime>& times,
                         const QStringList& prizes);
