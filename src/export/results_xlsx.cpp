#include "export/results_xlsx.h"

#include "datafiles/app_error.h"
#include "datafiles/atomic_file.h"
#include "datafiles/text_file.h"
#include "late/workbook_function.h"
#include "late/late_library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {

[[noreturn]] void fail(const QString& path, const QString& cause)
{
    throw AppError(cannotCreateMessage(path, cause));
}

} // namespace

void saveResultsWorkbook(const QString& path, const QList<DrawResult>& results)
{
    QList<QDateTime> times;
    QStringList prizes;
    QStringList statuses;
    for (const DrawResult& result : results) {
        times.append(result.time);
        prizes.append(result.prize);
        statuses.append(result.voided ? VoidedStatus : QString());
    }
    // The library writes only to a file it opens by name (in the system's code page on
    // Windows), so the workbook is made in a private temporary file and then replaces the
    // target as every other data file does.
    QTemporaryFile made(QDir::tempPath() + QStringLiteral("/prize-wheel-XXXXXX.xlsx"));
    if (!made.open())
        fail(path, made.errorString());
    made.close();
    QString cause;
    auto* write = lateFunctionOf<WriteResultsWorkbook>("pwWriteResultsWorkbook", &cause);
    if (!write || !write(QFile::encodeName(QDir::toNativeSeparators(made.fileName())), times,
                         prizes, statuses, &cause))
        fail(path, cause);
    if (!made.open())
        fail(path, made.errorString());
    const QByteArray workbook = made.readAll();
    if (const int err = writeFileAtomically(path, workbook))
        fail(path, causeText(err));
}
