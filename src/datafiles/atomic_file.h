#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with data so that a crash leaves either the old or the new
// content: the data goes to a temporary file beside it, which is then renamed over it.
// Where the folder cannot take a new file, the file is written in place instead.
// An existing file that is not writable is refused, as the operator made it read-only.
// Returns 0 on success, otherwise the system's code for the failure (see lastSystemError).
int writeFileAtomically(const QString& path, const QByteArray& data);
