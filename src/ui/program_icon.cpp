#include "ui/program_icon.h"

#include <QImage>
#include <QPixmap>

QIcon programIcon()
{
    const QImage launcher(QStringLiteral(":/icon/prize-wheel.png"));
    QIcon icon;
    if (launcher.isNull())
        return icon;
    for (const int side : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(
            launcher.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}
