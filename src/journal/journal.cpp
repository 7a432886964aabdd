#include "journal/journal.h"

#include "datafiles/app_paths.h"
#include "datafiles/text_file.h"
#include "draw/draw_session.h"
#include "draw/prize_draw.h"
#include "draw/spin_rules.h"
#include "journal/journal_writer.h"

#include <QCryptographicHash>
#include <QMetaObject>

QByteArray sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString modifiedLineMessage(int line)
{
    return QStringLiteral("%1 第%2行被修改过，中奖记录可能不可信。").arg(JournalFileName).arg(line);
}

QList<EarlierWin> earlierWins(const JournalTail& tail)
{
    QList<EarlierWin> wins;
    for (qsizetype i = 0; i < tail.wins.size(); ++i) {
        const JournalRow& row = tail.wins[i];
        EarlierWin win;
        win.result.prize = row.prize;
        win.result.slot = row.slot.toInt();
        win.result.time = parseJournalTime(row.time);
        win.result.draw.seed = row.seed.toUInt();
        win.result.draw.angle = row.angle.toLongLong();
        win.result.voided = tail.winVoided.value(i);
        win.mode = row.mode.toLatin1();
        win.drawn = row.drawn.toLatin1();
        win.poolHash = tail.winPoolHashes.value(i);
        wins.append(win);
    }
    return wins;
}

Journal::Journal(const QString& path, const QDateTime& runStart, QObject* parent)
    : QObject(parent), path_(path), run_(journalTime(runStart)), tail_(readJournalTail(path))
{
    // A new file starts with the header; one whose header was cut short gets the rest of it;
    // a row cut short is ended, so the next row starts on a line of its own.
    QByteArray lead;
    if (!tail_.headerWhole && JournalHeader.startsWith(tail_.head))
        lead = JournalHeader.mid(tail_.head.size());
    else if (tail_.endsTorn)
        lead = "\r\n";
    writer_ = std::make_unique<JournalWriter>(path, lead, tail_.lastCheck, [this](int err) {
        if (failureReported_.exchange(true))
            return;
        const QString message = cannotWriteMessage(path_, causeText(err));
        QMetaObject::invokeMethod(
            this, [this, message] { emit writeFailed(message); }, Qt::QueuedConnection);
    });
}

Journal::~Journal()
{
    writer_.reset();
    if (verifier_)
        verifier_->wait();
}

QDateTime Journal::record(JournalRow row, const QDateTime& time)
{
    row.time = journalTime(time);
    row.run = run_;
    writer_->append(std::move(row));
    emit rowRecorded(++rowsRecorded_);
    return time;
}

JournalRow startRow(const QByteArray& poolHash, qsizetype entries)
{
    JournalRow row;
    row.event = JournalEvent::Start;
    row.note = QStringLiteral("db.dat sha256=%1 entries=%2")
                   .arg(QString::fromLatin1(poolHash))
                   .arg(entries);
    return row;
}

JournalRow continueRow(const QString& continuedRun)
{
    JournalRow row;
    row.event = JournalEvent::Continue;
    row.note = continuedRun;
    return row;
}

JournalRow winRow(const Announcement& announcement, const QString& prize)
{
    JournalRow row;
    row.event = JournalEvent::Win;
    row.mode = QString::fromLatin1(announcement.mode);
    row.seed = QString::number(announcement.seed);
    row.drawn = QString::number(announcement.drawn);
    row.angle = QString::fromLatin1(shortestDecimalText(announcement.angle));
    row.slot = QString::number(announcement.slot);
    row.prize = prize;
    return row;
}

JournalRow voidRow(const DrawResult& result, qsizetype number)
{
    // The draw as its own row carried it, so the row reads as that draw taken back.
    JournalRow row = winRow(result.draw, result.prize);
    row.event = JournalEvent::Void;
    row.slot = QString::number(result.slot);
    row.note = voidNote(number);
    return row;
}

QDateTime Journal::recordStart(const QByteArray& poolHash, qsizetype entries)
{
    return record(startRow(poolHash, entries));
}

QDateTime Journal::recordContinue(const QString& continuedRun)
{
    return record(continueRow(continuedRun));
}

void Journal::recordWin(const Announcement& announcement, const QString& prize,
                        const QDateTime& time)
{
    record(winRow(announcement, prize), time);
}

QDateTime Journal::recordVoid(const DrawResult& result, qsizetype number)
{
    return record(voidRow(result, number));
}

QDateTime Journal::recordSave(const QStringList& fileNames)
{
    JournalRow row;
    row.event = JournalEvent::Save;
    row.note = fileNames.join(' ');
    return record(std::move(row));
}

QDateTime Journal::recordNewPool(const QByteArray& poolHash,
                                 const std::array<int32_t, 8>& quantities)
{
    QStringList counts;
    for (const int32_t n : quantities)
        counts.append(QString::number(n));
    JournalRow row;
    row.event = JournalEvent::NewPool;
    row.note = QStringLiteral("db.dat sha256=%1 quantities=%2")
                   .arg(QString::fromLatin1(poolHash), counts.join('/'));
    return record(std::move(row));
}

QDateTime Journal::recordExit()
{
    JournalRow row;
    row.event = JournalEvent::Exit;
    return record(std::move(row));
}

void Journal::verifyInBackground()
{
    if (verifier_)
        return;
    verifier_.reset(QThread::create([this] {
        const int line = firstModifiedLine(path_);
        if (line > 0)
            QMetaObject::invokeMethod(
                this, [this, line] { emit modifiedLineFound(line); }, Qt::QueuedConnection);
    }));
    verifier_->start();
}

void Journal::waitUntilWritten()
{
    writer_->waitUntilWritten();
    if (verifier_)
        verifier_->wait();
}
