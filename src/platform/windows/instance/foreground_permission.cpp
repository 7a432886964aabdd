#include "instance/foreground_permission.h"

#include <windows.h>

void allowToComeForward(qint64 pid)
{
    AllowSetForegroundWindow(pid > 0 ? static_cast<DWORD>(pid) : ASFW_ANY);
}
