#include "datafiles/profile_file.h"

#include "datafiles/app_error.h"
#include "datafiles/atomic_file.h"
#include "datafiles/gbk.h"
#include "datafiles/text_file.h"

#include <QFile>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, if the line is one.
bool sectionName(QByteArrayView line, QByteArray* name)
{
    const QByteArray t = trimBlanks(line.toByteArray());
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    *name = trimBlanks(t.mid(1, close < 0 ? -1 : close - 1));
    return true;
}

// Where the section and the key lie in the file: byte offsets, -1 when absent.
struct Lookup
{
    qsizetype sectionEnd = -1; // just after the last non-blank line of the section
    bool sectionEndsWithBreak = true;
    qsizetype keyBegin = -1; // the key's line, without its line break
    qsizetype keyEnd = -1;
    QByteArray value;
};

// One pass over the file. A read can stop at the key; a write needs the section's end too.
Lookup lookUp(const QByteArray& data, const QByteArray& section, const QByteArray& key,
              bool stopAtKey)
{
    Lookup found;
    bool inSection = false;
    bool sectionSeen = false;
    const qsizetype n = data.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype e = i;
        while (e < n && data[e] != '\r' && data[e] != '\n')
            ++e;
        qsizetype next = e;
        if (next < n && data[next] == '\r')
            ++next;
        if (next < n && data[next] == '\n')
            ++next;
        const QByteArrayView line(data.constData() + i, e - i);
        QByteArray name;
        if (line.contains('[') && sectionName(line, &name)) {
            if (sectionSeen)
                break;
            inSection = sameName(name, section);
            if (inSection) {
                sectionSeen = true;
                found.sectionEnd = next;
                found.sectionEndsWithBreak = next > e;
            }
        } else if (inSection) {
            if (!trimBlanks(line.toByteArray()).isEmpty()) {
                found.sectionEnd = next;
                found.sectionEndsWithBreak = next > e;
            }
            const qsizetype eq = line.indexOf('=');
            if (eq >= 0 && found.keyBegin < 0 &&
                sameName(trimBlanks(line.first(eq).toByteArray()), key)) {
                found.keyBegin = i;
                found.keyEnd = e;
                found.value = trimBlanks(line.sliced(eq + 1).toByteArray());
                if (stopAtKey)
                    break;
            }
        }
        i = next;
    }
    return found;
}

} // namespace

QByteArray ProfileFile::readString(const QByteArray& section, const QByteArray& key,
                                   const QByteArray& defaultValue) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue.left(MaxValueLength);
    // The settings are read on every spin tick. A file of the usual few kilobytes is read
    // whole, which costs less than mapping it; a long one is mapped, so that a read stopping
    // at its key costs only the pages up to it.
    constexpr qint64 ReadWholeLimit = qint64(64) * 1024;
    QByteArray data;
    const qint64 size = file.size();
    uchar* mapped = size > ReadWholeLimit ? file.map(0, size) : nullptr;
    if (mapped)
        data = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    else
        data = file.readAll();
    // A file saved as UTF-8 by an editor reads as the GBK it is written in.
    const Lookup found = lookUp(asGbkText(data), section, key, true);
    if (found.keyBegin < 0)
        return defaultValue.left(MaxValueLength);
    return found.value.left(MaxValueLength);
}

void ProfileFile::writeString(const QByteArray& section, const QByteArray& key,
                              const QByteArray& value) const
{
    writeStrings(section, {{key, value}});
}

void ProfileFile::writeStrings(const QByteArray& section, const Entries& entries, Flush flush) const
{
    const auto fail = [this] { throw AppError(unableToWriteMessage(path_)); };

    QByteArray data;
    QFile file(path_);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail();
        data = asGbkText(file.readAll());
        file.close();
    }

    for (const auto& [key, value] : entries) {
        const Lookup found = lookUp(data, section, key, false);
        const QByteArray entry = key + '=' + value;
        if (found.keyBegin >= 0) {
            data.replace(found.keyBegin, found.keyEnd - found.keyBegin, entry);
        } else if (found.sectionEnd >= 0) {
            // A section whose last line ends the file without a line break gets one first.
            data.insert(found.sectionEnd,
                        (found.sectionEndsWithBreak ? "" : "\r\n") + entry + "\r\n");
        } else {
            if (!data.isEmpty() && !data.endsWith('\n') && !data.endsWith('\r'))
                data.append("\r\n");
            data.append('[' + section + "]\r\n" + entry + "\r\n");
        }
    }

    if (writeFileAtomically(path_, data, flush) != 0)
        fail();
}
