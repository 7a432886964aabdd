#include "ui/first_frame.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// An element that covers its window and counts its paints.
class Element : public QWidget
{
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::darkBlue);
    }
};

} // namespace

// The work runs once, after the window's first paint (that of an element in it counts); a
// window that never paints gets it after a few seconds all the same.
TEST(FirstFrame, RunsOnceAfterTheFirstPaintOrAtTheLatestAfterAWhile)
{
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "never shown");
        QWidget window;
        window.resize(200, 100);
        auto* element = new Element(&window);
        element->resize(window.size());
        int runs = 0;
        int paintsAtRun = -1;
        new FirstFrame(&window, [&] {
            ++runs;
            paintsAtRun = element->paints;
        });
        QElapsedTimer clock;
        clock.start();
        if (shown)
            window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 6000));
        if (shown) {
            EXPECT_GE(paintsAtRun, 1) << "ran before the first frame";
            EXPECT_LT(clock.elapsed(), 2500);
            element->update();
            QTest::qWait(50);
        } else {
            EXPECT_GE(clock.elapsed(), 2500);
        }
        EXPECT_EQ(runs, 1);
    }
}
