// Makes a photo-like JPEG for the start-up benchmark: smooth light and shapes with a little
// sensor noise, so that it costs what a camera's photo costs to decode, and, as a camera
// stores it, a 160-pixel-wide thumbnail in its EXIF segment (not with --no-thumbnail, as a
// photo an editor saved again without its EXIF data).
// Usage: bench_make_photo WIDTH HEIGHT SEED OUT.jpg [--no-thumbnail]

#include "support/test_pictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const bool thumbnail = !(argc == 6 && std::strcmp(argv[5], "--no-thumbnail") == 0);
    if (argc != 5 && thumbnail) {
        std::fprintf(stderr,
                     "usage: bench_make_photo WIDTH HEIGHT SEED OUT.jpg [--no-thumbnail]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    quint32 state = quint32(std::atoi(argv[3])) * 2654435761u + 1;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state;
    };
    QImage photo(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&photo);
        QLinearGradient light(0, 0, width, height);
        light.setColorAt(0, QColor::fromHsv(int(next() % 360), 120, 230));
        light.setColorAt(1, QColor::fromHsv(int(next() % 360), 200, 60));
        painter.fillRect(photo.rect(), light);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 40; ++i) {
            const QPointF centre(next() % quint32(width), next() % quint32(height));
            const qreal radius = qreal(width) * (0.02 + (next() % 100) / 800.0);
            QRadialGradient shape(centre, radius);
            shape.setColorAt(0, QColor::fromHsv(int(next() % 360), 180, 240, 200));
            shape.setColorAt(1, QColor::fromHsv(int(next() % 360), 160, 120, 0));
            painter.setBrush(shape);
            painter.drawEllipse(centre, radius, radius);
        }
    }
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(next() >> 28) - 8;
            const auto channel = [noise](int v) { return qBound(0, v + noise, 255); };
            line[x] =
                qRgb(channel(qRed(line[x])), channel(qGreen(line[x])), channel(qBlue(line[x])));
        }
    }
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    QImageWriter writer(&jpeg, "jpeg");
    writer.setQuality(90);
    if (!writer.write(photo)) {
        std::fprintf(stderr, "bench_make_photo: %s\n", qPrintable(writer.errorString()));
        return 1;
    }
    QByteArray bytes = jpeg.data();
    if (thumbnail)
        bytes =
            withOrientation(bytes, 1, jpegOf(photo.scaledToWidth(160, Qt::SmoothTransformation)));
    QFile out(QString::fromLocal8Bit(argv[4]));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "bench_make_photo: %s\n", qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
