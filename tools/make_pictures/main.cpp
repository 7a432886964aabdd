// Writes the shipped pictures into an assets folder: pic/ for the draw screen and embedded/ for
// the picture the window layout carries before start-up loads the real background.
#include "background_picture.h"
#include "pointer_picture.h"
#include "prize_badge.h"
#include "wheel_picture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {

bool save(const QImage& image, const QString& path, const char* format, int quality = -1)
{
    QTextStream err(stderr);
    if (!image.save(path, format, quality)) {
        err << "cannot write " << path << "\n";
        return false;
    }
    err << "wrote " << path << " (" << image.width() << "x" << image.height() << ")\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Text needs the font database, which needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make_pictures ASSETS_FOLDER\n";
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    if (!assets.mkpath(QStringLiteral("pic")) || !assets.mkpath(QStringLiteral("embedded"))) {
        QTextStream(stderr) << "cannot create the folders under " << assets.path() << "\n";
        return 1;
    }
    const QString pic = assets.filePath(QStringLiteral("pic")) + QLatin1Char('/');

    bool ok =
        save(makeBackgroundPicture(QSize(1920, 1080)), pic + QStringLiteral("背景.png"), "PNG");
    ok = save(makeWheelPicture(), pic + QStringLiteral("转盘.png"), "PNG") && ok;
    ok = save(makePointerPicture(), pic + QStringLiteral("指针.png"), "PNG") && ok;
    for (int slot = 1; slot <= 8; ++slot)
        ok = save(makePrizeBadge(slot), pic + QStringLiteral("%1.png").arg(slot), "PNG") && ok;
    ok = save(makeBackgroundPicture(QSize(1024, 614)),
              assets.filePath(QStringLiteral("embedded/initial_background.jpg")), "JPEG", 85) &&
         ok;
    return ok ? 0 : 1;
}
