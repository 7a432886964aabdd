#pragma once

#include <QString>
#include <cstdio>

// What the data files need from the operating system's file services. Each platform has its
// own implementation under src/platform/.

// Opens the file for reading bytes; null when it cannot, and lastSystemError() says why.
FILE* openFileForReading(const QString& path);

// The code of this thread's last failed system call (errno, or the Windows error code).
int lastSystemError();

// The code the system gives for a file that is not there.
int fileNotFoundCode();

// The system's own text for such a code, as the operator reads it.
QString causeText(int code);
