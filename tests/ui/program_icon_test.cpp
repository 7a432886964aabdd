#include "ui/program_icon.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

// The windows' icon comes from the launcher's picture, in the small sizes window systems show
// (title bar and task bar among them) and never at the launcher's own 256 pixels.
TEST(ProgramIcon, OffersTheLauncherPictureInTheSizesShown)
{
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull()) << "the launcher's picture is not in the resources";
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    for (const QSize& size : sizes)
        EXPECT_LE(size.width(), 64) << size.width();
    const QImage launcher(QStringLiteral(":/icon/prize-wheel.png"));
    const QImage small = icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(small.pixel(16, 16),
              launcher.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32)
                  .pixel(16, 16));
}
