#pragma once

#include "journal/journal_row.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What start-up needs from the end of the journal, found by reading it backwards from its
// end only as far as the last run and the runs it continues reach.
struct JournalTail
{
    qint64 size = 0;          // bytes in the file; 0 when there is none
    QByteArray head;          // the first bytes, as many as the header has
    bool headerWhole = false; // the file starts with the whole header
    bool endsTorn = false;    // the last line has no line end: the power went mid-write
    QByteArray lastCheck;     // the check of the last whole row; empty when there is none
    QString lastRun;          // the run of the last whole row
    // The announcements of the last run and of the runs it continues, in order, and for
    // each the db.dat SHA-256 that its run's start recorded (empty when none was found) and
    // whether a 作废 row took it back. Announcements before a new pool (生成奖池) belong to
    // another evening and are not among them.
    QList<JournalRow> wins;
    QList<QByteArray> winPoolHashes;
    QList<bool> winVoided;
    // An announcement or a taking back comes after the last save of those runs.
    bool unsaved = false;
};

// Reads chunkSize bytes at a time from the end. A file that cannot be read reads as none.
JournalTail readJournalTail(const QString& path, qint64 chunkSize = qint64(64) * 1024);

// The db.dat hash a start row's note records ("db.dat sha256=<hex> entries=<n>").
QByteArray poolHashOfStartNote(const QString& note);

// The first line (the header is line 1) that is not as the journal wrote it, or 0 when the
// whole chain verifies. A torn line is no fault when it is the last line or when a start
// row follows it, as it does after the power went mid-write.
int firstModifiedLine(const QString& path);
