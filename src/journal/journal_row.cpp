#include "journal/journal_row.h"

#include <QCryptographicHash>
#include <QRegularExpression>

const QString JournalFileName = QStringLiteral("摇奖记录.csv");

const QByteArray JournalHeader =
    "\xEF\xBB\xBF" +
    QStringLiteral("时间,运行,事件,模式,种子,抽取值,停止角度,扇区,奖品,说明,校验\r\n").toUtf8();

namespace JournalEvent {
const QString Start = QStringLiteral("启动");
const QString Continue = QStringLiteral("继续");
const QString Win = QStringLiteral("中奖");
const QString Void = QStringLiteral("作废");
const QString Save = QStringLiteral("保存");
const QString NewPool = QStringLiteral("生成奖池");
const QString Exit = QStringLiteral("退出");
} // namespace JournalEvent

QString voidNote(qsizetype number)
{
    return QStringLiteral("第%1次中奖").arg(number);
}

std::optional<qsizetype> voidedNumber(const QString& note)
{
    static const QRegularExpression pattern(QStringLiteral("^第([1-9][0-9]{0,8})次中奖$"));
    const QRegularExpressionMatch match = pattern.match(note);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

QString journalTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + (offset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QChar('0'))
               .arg(minutes % 60, 2, 10, QChar('0'));
}

QDateTime parseJournalTime(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') &&
        !bytes.contains('\n'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

QByteArray checkedPart(const JournalRow& row)
{
    QByteArray out;
    for (const QString* field : {&row.time, &row.run, &row.event, &row.mode, &row.seed, &row.drawn,
                                 &row.angle, &row.slot, &row.prize, &row.note})
        out += csvField(*field) + ',';
    return out;
}

QByteArray chainCheck(const QByteArray& previousCheck, const QByteArray& checkedPart)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(previousCheck);
    hash.addData(checkedPart);
    return hash.result().toHex();
}

QByteArray formatRow(JournalRow& row, const QByteArray& previousCheck)
{
    const QByteArray part = checkedPart(row);
    row.check = chainCheck(previousCheck, part);
    return part + row.check + "\r\n";
}

std::optional<QStringList> parseCsvRecord(const QByteArray& line)
{
    QStringList fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                field += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.append(QString::fromUtf8(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    fields.append(QString::fromUtf8(field));
    return fields;
}

std::optional<JournalRow> parseRow(const QByteArray& line, QByteArray* checkedBytes)
{
    const auto fields = parseCsvRecord(line);
    if (!fields || fields->size() != JournalColumnCount)
        return std::nullopt;
    const QString& check = fields->at(10);
    if (check.size() != 64)
        return std::nullopt;
    for (const QChar c : check)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    JournalRow row;
    QString* targets[] = {&row.time,  &row.run,   &row.event, &row.mode,  &row.seed,
                          &row.drawn, &row.angle, &row.slot,  &row.prize, &row.note};
    for (int i = 0; i < 10; ++i)
        *targets[i] = fields->at(i);
    row.check = check.toLatin1();
    if (checkedBytes)
        *checkedBytes = line.left(line.size() - 64);
    return row;
}
