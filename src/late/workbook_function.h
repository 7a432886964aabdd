#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Writes the results' workbook (see saveResultsWorkbook) to file, a name in the system's
// encoding, with the spreadsheet library; false, with the cause's text in *cause, when the
// library fails. In the late library (late_library.h), written by export/workbook_writer.cpp.
extern "C" bool pwWriteResultsWorkbook(const QByteArray& file, const QList<QDateTime>& times,
                                       const QStringList& prizes, const QStringList& statuses,
                                       QString* cause);
using WriteResultsWorkbook = decltype(pwWriteResultsWorkbook);
