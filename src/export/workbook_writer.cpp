#include "late/workbook_function.h"

#include <cerrno>
#include <cstring>
#include <xlsxwriter.h>

namespace {

lxw_datetime excelTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
}

// Fills the workbook at file; answers the library's error, LXW_NO_ERROR on success.
lxw_error writeWorkbook(const QByteArray& file, const QList<QDateTime>& times,
                        const QStringList& prizes, const QStringList& statuses)
{
    lxw_workbook* book = workbook_new(file.constData());
    if (!book)
        return LXW_ERROR_CREATING_XLSX_FILE;
    lxw_worksheet* sheet = workbook_add_worksheet(book, "中奖信息");
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* timeFormat = workbook_add_format(book);
    format_set_num_format(timeFormat, "yyyy-mm-dd hh:mm:ss.000");
    worksheet_set_column(sheet, 1, 1, 24, nullptr);
    worksheet_set_column(sheet, 2, 2, 30, nullptr);
    worksheet_write_string(sheet, 0, 0, "序号", header);
    worksheet_write_string(sheet, 0, 1, "时间", header);
    worksheet_write_string(sheet, 0, 2, "奖品", header);
    worksheet_write_string(sheet, 0, 3, "状态", header);
    for (qsizetype i = 0; i < prizes.size(); ++i) {
        const auto row = static_cast<lxw_row_t>(i + 1);
        worksheet_write_number(sheet, row, 0, static_cast<double>(i + 1), nullptr);
        if (i < times.size() && times[i].isValid()) {
            lxw_datetime when = excelTime(times[i]);
            worksheet_write_datetime(sheet, row, 1, &when, timeFormat);
        }
        worksheet_write_string(sheet, row, 2, prizes[i].toUtf8().constData(), nullptr);
        // An empty status is no cell at all, as a reader expects of an empty one.
        if (!statuses.value(i).isEmpty())
            worksheet_write_string(sheet, row, 3, statuses[i].toUtf8().constData(), nullptr);
    }
    return workbook_close(book);
}

} // namespace

extern "C" Q_DECL_EXPORT bool pwWriteResultsWorkbook(const QByteArray& file,
                                                     const QList<QDateTime>& times,
                                                     const QStringList& prizes,
                                                     const QStringList& statuses, QString* cause)
{
    errno = 0;
    const lxw_error error = writeWorkbook(file, times, prizes, statuses);
    if (error == LXW_NO_ERROR)
        return true;
    *cause = errno ? QString::fromLocal8Bit(std::strerror(errno))
                   : QString::fromUtf8(lxw_strerror(error));
    return false;
}
