#include "export/results_xlsx.h"

#include "datafiles/app_error.h"
#include "datafiles/atomic_file.h"
#include "datafiles/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <xlsxwriter.h>

namespace {

[[noreturn]] void fail(const QString& path, const QString& cause)
{
    throw AppError(cannotCreateMessage(path, cause));
}

lxw_datetime excelTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
}

// Fills the workbook at file; answers the library's error, LXW_NO_ERROR on success.
lxw_error writeWorkbook(const QByteArray& file, const QList<QDateTime>& times,
                        const QStringList& prizes)
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
    for (qsizetype i = 0; i < prizes.size(); ++i) {
        const auto row = static_cast<lxw_row_t>(i + 1);
        worksheet_write_number(sheet, row, 0, static_cast<double>(i + 1), nullptr);
        if (i < times.size() && times[i].isValid()) {
            lxw_datetime when = excelTime(times[i]);
            worksheet_write_datetime(sheet, row, 1, &when, timeFormat);
        }
        worksheet_write_string(sheet, row, 2, prizes[i].toUtf8().constData(), nullptr);
    }
    return workbook_close(book);
}

} // namespace

void saveResultsWorkbook(const QString& path, const QList<QDateTime>& times,
                         const QStringList& prizes)
{
    // The library writes only to a file it opens by name (in the system's code page on
    // Windows), so the workbook is made in a private temporary file and then replaces the
    // target as every other data file does.
    QTemporaryFile made(QDir::tempPath() + QStringLiteral("/prize-wheel-XXXXXX.xlsx"));
    if (!made.open())
        fail(path, made.errorString());
    made.close();
    errno = 0;
    const lxw_error error =
        writeWorkbook(QFile::encodeName(QDir::toNativeSeparators(made.fileName())), times, prizes);
    if (error != LXW_NO_ERROR)
        fail(path, errno ? QString::fromLocal8Bit(std::strerror(errno))
                         : QString::fromUtf8(lxw_strerror(error)));
    if (!made.open())
        fail(path, made.errorString());
    const QByteArray workbook = made.readAll();
    if (const int err = writeFileAtomically(path, workbook))
        fail(path, causeText(err));
}
