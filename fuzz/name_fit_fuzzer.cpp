// Fitting a prize name to its sector never leaves a glyph outside the sector's room, never
// takes more than three lines, and ends: arbitrary bytes as the name, on any slot, at a small
// and a 4K wheel.

#include "wheel/name_fit.h"
#include "wheel/wheel_geometry.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Fontconfig keeps the fonts it matched for the life of the process, which leak checking
// would take for leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int slot = data[0] % 8 + 1;
    const QSize pixels = data[0] & 0x80 ? QSize(1090, 1058) : QSize(545, 529);
    const QString name =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    static const QFont font = [] {
        QFont f(QStringLiteral("黑体"));
        f.setBold(true);
        return f;
    }();
    const WheelGeometry geometry(pixels);
    const NameBox box = geometry.nameBox(slot);
    const bool flipped = WheelGeometry::nameFlipped(slot);
    const FittedName fitted = fitName(name, box, font, flipped);
    if (fitted.lines.size() > 3) {
        std::fprintf(stderr, "name fit: %d lines\n", int(fitted.lines.size()));
        std::abort();
    }
    for (const QGlyphRun& run : fitted.glyphs) {
        if (!box.contains(run.boundingRect(), flipped)) {
            std::fprintf(stderr, "name fit: a glyph outside slot %d\n", slot);
            std::abort();
        }
    }
    return 0;
}
