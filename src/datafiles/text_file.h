#pragma once

#include "datafiles/system_files.h" // causeText

#include <QByteArray>
#include <QList>
#include <QString>

// Splits text into lines: CR LF, a lone CR and a lone LF each end a line; the second byte of
// a GBK character is never taken for a line end, and a lead byte right before CR or LF is
// taken alone; a break after the last line adds no entry.
QList<QByteArray> splitLines(const QByteArray& text);

// The text with every line break made CR LF, as a whole-file load gives it.
QByteArray normaliseLineBreaks(const QByteArray& text);

// Lines joined with CR LF after each one.
QByteArray joinLines(const QList<QByteArray>& lines);

// The file's bytes, UTF-8 made GBK (asGbkText), with line breaks made CR LF. Raises AppError
// "Cannot open file "<path>". <cause>" when it cannot be read.
QByteArray loadTextFile(const QString& path);

// Replaces the file with text, unchanged, atomically. Raises AppError
// "Cannot create file "<path>". <cause>" when it cannot be written.
void saveTextFile(const QString& path, const QByteArray& text);

// "Cannot open file "<path>". <cause>": how any file that cannot be read is reported.
QString cannotOpenMessage(const QString& path, const QString& cause);
// "Cannot create file "<path>". <cause>": how any file that cannot be written is reported.
QString cannotCreateMessage(const QString& path, const QString& cause);
// "Cannot write file "<path>". <cause>": a file kept open for appending could not be written.
QString cannotWriteMessage(const QString& path, const QString& cause);
// "Unable to write to <path>": the settings file could not be written.
QString unableToWriteMessage(const QString& path);
