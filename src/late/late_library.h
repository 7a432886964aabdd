#pragma once

#include <QString>
#include <QtGlobal>

// The parts of the program that need Qt's multimedia library or the spreadsheet library (the
// sounds, the workbook) live in a library of their own. With what those libraries pull in
// (the sound server's libraries and codecs, OpenSSL) they are about three megabytes and tens of
// milliseconds of loading that starting the program does not need, so the library is loaded
// when one of its functions is first asked for: at the first clip or the first workbook.
// Where the program is built as one file, the functions are linked in and found at once.

// The library's file name, found beside the program.
extern const char* const LateLibraryName;

// The function of that name in the library, loading it the first time; nullptr, with why in
// *error when given, if the library cannot be loaded or has no such function.
QFunctionPointer lateFunction(const char* name, QString* error = nullptr);

// The same, as a pointer to a function of type F.
template <typename F> F* lateFunctionOf(const char* name, QString* error = nullptr)
{
    return reinterpret_cast<F*>(lateFunction(name, error));
}
