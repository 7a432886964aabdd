// The yardstick for start-up: a Qt Widgets program that does the least the draw screen must,
// one maximised window painting the background picture stretched over it.
// Usage: bench_minimal_window [picture], the picture defaulting to pic/背景.png.
// With PW_BENCH_EXIT_AFTER_FIRST_PAINT=1 it prints, at its first paint, the time since the
// process started and its peak memory, then exits.

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since the kernel started this process (to the clock tick, 10 ms).
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Field 22 is the start time; the name in field 2 may hold blanks, so count from its ")".
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000 / double(sysconf(_SC_CLK_TCK));
}

QByteArray statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QByteArray();
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(qstrlen(name)).trimmed().split(' ').value(0);
    return QByteArray();
}

class BackgroundWindow : public QWidget
{
public:
    explicit BackgroundWindow(const QString& picture) : picture_(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("bench minimal window"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).drawPixmap(rect(), picture_);
        if (reported_ || qgetenv("PW_BENCH_EXIT_AFTER_FIRST_PAINT") != "1")
            return;
        reported_ = true;
        std::printf("first-paint-ms=%.1f peak-rss-kb=%s\n", msSinceProcessStart(),
                    statusField("VmHWM:").constData());
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    QPixmap picture_;
    bool reported_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString picture =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pic/背景.png");
    BackgroundWindow window(picture);
    window.showMaximized();
    return app.exec();
}
