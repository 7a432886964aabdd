// Drawing the wheel with the shipped prize names, at the pixels a 1920 × 1080 screen shows it
// at and at those of a 3840 × 2160 one (or 2× desktop scaling): the whole picture each time,
// names fitted afresh, as a change of names, size or screen makes it. Ends with one line per
// size: WHEEL_DRAW pixels=WxH mean_ms=... p99_ms=...

#include "wheel/wheel_drawing.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    WheelContent content;
    content.fontFamily = QStringLiteral("黑体");
    content.names = {QStringLiteral("特等奖：笔记本电脑"), QStringLiteral("一等奖：智能手机"),
                     QStringLiteral("二等奖：平板电脑"),   QStringLiteral("三等奖：蓝牙耳机"),
                     QStringLiteral("四等奖：智能手环"),   QStringLiteral("五等奖：保温杯"),
                     QStringLiteral("幸运奖：精美台历"),   QStringLiteral("参与奖：新春红包")};
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 30;
    drawWheel(QSize(545, 529), content); // fonts found and loaded once, as at start-up
    for (const QSize size : {QSize(545, 529), QSize(1090, 1058)}) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            // Each draw with names of its own: nothing of the text layout is reused.
            WheelContent drawn = content;
            drawn.names[0] += QString::number(i);
            QElapsedTimer timer;
            timer.start();
            const QImage wheel = drawWheel(size, drawn);
            ms.push_back(timer.nsecsElapsed() / 1e6);
            if (wheel.isNull())
                return 1;
        }
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (const double v : ms)
            sum += v;
        std::printf("WHEEL_DRAW pixels=%dx%d mean_ms=%.1f p50_ms=%.1f p99_ms=%.1f\n", size.width(),
                    size.height(), sum / ms.size(), ms[ms.size() / 2],
                    ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]);
    }
    return 0;
}
