#include "datafiles/profile_file.h"

#include "datafiles/app_error.h"
#include "datafiles/atomic_file.h"

#include <QFile>
#include <QList>

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

// One line of the file: where its text starts and ends, and where the next line starts.
struct Line
{
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

QList<Line> lineSpans(const QByteArray& data)
{
    QList<Line> lines;
    qsizetype i = 0;
    const qsizetype n = data.size();
    while (i < n) {
        qsizetype e = i;
        while (e < n && data[e] != '\r' && data[e] != '\n')
            ++e;
        qsizetype next = e;
        if (next < n && data[next] == '\r')
            ++next;
        if (next < n && data[next] == '\n')
            ++next;
        lines.append({i, e, next});
        i = next;
    }
    return lines;
}

// The section name of a "[name]" line, if the line is one.
bool sectionName(const QByteArray& line, QByteArray* name)
{
    const QByteArray t = trimBlanks(line);
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    *name = trimBlanks(t.mid(1, close < 0 ? -1 : close - 1));
    return true;
}

// Where a section's lines lie in the file, and the line of the key within it.
struct Lookup
{
    qsizetype header = -1;   // index of the section's header line, -1 when absent
    qsizetype lastEntry = -1; // index of the last non-blank line of the section
    qsizetype keyLine = -1;  // index of the key's line, -1 when absent
    QByteArray value;
};

Lookup lookUp(const QByteArray& data, const QList<Line>& lines, const QByteArray& section,
              const QByteArray& key)
{
    Lookup found;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = data.mid(lines[i].begin, lines[i].end - lines[i].begin);
        QByteArray name;
        if (sectionName(line, &name)) {
            if (found.header >= 0)
                break;
            inSection = sameName(name, section);
            if (inSection)
                found.header = found.lastEntry = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!trimBlanks(line).isEmpty())
            found.lastEntry = i;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || found.keyLine >= 0)
            continue;
        if (sameName(trimBlanks(line.left(eq)), key)) {
            found.keyLine = i;
            found.value = trimBlanks(line.mid(eq + 1));
        }
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
    const QByteArray data = file.readAll();
    const Lookup found = lookUp(data, lineSpans(data), section, key);
    if (found.keyLine < 0)
        return defaultValue.left(MaxValueLength);
    return found.value.left(MaxValueLength);
}

void ProfileFile::writeString(const QByteArray& section, const QByteArray& key,
                              const QByteArray& value) const
{
    const auto fail = [this] { throw AppError(QStringLiteral("Unable to write to %1").arg(path_)); };

    QByteArray data;
    QFile file(path_);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail();
        data = file.readAll();
        file.close();
    }

    const QList<Line> lines = lineSpans(data);
    const Lookup found = lookUp(data, lines, section, key);
    const QByteArray entry = key + '=' + value;
    if (found.keyLine >= 0) {
        const Line& line = lines[found.keyLine];
        data.replace(line.begin, line.end - line.begin, entry);
    } else if (found.header >= 0) {
        const Line& after = lines[found.lastEntry];
        if (after.next == after.end) {
            // The section's last line ends the file without a line break.
            data.insert(after.end, "\r\n" + entry + "\r\n");
        } else {
            data.insert(after.next, entry + "\r\n");
        }
    } else {
        if (!data.isEmpty() && !data.endsWith('\n') && !data.endsWith('\r'))
            data.append("\r\n");
        data.append('[' + section + "]\r\n" + entry + "\r\n");
    }

    if (writeFileAtomically(path_, data) != 0)
        fail();
}
