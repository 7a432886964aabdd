#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with data so that a crash leaves either the old or the new
// content: the data goes to a temporary file beside it, which is then renamed over it.
// Where the folder cannot take a new file, the file is written in place instead.
// An existing file that is not writable is refused, as the operator made it read-only.
// The new file and then its folder are flushed to disk: before the call returns (Now), or
// by a worker after it (InBackground), for writes the user-interface thread makes while the
// operator drags.
// Returns 0 on success, otherwise the system's code for the failure (see lastSystemError).
enum class Flush
{
    Now,
    InBackground
};
int writeFileAtomically(const QString& path, const QByteArray& data, Flush flush = Flush::Now);
