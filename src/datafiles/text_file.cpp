#include "datafiles/text_file.h"

#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/atomic_file.h"
#include "datafiles/gbk.h"
#include "datafiles/system_files.h"

#include <cstdio>

QString cannotOpenMessage(const QString& path, const QString& cause)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(displayPath(path), cause);
}

QString cannotCreateMessage(const QString& path, const QString& cause)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(displayPath(path), cause);
}

QString cannotWriteMessage(const QString& path, const QString& cause)
{
    return QStringLiteral("Cannot write file \"%1\". %2").arg(displayPath(path), cause);
}

QString unableToWriteMessage(const QString& path)
{
    return QStringLiteral("Unable to write to %1").arg(path);
}

// Calls onLine(begin, end) for each line of text, by the rules of splitLines.
template <typename OnLine> static void forEachLine(const QByteArray& text, OnLine onLine)
{
    const char* p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(p[i]);
        const bool breakFollows = i + 1 < n && (p[i + 1] == '\r' || p[i + 1] == '\n');
        if (isGbkLeadByte(b) && !breakFollows) {
            i += 2;
        } else if (b == '\r' || b == '\n') {
            onLine(start, i);
            i += (b == '\r' && i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        onLine(start, n);
}

QList<QByteArray> splitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    forEachLine(text, [&](qsizetype b, qsizetype e) { lines.append(text.mid(b, e - b)); });
    return lines;
}

QByteArray normaliseLineBreaks(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 16);
    forEachLine(text, [&](qsizetype b, qsizetype e) {
        out.append(text.constData() + b, e - b);
        if (e < text.size())
            out.append("\r\n");
    });
    return out;
}

QByteArray joinLines(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& line : lines) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

QByteArray loadTextFile(const QString& path)
{
    FILE* f = openFileForReading(path);
    if (!f)
        throw AppError(cannotOpenMessage(path, causeText(lastSystemError())));
    QByteArray data;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, static_cast<qsizetype>(got));
    const int err = std::ferror(f) ? lastSystemError() : 0;
    std::fclose(f);
    if (err)
        throw AppError(cannotOpenMessage(path, causeText(err)));
    return normaliseLineBreaks(asGbkText(data));
}

void saveTextFile(const QString& path, const QByteArray& text)
{
    if (const int err = writeFileAtomically(path, text))
        throw AppError(cannotCreateMessage(path, causeText(err)));
}
