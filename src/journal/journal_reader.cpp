#include "journal/journal_reader.h"

#include <QFile>
#include <QSet>
#include <algorithm>

namespace {

// Walks the rows from the last one backwards and keeps what belongs to the last run's chain.
class TailCollector
{
public:
    explicit TailCollector(JournalTail* tail) : tail_(tail) {}

    // Takes one whole row; answers true once nothing further back is needed.
    bool take(const JournalRow& row)
    {
        if (tail_->lastCheck.isEmpty()) {
            tail_->lastCheck = row.check;
            tail_->lastRun = row.run;
            run_ = row.run;
            visited_.insert(run_);
        }
        if (row.run != run_)
            return false; // rows of another program run lie between
        if (row.event == JournalEvent::Win || row.event == JournalEvent::Void) {
            if (!decided_)
                tail_->unsaved = true;
            decided_ = true;
            if (row.event == JournalEvent::Win)
                wins_.append(row);
            else if (const auto number = voidedNumber(row.note))
                voided_.insert(*number);
        } else if (row.event == JournalEvent::NewPool) {
            return true; // what was drawn before it came from another pool
        } else if (row.event == JournalEvent::Save) {
            if (!decided_)
                return true; // saved after the last announcement: nothing to bring back
            decided_ = true;
        } else if (row.event == JournalEvent::Continue) {
            continued_ = row.note;
        } else if (row.event == JournalEvent::Start) {
            const QByteArray hash = poolHashOfStartNote(row.note);
            while (hashes_.size() < wins_.size())
                hashes_.append(hash);
            if (continued_.isEmpty() || visited_.contains(continued_))
                return true;
            run_ = continued_;
            visited_.insert(run_);
            continued_.clear();
        }
        return false;
    }

    void finish()
    {
        while (hashes_.size() < wins_.size())
            hashes_.append(QByteArray());
        if (!tail_->unsaved)
            return;
        std::reverse(wins_.begin(), wins_.end());
        std::reverse(hashes_.begin(), hashes_.end());
        // A void names its announcement by its number in the results list, which the
        // continued runs carried on from the first one.
        for (qsizetype i = 0; i < wins_.size(); ++i)
            tail_->winVoided.append(voided_.contains(i + 1));
        tail_->wins = std::move(wins_);
        tail_->winPoolHashes = std::move(hashes_);
    }

private:
    JournalTail* tail_;
    QString run_;
    QString continued_;
    QSet<QString> visited_;
    bool decided_ = false;
    QList<JournalRow> wins_;
    QList<QByteArray> hashes_;
    QSet<qsizetype> voided_;
};

// Feeds the whole lines of segment, last first; answers true once the collector is done.
bool takeLines(const QByteArray& segment, TailCollector* collector)
{
    qsizetype end = segment.size();
    while (end > 0) {
        const qsizetype lineEnd = end - 2; // segment holds whole lines, each ending CR LF
        const qsizetype previous = segment.lastIndexOf("\r\n", lineEnd - 1);
        const qsizetype start = previous < 0 ? 0 : previous + 2;
        if (const auto row = parseRow(segment.mid(start, lineEnd - start)))
            if (collector->take(*row))
                return true;
        end = start;
    }
    return false;
}

} // namespace

JournalTail readJournalTail(const QString& path, qint64 chunkSize)
{
    JournalTail tail;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tail;
    tail.size = file.size();
    tail.head = file.read(JournalHeader.size());
    tail.headerWhole = tail.head == JournalHeader;
    if (tail.size == 0)
        return tail;

    TailCollector collector(&tail);
    QByteArray pending; // the end of a line whose start lies further back, with its CR LF
    qint64 pos = tail.size;
    bool last = true;
    while (pos > 0) {
        const qint64 from = std::max<qint64>(0, pos - chunkSize);
        if (!file.seek(from))
            break;
        QByteArray data = file.read(pos - from);
        if (data.size() != pos - from)
            break;
        data += pending;
        pos = from;
        if (last) {
            // Bytes after the last line end are a row the power cut short.
            const qsizetype lastEnd = data.lastIndexOf("\r\n");
            const qsizetype keep = lastEnd < 0 ? 0 : lastEnd + 2;
            tail.endsTorn = tail.endsTorn || keep < data.size();
            if (lastEnd < 0 && pos > 0) {
                pending.clear(); // a torn line longer than a chunk: none of it is needed
                continue;
            }
            data.truncate(keep);
            last = false;
        }
        qsizetype first = 0;
        if (pos > 0) {
            const qsizetype firstEnd = data.indexOf("\r\n");
            if (firstEnd < 0) {
                pending = data;
                continue;
            }
            first = firstEnd + 2;
            pending = data.left(first);
        } else {
            pending.clear();
        }
        if (takeLines(data.mid(first), &collector))
            break;
    }
    collector.finish();
    return tail;
}

QByteArray poolHashOfStartNote(const QString& note)
{
    const QString key = QStringLiteral("sha256=");
    const qsizetype at = note.indexOf(key);
    if (at < 0)
        return QByteArray();
    const qsizetype from = at + key.size();
    const qsizetype space = note.indexOf(' ', from);
    return note.mid(from, space < 0 ? -1 : space - from).toLatin1();
}

int firstModifiedLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = JournalHeader.left(JournalHeader.size() - 2);
    QByteArray previousCheck;
    int lineNumber = 0;
    int tornLine = 0; // a line cut short, forgiven only if a start row follows it
    // One buffer for every line: a line of its own allocation each would map and unmap a
    // megabyte per row, which made the check of a long journal take seconds.
    constexpr qint64 LongestLine = 1 << 20;
    QByteArray buffer(LongestLine + 1, Qt::Uninitialized);
    while (!file.atEnd()) {
        const qint64 read = file.readLine(buffer.data(), buffer.size());
        if (read < 0)
            break;
        QByteArray line(buffer.constData(), read);
        ++lineNumber;
        const bool whole = line.endsWith("\r\n");
        if (whole)
            line.chop(2);
        else if (line.endsWith('\n'))
            return lineNumber; // a bare LF is no line end the journal writes
        if (lineNumber == 1) {
            if (line != header && !(file.atEnd() && header.startsWith(line)))
                return 1;
            continue;
        }
        QByteArray checked;
        const auto row = parseRow(line, &checked);
        if (!row) {
            if (tornLine)
                return tornLine;
            tornLine = lineNumber;
            continue;
        }
        if (tornLine && row->event != JournalEvent::Start)
            return tornLine;
        tornLine = 0;
        if (chainCheck(previousCheck, checked) != row->check)
            return lineNumber;
        previousCheck = row->check;
    }
    return 0;
}
