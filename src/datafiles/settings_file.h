#pragma once

#include "datafiles/atomic_file.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The program's settings, data/opt.ini in the program folder, section "canshu". Every read
// passes the key's own name as the default, so a missing key reads as its name and an integer
// key then fails to convert. Nothing is cached: each call opens the file.
class SettingsFile
{
public:
    SettingsFile();
    explicit SettingsFile(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }

    QByteArray text(const char* key) const;
    // Raises AppError "'<value>' is not a valid integer value".
    int32_t integer(const char* key) const;
    // Raises AppError "Unable to write to <path>".
    void write(const char* key, const QByteArray& value) const;
    // The same, flushed to disk off the calling thread: for the draw screen's own writes.
    void write(const char* key, const QByteArray& value, Flush flush) const;
    void writeInteger(const char* key, int32_t value) const;
    // An element's place, both keys in one write, flushed to disk off the calling thread:
    // the draw screen writes it on every mouse move.
    void writePlace(const char* leftKey, int32_t left, const char* topKey, int32_t top) const;

private:
    QString path_;
};
