#include "datafiles/atomic_file.h"

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

// Writes data and flushes it to the disk; returns 0 or the error.
DWORD writeAndFlush(Handle& file, const QByteArray& data)
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
    if (!FlushFileBuffers(file.get()))
        return GetLastError();
    return file.close();
}

DWORD writeInPlace(const std::wstring& target, const QByteArray& data)
{
    Handle file(createFile(target, CREATE_ALWAYS));
    if (!file.valid())
        return GetLastError();
    return writeAndFlush(file, data);
}

} // namespace

int writeFileAtomically(const QString& path, const QByteArray& data)
{
    const std::wstring target = QDir::toNativeSeparators(path).toStdWString();

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
            return int(writeInPlace(target, data));
        return int(err);
    }
    DWORD err = writeAndFlush(file, data);
    // Replaces the old file in one step; write-through returns only once the rename is on disk.
    if (!err && !MoveFileExW(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        err = GetLastError();
    if (err) {
        file.close();
        DeleteFileW(temp.c_str());
    }
    return int(err);
}
