#include "late/late_library.h"

#include <QCoreApplication>
#include <QFile>
#include <dlfcn.h>
#include <mutex>

const char* const LateLibraryName = "libprize-wheel-late.so";

namespace {

struct Loaded
{
    void* handle = nullptr;
    QString error;
};

Loaded load()
{
    Loaded loaded;
    // Beside the program first, then where the program's run path says (its own folder, and
    // the build's program folder for a program copied elsewhere by the tests).
    const QString beside = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() +
                                                              QLatin1Char('/') + LateLibraryName
                                                        : QString();
    if (!beside.isEmpty() && QFile::exists(beside))
        loaded.handle = dlopen(QFile::encodeName(beside).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!loaded.handle)
        loaded.handle = dlopen(LateLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!loaded.handle)
        loaded.error = QString::fromLocal8Bit(dlerror());
    return loaded;
}

} // namespace

QFunctionPointer lateFunction(const char* name, QString* error)
{
    // Linked in (as the tests link it), its functions are there from the start.
    if (void* linked = dlsym(RTLD_DEFAULT, name))
        return reinterpret_cast<QFunctionPointer>(linked);
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = load(); });
    void* function = loaded.handle ? dlsym(loaded.handle, name) : nullptr;
    if (!function && error)
        *error = loaded.handle ? QStringLiteral("%1 has no %2")
                                     .arg(QLatin1String(LateLibraryName), QLatin1String(name))
                               : loaded.error;
    return reinterpret_cast<QFunctionPointer>(function);
}
