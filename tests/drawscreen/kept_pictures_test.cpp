// Large pictures are kept only at the size the screen shows them, in device pixels: run once
// as it is and once at twice the pixels (QT_SCALE_FACTOR=2, see tests/CMakeLists.txt).
#include "draw_screen_fixture.h"

#include "datafiles/system_files.h"
#include "datafiles/text_file.h"
#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"
#include "support/test_pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <cmath>

namespace {

QSize devicePixels(const QWidget* element)
{
    const double ratio = element->devicePixelRatioF();
    return {int(std::lround(element->width() * ratio)),
            int(std::lround(element->height() * ratio))};
}

} // namespace

using KeptPictures = DrawScreenTest;

TEST_F(KeptPictures, EachPictureIsKeptAtTheSizeItIsShown)
{
    // A camera's backdrop, phone photos of the prizes, and a large wheel and pointer.
    folder.write("pic/背景.png", flatJpeg({8000, 6000}));
    folder.write("pic/转盘.png", flatJpeg({4000, 3880}));
    folder.write("pic/指针.png", withOrientation(jpegOf(markedPicture({2049, 610})), 6));
    for (int k = 1; k <= 8; ++k)
        folder.write(QStringLiteral("pic/%1.png").arg(k), flatJpeg({4000, 3000}));
    // The layout made for a full 1920 x 1080 screen, shown scaled down.
    folder.setSetting("pingmu_kuan", "1920");
    folder.setSetting("pingmu_gao", "1061");
    startProgram();
    ASSERT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    ASSERT_EQ(screen->devicePixelRatioF(), factor.isEmpty() ? 1.0 : factor.toDouble());

    const auto expectKeptAsShown = [this] {
        screen->grab(); // the first frame fits each picture to its place
        EXPECT_EQ(screen->parts().backgroundImage->picture().size(),
                  devicePixels(screen->parts().backgroundImage));
        for (const ImageControl* prize : screen->parts().prizeImages)
            EXPECT_EQ(prize->picture().size(), devicePixels(prize));
        // The wheel, which never turns, keeps only what it paints; asked for its turned
        // picture, it reads the file again at its shown size.
        EXPECT_TRUE(screen->parts().wheelImage->picture().isNull());
        EXPECT_EQ(screen->parts().wheelImage->rotatedImage().size(),
                  devicePixels(screen->parts().wheelImage));
        // The pointer is turned within its square: smaller than it, and upright (taller).
        const QSize pointer = screen->parts().pointerImage->picture().size();
        const QSize square = devicePixels(screen->parts().pointerImage);
        EXPECT_LE(pointer.width(), square.width());
        EXPECT_LE(pointer.height(), square.height());
        EXPECT_GT(pointer.height(), square.height() * 8 / 10);
        EXPECT_GT(pointer.height(), pointer.width() * 3);
    };
    expectKeptAsShown();
    // A larger client area shows the layout larger: read again at the new size.
    const QSize before = screen->parts().prizeImages[0]->picture().size();
    screen->resize(1600, 1000);
    expectKeptAsShown();
    EXPECT_GT(screen->parts().prizeImages[0]->picture().width(), before.width());
}

TEST_F(KeptPictures, ALaterStartReadsThemBackFromTheCacheAtTheAreaLastCovered)
{
    folder.write("pic/背景.png", flatJpeg({8000, 6000}));
    startProgram();
    screen->showAsRemembered();
    // Settled over the screen, the window remembers the client area it covers.
    const QString remembered = folder.file("data/picture-cache/client-size");
    for (int i = 0; i < 100 && !QFile::exists(remembered); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(QFile::exists(remembered));
    const QSize covered = screen->size();
    screen.reset();

    // A smaller area remembered for the same space, and the entry at it painted over: the
    // next start reads the background at that area, from the cache, before any frame.
    const QScreen* shownOn = QGuiApplication::primaryScreen();
    const QSize space = QSize(1071, 743).expandedTo(shownOn->availableGeometry().size());
    EXPECT_EQ(QString::fromLatin1(folder.read("data/picture-cache/client-size")).trimmed(),
              QStringLiteral("%1 %2 %3 %4")
                  .arg(space.width())
                  .arg(space.height())
                  .arg(covered.width())
                  .arg(covered.height()));
    const QSize area = space - QSize(40, 30);
    folder.write(QStringLiteral("data/picture-cache/client-size"), QStringLiteral("%1 %2 %3 %4\n")
                                                                       .arg(space.width())
                                                                       .arg(space.height())
                                                                       .arg(area.width())
                                                                       .arg(area.height())
                                                                       .toLatin1());
    startProgram();
    const double ratio = screen->devicePixelRatioF();
    const QSize pixels(int(std::ceil(area.width() * ratio)), int(std::ceil(area.height() * ratio)));
    EXPECT_EQ(screen->parts().backgroundImage->picture().size(), pixels);
    screen.reset();
    const QStringList entries =
        QDir(folder.file("data/picture-cache"))
            .entryList({QStringLiteral("*-%1x%2.pic").arg(pixels.width()).arg(pixels.height())});
    ASSERT_EQ(entries.size(), 1);
    QFile entry(folder.file("data/picture-cache/" + entries[0]));
    ASSERT_TRUE(entry.open(QIODevice::ReadWrite));
    const qint64 bytes = qint64(pixels.width()) * pixels.height() * 4;
    ASSERT_TRUE(entry.seek(entry.size() - 20 - bytes));
    entry.write(QByteArray(bytes, '\x7f'));
    entry.close();
    startProgram();
    EXPECT_EQ(screen->parts().backgroundImage->picture().pixel(0, 0) & 0xffffffu, 0x7f7f7fu);
}

TEST_F(KeptPictures, ACamerasThumbnailStandsInUntilThePhotoIsRead)
{
    // Camera photos whose thumbnails are green, so that the colour tells which was read; the
    // thumbnail is large enough for the prize at twice the pixels too.
    QImage green(400, 300, QImage::Format_RGB32);
    green.fill(Qt::green);
    const QByteArray photo = withOrientation(jpegOf(markedPicture({2000, 1500})), 1, jpegOf(green));
    folder.write("pic/1.png", photo);
    folder.write("pic/2.png", photo);
    startProgram();
    ASSERT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    const auto shown = [this](int k) {
        screen->grab();
        return screen->parts().prizeImages[k]->picture();
    };
    const auto isGreen = [](const QImage& image) {
        return qGreen(image.pixel(image.width() / 2, image.height() / 2)) > 200 &&
               qRed(image.pixel(image.width() / 2, image.height() / 2)) < 50;
    };
    ASSERT_TRUE(isGreen(shown(0)));
    ASSERT_TRUE(isGreen(shown(1)));
    // The second photo is gone before it is read: said as at any start.
    folder.remove("pic/2.png");

    // Once the screen is up, the photo itself replaces its thumbnail, at the same size, and is
    // kept for the next start.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !isGreen(shown(0)) && !boxes.boxes().isEmpty(); }, 10000));
    EXPECT_TRUE(markedAt(shown(0), 0));
    EXPECT_EQ(shown(0).size(), devicePixels(screen->parts().prizeImages[0]));
    EXPECT_TRUE(isGreen(shown(1)));
    ASSERT_EQ(boxes.errors().size(), 1) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(boxes.errors()[0].startsWith(
        cannotOpenMessage(folder.file("pic/2.png"), causeText(fileNotFoundCode()))))
        << boxes.errors()[0].toStdString();
    // The next start reads the photo back from the cache: no thumbnail shown.
    startProgram();
    EXPECT_TRUE(markedAt(shown(0), 0));
}
