#pragma once

#include "journal/journal_reader.h"
#include "journal/journal_row.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

struct Announcement;
struct DrawResult;
struct EarlierWin;
class JournalWriter;

// Lowercase hex SHA-256 of bytes, as the journal names a pool.
QByteArray sha256Hex(const QByteArray& bytes);

// "摇奖记录.csv 第N行被修改过，中奖记录可能不可信。"
QString modifiedLineMessage(int line);

// The announcements the run that tail ends with, and the runs it continues, left unsaved,
// for the draw to carry on.
QList<EarlierWin> earlierWins(const JournalTail& tail);

// The rows the draw records, without the time and the run that recording adds.
JournalRow startRow(const QByteArray& poolHash, qsizetype entries);
JournalRow continueRow(const QString& continuedRun);
JournalRow winRow(const Announcement& announcement, const QString& prize);
// The announcement at number (1 for the first line of the results list) taken back.
JournalRow voidRow(const DrawResult& result, qsizetype number);

// The draw journal of one program run: reads what the earlier runs left at its end when it
// opens, then records each event as a row, written and flushed on a thread of its own.
// Every record call returns at once with the time its row carries.
class Journal : public QObject
{
    Q_OBJECT

public:
    // Opens the journal at path for the run that started at runStart.
    Journal(const QString& path, const QDateTime& runStart, QObject* parent = nullptr);
    ~Journal() override;

    const QString& path() const { return path_; }
    const QString& run() const { return run_; }
    // The end of the journal as it was found before this run wrote anything.
    const JournalTail& tail() const { return tail_; }

    QDateTime recordStart(const QByteArray& poolHash, qsizetype entries);
    QDateTime recordContinue(const QString& continuedRun);
    // A prize announced at time (the time its result carries).
    void recordWin(const Announcement& announcement, const QString& prize,
                   const QDateTime& time = QDateTime::currentDateTime());
    // The announcement at number (1 for the first line of the results list) taken back.
    QDateTime recordVoid(const DrawResult& result, qsizetype number);
    QDateTime recordSave(const QStringList& fileNames);
    QDateTime recordNewPool(const QByteArray& poolHash, const std::array<int32_t, 8>& quantities);
    QDateTime recordExit();

    // Checks the whole chain on a thread of its own; a row that fails is reported through
    // modifiedLineFound() on this object's thread.
    void verifyInBackground();
    // Waits until every row recorded so far has been tried and the check has ended.
    void waitUntilWritten();
    // The rows this run has recorded.
    int rowsRecorded() const { return rowsRecorded_; }

signals:
    // The first row that could not be written, with the file name and the cause.
    void writeFailed(const QString& message);
    void modifiedLineFound(int line);
    // A row was handed to the writer: count rows this run.
    void rowRecorded(int count);

private:
    QDateTime record(JournalRow row, const QDateTime& time = QDateTime::currentDateTime());

    QString path_;
    QString run_;
    JournalTail tail_;
    std::atomic<bool> failureReported_{false};
    int rowsRecorded_ = 0;
    std::unique_ptr<JournalWriter> writer_;
    // A QThread, not a std::thread: reading the file makes Qt objects on it, and Qt ends the
    // per-thread data of a thread of its own properly under the MinGW runtime too.
    std::unique_ptr<QThread> verifier_;
};
