#pragma once

#include <QString>

// Flushes to disk the file at path and then its folder, on a worker thread, so that the
// user-interface thread never waits for the disk. Requests for a file already waiting are
// merged, and the flush waits until no request has come for a tenth of a second: a drag that
// rewrites the settings file a hundred times a second flushes it once the mouse rests. The
// worker finishes what is waiting, at once, before the program ends.
void flushInBackground(const QString& path);
// Flushes at once what is still waiting and ends the worker thread; a later request starts a
// new one. Runs by itself when the application object is destroyed, so that no thread of the
// program's is left running when the process exits.
void finishBackgroundFlushes();

// Each platform's own. Both return 0 or the system's code for the failure.
// Flushes the file at path to the disk.
int flushFile(const QString& path);
// Flushes the folder that holds the file at path, so that a rename into it survives a power
// cut.
int flushFolderOf(const QString& path);
