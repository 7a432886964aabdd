#pragma once

#include "audio/decoded_audio.h"

#include <QByteArray>
#include <QString>

// Decodes a complete MP3 stream held in memory. Throws MediaDeviceError with the decoder's
// text when the bytes hold no decodable MPEG audio.
DecodedAudio decodeMp3(const QByteArray& bytes);

// Reads the whole file. A file that cannot be read throws MediaDeviceError as below.
QByteArray readMp3File(const QString& path);

// Reads the file and decodes it. A file that cannot be read throws MediaDeviceError with
// the decoder's text for a file error followed by the system's text for the cause.
DecodedAudio decodeMp3File(const QString& path);
