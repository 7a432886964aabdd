// Line splitting and line-break normalisation agree on arbitrary bytes: the lines joined with
// CR LF are the normalised text with a final CR LF when it lacks one, normalising first splits
// into the same lines, normalising is idempotent, and a loaded file is the normalised text.

#include "datafiles/gbk.h"
#include "datafiles/text_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& text)
{
    std::fprintf(stderr, "text loader: %s for %s\n", what, text.toHex().constData());
    std::abort();
}

QString workFile()
{
    static const QString path = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        const QString dir = base + QStringLiteral("/pw-fuzz-text-%1").arg(getpid());
        QDir().mkpath(dir);
        return dir + QStringLiteral("/奖品.txt");
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> lines = splitLines(text);
    const QByteArray normalised = normaliseLineBreaks(text);

    QByteArray expectedJoin = normalised;
    if (!expectedJoin.isEmpty() && !expectedJoin.endsWith("\r\n"))
        expectedJoin.append("\r\n");
    if (joinLines(lines) != expectedJoin)
        fail("joined lines differ from the normalised text", text);
    if (splitLines(normalised) != lines)
        fail("normalising changed the lines", text);
    if (normaliseLineBreaks(normalised) != normalised)
        fail("normalising twice changed the text", text);
    for (const QByteArray& line : lines)
        if (!line.isEmpty() && splitLines(line) != QList<QByteArray>{line})
            fail("a line holds a line break", text);

    // The file round trip costs a write; every sixteenth input is enough to keep it covered.
    if (size % 16 == 0) {
        const QString path = workFile();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(text);
        file.close();
        // A file saved as UTF-8 by another editor loads as its GBK text.
        if (loadTextFile(path) != normaliseLineBreaks(asGbkText(text)))
            fail("the loaded file differs from the normalised text", text);
    }
    return 0;
}
