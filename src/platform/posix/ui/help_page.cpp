#include "ui/help_page.h"

#include <QDesktopServices>
#include <QUrl>

void openHelpPage(QWidget*, const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
