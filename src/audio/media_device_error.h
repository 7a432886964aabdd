#pragma once

#include "datafiles/app_error.h"

// A sound clip could not be opened or played; the message is the decoder's or the
// system's own text for the cause.
class MediaDeviceError : public AppError
{
public:
    using AppError::AppError;
};
