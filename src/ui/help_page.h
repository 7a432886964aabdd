#pragma once

#include <QString>

class QWidget;

// Opens the help page at path in the system's web browser, with owner's window as the owner.
// Whether it opens is not reported: the help is not part of a draw.
void openHelpPage(QWidget* owner, const QString& path);
