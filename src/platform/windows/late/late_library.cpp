#include "late/late_library.h"

#include "late/workbook_function.h"

#include <cstring>

// Here the program is one file: the late library's functions are linked in (the sounds are
// played by the system's own media control interface, which needs no library of the program's).
const char* const LateLibraryName = "prize-wheel.exe";

QFunctionPointer lateFunction(const char* name, QString* error)
{
    static const struct
    {
        const char* name;
        QFunctionPointer function;
    } linked[] = {
        {"pwWriteResultsWorkbook", reinterpret_cast<QFunctionPointer>(&pwWriteResultsWorkbook)},
    };
    for (const auto& entry : linked)
        if (std::strcmp(entry.name, name) == 0)
            return entry.function;
    if (error)
        *error =
            QStringLiteral("%1 has no %2").arg(QLatin1String(LateLibraryName), QLatin1String(name));
    return nullptr;
}
