#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// The journal's file name in the program folder.
extern const QString JournalFileName;

// The first bytes of a new journal: byte-order mark, header row, CR LF.
extern const QByteArray JournalHeader;

// The events a row records.
namespace JournalEvent {
extern const QString Start;    // 启动: the draw screen is restored
extern const QString Continue; // 继续: this run continues an earlier one
extern const QString Win;      // 中奖: an announcement
extern const QString Void;     // 作废: an announcement taken back
extern const QString Save;     // 保存: the results were saved
extern const QString NewPool;  // 生成奖池: the settings dialog saved a new pool
extern const QString Exit;     // 退出: the program ended by the close question or the dialog
} // namespace JournalEvent

// One row, column by column, in file order. check is lowercase hex SHA-256 of the previous
// row's check followed by this row's bytes up to and including the comma before it.
struct JournalRow
{
    QString time;
    QString run;
    QString event;
    QString mode;
    QString seed;
    QString drawn;
    QString angle;
    QString slot;
    QString prize;
    QString note;
    QByteArray check;
};

inline constexpr int JournalColumnCount = 11;

// The note of a 作废 row: which announcement it takes back, by its number in the results list
// ("第3次中奖"); and that number read back, nothing when the note names none.
QString voidNote(qsizetype number);
std::optional<qsizetype> voidedNumber(const QString& note);

// Local time with milliseconds and UTC offset: 2027-01-28T20:15:03.217+08:00.
QString journalTime(const QDateTime& time);
QDateTime parseJournalTime(const QString& text);

// A field as it is written: quoted when it holds a comma, a quote or a line break.
QByteArray csvField(const QString& text);

// The bytes that the check covers: every field but the check, each followed by a comma.
QByteArray checkedPart(const JournalRow& row);

// The check of a row whose checked part is given, chained to the previous row's check
// (empty for the first row after the header).
QByteArray chainCheck(const QByteArray& previousCheck, const QByteArray& checkedPart);

// Fills row.check from previousCheck and returns the whole line with its CR LF.
QByteArray formatRow(JournalRow& row, const QByteArray& previousCheck);

// The fields of one record without its line end; nothing when a quote is left open.
std::optional<QStringList> parseCsvRecord(const QByteArray& line);

// A whole row read back from a line without its line end: eleven fields and a check of 64
// hex digits. Nothing for a torn or foreign line. checkedBytes receives what the check covers.
std::optional<JournalRow> parseRow(const QByteArray& line, QByteArray* checkedBytes = nullptr);
