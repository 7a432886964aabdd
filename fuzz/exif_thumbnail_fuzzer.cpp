// The EXIF thumbnail finder over any bytes a file may begin with: it never reads outside them,
// and what it finds is a JPEG's start lying inside them.

#include "datafiles/exif_thumbnail.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray head(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray thumbnail = exifThumbnail(head);
    if (!thumbnail.isEmpty() && (!thumbnail.startsWith("\xff\xd8") || !head.contains(thumbnail))) {
        std::fprintf(stderr, "exif thumbnail: a thumbnail not in the bytes given\n");
        std::abort();
    }
    return 0;
}
