#include "draw_screen_fixture.h"

#include "drawscreen/celebration_overlay.h"
#include "drawscreen/celebration_scene.h"
#include "drawscreen/image_control.h"
#include "drawscreen/outlined_letters.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

TEST(CelebrationScene, ConfettiBurstsOverTheAreaFallsAndIsGoneByThreeSeconds)
{
    const QSize area(1920, 1080);
    const CelebrationScene scene(area, 7);
    EXPECT_EQ(scene.pieceCount(), CelebrationScene::DefaultPieces);
    // Shot in from below: most pieces are up on the screen soon after the stop.
    const auto early = scene.piecesAt(0.8);
    EXPECT_GT(early.size(), scene.pieceCount() * 8 / 10);
    for (const ConfettiPiece& p : early) {
        EXPECT_TRUE(CelebrationScene::bounds(p).intersects(QRect(QPoint(), area)));
        EXPECT_GT(p.alpha, 0);
        EXPECT_LE(p.alpha, 1);
    }
    // Falling: the pieces' mean height drops between one and two and a half seconds.
    const auto meanY = [](const QList<ConfettiPiece>& pieces) {
        qreal sum = 0;
        for (const ConfettiPiece& p : pieces)
            sum += p.centre.y();
        return sum / pieces.size();
    };
    EXPECT_GT(meanY(scene.piecesAt(2.5)), meanY(scene.piecesAt(1.2)));
    EXPECT_TRUE(scene.piecesAt(CelebrationScene::ConfettiSeconds).isEmpty());
    // The same seed gives the same burst; the burst scales with the area.
    EXPECT_EQ(CelebrationScene(area, 7).piecesAt(1).first().centre,
              scene.piecesAt(1).first().centre);
    const auto small = CelebrationScene(area / 2, 7).piecesAt(1);
    ASSERT_FALSE(small.isEmpty());
    EXPECT_NEAR(small.first().size.width() * 2, scene.piecesAt(1).first().size.width(), 1e-9);
}

TEST(CelebrationScene, TextStaysThenFadesAndSizesFitTheWidth)
{
    const std::pair<qreal, qreal> alphas[] = {{-0.1, 0},   {0, 1},         {3, 1}, {4.5, 1},
                                              {4.75, 0.5}, {4.999, 0.002}, {5, 0}, {9, 0}};
    for (const auto& [t, alpha] : alphas)
        EXPECT_NEAR(CelebrationScene::textAlphaAt(t), alpha, 1e-3) << t;
    EXPECT_FALSE(CelebrationScene::finishedAt(4.99));
    EXPECT_TRUE(CelebrationScene::finishedAt(5));
    EXPECT_EQ(fittedPixelSize(135, 1000, 1766), 135);
    EXPECT_EQ(fittedPixelSize(135, 3532, 1766), 67);
    EXPECT_EQ(fittedPixelSize(135, 1e9, 1766), 1);
    for (const char* value : {"1"})
        EXPECT_TRUE(celebrationWanted(value));
    for (const char* value : {"0", "", "zhongjiang_texiao", "1 ", "yes", "2"})
        EXPECT_FALSE(celebrationWanted(value)) << value;
}

TEST(OutlinedLetters, TheOutlineGrowsRoundTheLettersByItsWidthKeepingTheirEdges)
{
    QImage dot(41, 41, QImage::Format_Alpha8);
    dot.fill(0);
    dot.scanLine(20)[20] = 255; // fully covered
    dot.scanLine(20)[21] = 128; // an antialiased edge
    const QImage image = outlinedLetters(dot, 6, Qt::yellow, Qt::black);
    const std::pair<QPoint, QRgb> pixels[] = {
        {{20, 20}, qRgb(255, 255, 0)}, {{20, 14}, qRgb(0, 0, 0)},
        {{24, 24}, qRgb(0, 0, 0)},     {{27, 20}, qRgba(0, 0, 0, 128)},
        {{20, 13}, qRgba(0, 0, 0, 0)}, {{25, 25}, qRgba(0, 0, 0, 0)},
    };
    for (const auto& [at, colour] : pixels)
        EXPECT_EQ(image.pixel(at), colour) << at.x() << "," << at.y();
}

namespace {

// A draw screen whose celebration runs on a clock the test moves.
class Celebration : public DrawScreenTest
{
protected:
    qint64 now = 1000;

    void start(const QByteArray& mode, const QByteArray& key)
    {
        folder.setSetting("kongzhimoshi", mode);
        folder.setSetting("zhongjiang_texiao", key);
        startFreshProgram();
        screen->parts().celebration->setClock([this] { return now; });
    }
    bool shown() const { return screen->parts().celebration->celebrating(); }
    void spin()
    {
        screen->startButtonClick();
        runSpin();
    }
    QString accessibleName() const
    {
        return QAccessible::queryAccessibleInterface(screen->parts().celebration)
            ->text(QAccessible::Name);
    }
};

} // namespace

