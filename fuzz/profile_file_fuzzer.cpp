// The settings file reader and writer on arbitrary file contents: after writing one key, that
// key reads back as written, and every other key of the file reads as it did before.

#include "datafiles/gbk.h"
#include "datafiles/profile_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

namespace {

const QByteArray Missing = "\x01missing";

[[noreturn]] void fail(const char* what, const QByteArray& section, const QByteArray& key)
{
    std::fprintf(stderr, "profile file: %s (section %s, key %s)\n", what,
                 section.toHex().constData(), key.toHex().constData());
    std::abort();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(QByteArray text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Names and values the program writes: one line, no blanks around them.
bool writable(const QByteArray& text, const char* forbidden)
{
    if (text.contains('\r') || text.contains('\n') || text != trimBlanks(text))
        return false;
    for (const char* f = forbidden; *f; ++f)
        if (text.contains(*f))
            return false;
    return true;
}

QByteArray asciiLower(QByteArray text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

// The (section, key) pairs the file's lines name, as a reader of the format sees them.
QList<QPair<QByteArray, QByteArray>> namedKeys(const QByteArray& content)
{
    QList<QPair<QByteArray, QByteArray>> keys;
    QByteArray section;
    bool inSection = false;
    QByteArray normalised = content;
    normalised.replace('\r', '\n');
    for (const QByteArray& raw : normalised.split('\n')) {
        const QByteArray line = trimBlanks(raw);
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            section = trimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            inSection = true;
            continue;
        }
        const qsizetype eq = raw.indexOf('=');
        if (!inSection || eq < 0)
            continue;
        const QByteArray key = trimBlanks(raw.left(eq));
        if (!key.isEmpty() && keys.size() < 24)
            keys.append({section, key});
    }
    return keys;
}

QString workFile()
{
    static const QString path = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        const QString dir = base + QStringLiteral("/pw-fuzz-profile-%1").arg(getpid());
        QDir().mkpath(dir);
        return dir + QStringLiteral("/opt.ini");
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    static const QList<QByteArray> commonSections = {"canshu", "CANSHU", "s", "a b"};
    static const QList<QByteArray> commonKeys = {"kongzhimoshi", "KongZhiMoShi", "k", "pic1_left"};
    const QByteArray section = in.ConsumeBool()
                                   ? commonSections[in.ConsumeIntegralInRange<int>(0, 3)]
                                   : QByteArray::fromStdString(in.ConsumeRandomLengthString(12));
    const QByteArray key = in.ConsumeBool()
                               ? commonKeys[in.ConsumeIntegralInRange<int>(0, 3)]
                               : QByteArray::fromStdString(in.ConsumeRandomLengthString(12));
    const QByteArray value = QByteArray::fromStdString(in.ConsumeRandomLengthString(64));
    const QByteArray content = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
    if (section.isEmpty() || key.isEmpty() || !writable(section, "]") || !writable(key, "=") ||
        key.startsWith('[') || !writable(value, ""))
        return 0;
    // A file another editor saved as UTF-8 reads as its GBK text; the unit tests cover that.
    // Here the file is GBK, as the program writes it.
    if (asGbkText(content) != content)
        return 0;

    const QString path = workFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(content);
    }
    const ProfileFile profile(path);
    const auto others = namedKeys(content);
    QList<QByteArray> before;
    for (const auto& [s, k] : others)
        before.append(profile.readString(s, k, Missing));

    profile.writeString(section, key, value);
    {
        // Arbitrary bytes written into a GBK file can make the whole of it look like UTF-8.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        const QByteArray written = file.readAll();
        if (asGbkText(written) != written)
            return 0;
    }

    if (profile.readString(section, key, Missing) != value)
        fail("the written value does not read back", section, key);
    for (qsizetype i = 0; i < others.size(); ++i) {
        const auto& [s, k] = others[i];
        if (asciiLower(s) == asciiLower(section) && asciiLower(k) == asciiLower(key))
            continue;
        if (profile.readString(s, k, Missing) != before[i])
            fail("another key changed", s, k);
    }
    return 0;
}
