#pragma once

#include <QByteArray>

// The small JPEG a camera or phone stores beside its photo in the photo's EXIF segment (160 ×
// 120 pixels at least, by the camera file system rule; larger on many phones), found in the
// bytes the JPEG file begins with (ExifThumbnailHeadBytes of them are enough when the EXIF
// segment is the first or second, as cameras write it). Empty when the file has none, or when
// the segment's offsets do not hold together: the bytes come from any file the operator puts in.
QByteArray exifThumbnail(const QByteArray& head);

inline constexpr qint64 ExifThumbnailHeadBytes = 2 + 2 * (2 + 65535);
