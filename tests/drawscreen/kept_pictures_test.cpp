// Large pictures are kept only at the size the screen shows them, in device pixels: run once
// as it is and once at twice the pixels (QT_SCALE_FACTOR=2, see tests/CMakeLists.txt).
#include "draw_screen_fixture.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"
#include "support/test_pictures.h"

#include <QPixmap>
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
        EXPECT_EQ(screen->parts().wheelImage->picture().size(),
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
