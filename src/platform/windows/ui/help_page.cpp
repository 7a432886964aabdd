#include "ui/help_page.h"

#include <QDir>
#include <QWidget>
#include <windows.h>

#include <shellapi.h>

void openHelpPage(QWidget* owner, const QString& path)
{
    // The default action for the page, which opens it in the default browser.
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const HWND window = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    ShellExecuteW(window, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
