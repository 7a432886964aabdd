#include "datafiles/atomic_file.h"

#include "datafiles/background_flush.h"

#include <QDir>
#include <atomic>
#include <windows.h>

namespace {

class Handle
{
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Returns the error of closing, 0 when it closed.
    DWORD close()
    {
        DWORD err = 0;
        if (valid() && !CloseHandle(h_))
            err = GetLastError();
        h_ = INVALID_HANDLE_VALUE;
        return err;
    }

private:
    HANDLE h_;
};

HANDLE createFile(const std::wstring& name, DWORD disposition)
{
    return CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Writes data, flushes it to the disk unless a worker will, and closes the file; returns 0
// or the error.
DWORD writeAndClose(Handle& file, const QByteArray& data, Flush flush)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const DWORD chunk = DWORD(qMin<qsizetype>(left, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), p, chunk, &written, nullptr))
            return GetLastError();
        p += written;
        left -= written;
    }
    if (flush == Flush::Now && !FlushFileBuffers(file.get()))
        return GetLastError();
    return file.close();
}

// The file flusher, a virus scanner or the desktop's preview may hold the target open for a
// moment; Windows then refuses to replace it. Tries again for up to a second, as such a
// handle is closed within milliseconds; returns the last error.
template <typename Step> DWORD whileTargetBusy(Step step)
{
    DWORD err = step();
    for (int waited = 0;
         (err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION) && waited < 1000;
         waited += 10) {
        Sleep(10);
        err = step();
    }
    return err;
}

DWORD writeInPlace(const std::wstring& target, const QByteArray& data, Flush flush)
{
    HANDLE opened = INVALID_HANDLE_VALUE;
    const DWORD err = whileTargetBusy([&] {
        opened = createFile(target, CREATE_ALWAYS);
        return opened == INVALID_HANDLE_VALUE ? GetLastError() : DWORD(0);
    });
    if (err)
        return err;
    Handle file(opened);
    return writeAndClose(file, data, flush);
}

} // namespace

int writeFileAtomically(const QString& path, const QByteArray& data, Flush flush)
{
    const std::wstring target = QDir::toNativeSeparators(path).toStdWString();
    // A write the worker flushes is handed to it once the file is in place.
    const auto finish = [&](DWORD err) {
        if (!err && flush == Flush::InBackground)
            flushInBackground(path);
        return err;
    };

    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;

    // A new file beside the target, under a name no other writer uses.
    static std::atomic<unsigned> counter{0};
    std::wstring temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(counter++) + L".tmp";
        created = createFile(temp, CREATE_NEW);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    Handle file(created);
    if (!file.valid()) {
        const DWORD err = GetLastError();
        if (err == ERROR_ACCESS_DENIED || err == ERROR_WRITE_PROTECT)
            return int(finish(writeInPlace(target, data, flush)));
        return int(err);
    }
    DWORD err = writeAndClose(file, data, flush);
    // Replaces the old file in one step; write-through returns only once the rename is on disk.
    const DWORD how =
        MOVEFILE_REPLACE_EXISTING | (flush == Flush::Now ? MOVEFILE_WRITE_THROUGH : 0);
    if (!err)
        err = whileTargetBusy([&] {
            return MoveFileExW(temp.c_str(), target.c_str(), how) ? DWORD(0) : GetLastError();
        });
    if (err) {
        file.close();
        DeleteFileW(temp.c_str());
    }
    return int(finish(err));
}
