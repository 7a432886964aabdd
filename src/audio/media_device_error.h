#pragma once

#include "datafiles/app_error.h"

#include <QString>

// Play was asked of a player whose clip could not be opened.
inline const QString NoDeviceOpenText = QStringLiteral("No MCI device open");
// A clip file that decodes to no sound at all.
inline const QString NoAudioFramesText = QStringLiteral("The file holds no MPEG audio frames");

// A sound clip could not be opened or played; the message is the decoder's or the
// system's own text for the cause.
class MediaDeviceError : public AppError
{
public:
    using AppError::AppError;
};
