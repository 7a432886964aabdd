#pragma once

#include <QString>

// The program folder holds the running program file; data/, sound/ and the results file are
// found there. It ends with "/".
QString programFolder();

// Makes programFolder() answer folder instead (tests run the program's code against copies
// of its data). An empty folder restores the real one.
void setProgramFolderForTesting(const QString& folder);

// The process's current directory at the moment of the call, ending with "/". Pictures are
// read from here, so a program started elsewhere finds its data but not its pictures.
QString workingFolder();

// The path as messages name it, with the platform's own separators.
QString displayPath(const QString& path);

// The folder of the running program file as the system reports it, with "/" separators; the
// platform's part of programFolder().
QString runningProgramFolder();