TEST_F(Celebration, ShowsThePrizeAtAStopInEitherModeOnlyWhenTheKeyIsOne)
{
    struct Case
    {
        QByteArray mode, key;
        bool shows;
    };
    const Case cases[] = {{"1", "1", true},           {"3", "1", true},  {"1", QByteArray(), false},
                          {"3", QByteArray(), false}, {"1", "0", false}, {"3", "yes", false}};
    for (const Case& c : cases) {
        folder.write("data/db.dat", "20000\r\n17000\r\n");
        start(c.mode, c.key);
        screen->show();
        spin();
        ASSERT_EQ(screen->resultsCount(), 1);
        EXPECT_EQ(shown(), c.shows) << c.mode.constData() << " " << c.key.constData();
        EXPECT_TRUE(boxes.boxes().isEmpty());
        if (c.shows) {
            const QString prize =
                lastResult().mid(QStringLiteral("恭喜！你获得了奖品     ").size());
            EXPECT_EQ(screen->parts().celebration->text(), QStringLiteral("恭喜获得\n") + prize);
            EXPECT_EQ(screen->parts().celebration->geometry(), screen->rect());
            auto* a = QAccessible::queryAccessibleInterface(screen->parts().celebration);
            EXPECT_EQ(a->role(), QAccessible::StaticText);
            EXPECT_EQ(accessibleName(), screen->parts().celebration->text());
            EXPECT_FALSE(a->state().invisible);
        }
        screen.reset();
    }
}

TEST_F(Celebration, NothingShowsForTheNoticesOrAnError)
{
    // All drawn from an empty pool.
    folder.write("data/db.dat", "");
    start("3", "1");
    spin();
    EXPECT_FALSE(shown());
    // A mode without a stop rule, at the start and in the middle of a spin.
    start("2", "1");
    screen->startButtonClick();
    EXPECT_FALSE(shown());
    start("1", "1");
    screen->startButtonClick();
    screen->spinTimerTick();
    folder.setSetting("kongzhimoshi", "x");
    runSpin();
    EXPECT_FALSE(shown());
    // The fanfare cannot be played: the prize is recorded, the error reported, no celebration.
    folder.remove("sound/中奖后.mp3");
    start("1", "1");
    spin();
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_EQ(boxes.errors().size(), 1);
    EXPECT_FALSE(shown());
}

TEST_F(Celebration, GoesAtTheNextStartOrFadesAfterFiveSeconds)
{
    start("1", "1");
    screen->show();
    spin();
    ASSERT_TRUE(shown());
    screen->startButtonClick();
    EXPECT_FALSE(shown());
    runSpin();
    ASSERT_TRUE(shown());

    now += 4900;
    screen->parts().celebration->advanceFrame();
    EXPECT_TRUE(shown());
    now += 100;
    screen->parts().celebration->advanceFrame();
    EXPECT_FALSE(shown());
    EXPECT_TRUE(accessibleName().isEmpty());
    EXPECT_TRUE(
        QAccessible::queryAccessibleInterface(screen->parts().celebration)->state().invisible);
    // The results and the counter are as without it.
    EXPECT_EQ(screen->resultsCount(), 2);
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：2个"));
}

TEST_F(Celebration, TakesNeitherTheKeyboardNorTheMouse)
{
    start("1", "1");
    screen->show();
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->focusTimerTick();
    spin();
    ASSERT_TRUE(shown());
    EXPECT_TRUE(screen->parts().startButton->hasFocus());
    // A click reaches what lies beneath, the background with its context menu.
    EXPECT_NE(screen->childAt(screen->rect().center()), screen->parts().celebration);
    EXPECT_NE(screen->childAt(QPoint(screen->width() - 20, screen->height() - 20)),
              screen->parts().celebration);

    QTest::keyClick(screen->parts().startButton, Qt::Key_Space);
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    EXPECT_FALSE(shown());
}

TEST_F(Celebration, NothingBeneathIsPaintedAgainWhileTheConfettiFalls)
{
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    };
    // What may change the stage meanwhile: the copy of it is drawn again at the next frame.
    const std::pair<const char*, std::function<void(DrawScreen&)>> changes[] = {
        {"none", nullptr},
        {"a picture hidden", [](DrawScreen& s) { s.parts().prizeImages[2]->hide(); }},
        {"a move", [](DrawScreen& s) { s.parts().titleLabel->move(9, 9); }},
        {"a resize", [](DrawScreen& s) { s.resize(s.size() - QSize(40, 30)); }},
        {"the names", [](DrawScreen& s) { s.reloadPrizeNames(); }},
    };
    for (const auto& [name, change] : changes) {
        start("1", "1");
        screen->resize(1280, 720);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        CelebrationOverlay* overlay = screen->parts().celebration;
        const auto frame = [&] {
            now += 18;
            overlay->advanceFrame();
            const qint64 painted = overlay->paintCount();
            return QTest::qWaitFor([&] { return overlay->paintCount() > painted; }, 2000);
        };
        spin();
        ASSERT_TRUE(frame()) << name; // draws the copy of the stage
        if (change) {
            change(*screen);
            EXPECT_FALSE(overlay->holdsStage()) << name;
            ASSERT_TRUE(frame()) << name;
        }
        EXPECT_TRUE(overlay->holdsStage()) << name;
        PaintCounter beneath;
        screen->installEventFilter(&beneath);
        for (QWidget* element : screen->findChildren<QWidget*>())
            if (element != overlay)
                element->installEventFilter(&beneath);
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(frame()) << name;
        EXPECT_EQ(beneath.paints, 0) << name;
        // Over, the copy goes and the stage shows itself again where the confetti was.
        now += 5000;
        overlay->advanceFrame();
        EXPECT_FALSE(overlay->holdsStage());
        EXPECT_TRUE(QTest::qWaitFor([&] { return beneath.paints > 0; }, 2000)) << name;
    }
}

// Each frame mends only what moved since the last; at every moment of the burst, the fade of
// the text included, it must show what a frame drawn afresh at that moment shows, the text
// over every piece, and the window must show the frame.
TEST(CelebrationFrames, EachFrameShowsWhatOneDrawnAfreshShows)
{
    QWidget stage;
    stage.setGeometry(0, 0, 960, 540);
    auto* backdrop = new QLabel(QStringLiteral("一二三四五六七八九十"), &stage);
    backdrop->setGeometry(stage.rect());
    backdrop->setAlignment(Qt::AlignCenter);
    backdrop->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:1, "
                                           "stop:0 #803020, stop:1 #204080); font-size: 90px"));
    auto* overlay = new CelebrationOverlay(&stage);
    qint64 now = 1000;
    overlay->setClock([&now] { return now; });
    stage.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    overlay->celebrate(QStringLiteral("特等奖 Grand Prize"), QColor(255, 215, 0));
    const qint64 checks[] = {18, 300, 1000, 2000, 2990, 3200, 4700, 4900};
    qint64 elapsed = 0;
    for (const qint64 at : checks) {
        for (; elapsed < at; elapsed = std::min(at, elapsed + 18)) {
            now = 1000 + elapsed;
            overlay->advanceFrame();
        }
        now = 1000 + at;
        overlay->advanceFrame();
        ASSERT_TRUE(overlay->holdsStage()) << at;
        const QImage mended = overlay->frame().copy();
        overlay->stageChanged();
        overlay->advanceFrame();
        ASSERT_EQ(overlay->frame(), mended) << at << " ms after the stop";
        const QImage& text = overlay->textImage();
        const QPoint textAt = overlay->textPixels().topLeft();
        int opaque = 0;
        for (int y = 0; y < text.height() && at < 4500; ++y)
            for (int x = 0; x < text.width(); ++x)
                if (qAlpha(text.pixel(x, y)) == 255) {
                    ++opaque;
                    ASSERT_EQ(mended.pixel(textAt + QPoint(x, y)), text.pixel(x, y))
                        << at << " ms, text pixel " << x << "," << y;
                }
        EXPECT_TRUE(at >= 4500 || opaque > 1000) << at;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const QImage shown = stage.screen()
                                 ->grabWindow(stage.winId())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown, mended) << at << " ms after the stop";
    }
}

// Growing a mask must match the disc it stands for, taken pixel by pixel, at the image's
// edges and for shapes of every width.
TEST(OutlinedLetters, AGrownMaskIsTheLargestCoverageWithinTheDisc)
{
    const std::vector<QPoint> shapes[] = {
        {{0, 0}}, {{29, 19}}, {{0, 10}, {29, 10}}, {{3, 4}, {4, 4}, {5, 4}, {20, 15}}, {}};
    for (const qreal radius : {0.0, 0.4, 1.0, 2.6, 6.0}) {
        const int reach = int(std::lround(radius));
        for (size_t shape = 0; shape < std::size(shapes); ++shape) {
            QImage mask(30, 20, QImage::Format_Alpha8);
            mask.fill(0);
            int grey = 90;
            for (const QPoint& p : shapes[shape])
                mask.scanLine(p.y())[p.x()] = uchar(grey += 40);
            const QImage grown = grownMask(mask, radius);
            for (int y = 0; y < mask.height(); ++y)
                for (int x = 0; x < mask.width(); ++x) {
                    int expected = 0;
                    for (int dy = -reach; dy <= reach; ++dy) {
                        const int half = int(std::lround(
                            std::sqrt(std::max(0.0, radius * radius - double(dy) * dy))));
                        for (int dx = -half; dx <= half; ++dx)
                            if (mask.rect().contains(x + dx, y + dy))
                                expected =
                                    std::max<int>(expected, mask.constScanLine(y + dy)[x + dx]);
                    }
                    ASSERT_EQ(grown.constScanLine(y)[x], expected)
                        << "radius " << radius << ", shape " << shape << ", at " << x << "," << y;
                }
        }
    }
}
