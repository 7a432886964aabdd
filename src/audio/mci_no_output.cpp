#include "audio/mci_no_output.h"

#ifdef _WIN32
#include <windows.h>

#include <mmsystem.h>

static_assert(MciError::Hardware == MCIERR_HARDWARE);
static_assert(MciError::CannotLoadDriver == MCIERR_CANNOT_LOAD_DRIVER);
static_assert(MciError::FileNotFound == MCIERR_FILE_NOT_FOUND);
static_assert(MciError::DeviceNotReady == MCIERR_DEVICE_NOT_READY);
static_assert(MciError::Internal == MCIERR_INTERNAL);
static_assert(MciError::ExtensionNotFound == MCIERR_EXTENSION_NOT_FOUND);
static_assert(MciError::InvalidFile == MCIERR_INVALID_FILE);
static_assert(MciError::FilenameRequired == MCIERR_FILENAME_REQUIRED);
static_assert(MciError::DeviceNotInstalled == MCIERR_DEVICE_NOT_INSTALLED);
static_assert(MciError::WaveOutputsInUse == MCIERR_WAVE_OUTPUTSINUSE);
static_assert(MciError::WaveSetOutputInUse == MCIERR_WAVE_SETOUTPUTINUSE);
static_assert(MciError::WaveOutputUnspecified == MCIERR_WAVE_OUTPUTUNSPECIFIED);
static_assert(MciError::WaveOutputsUnsuitable == MCIERR_WAVE_OUTPUTSUNSUITABLE);
static_assert(MciError::WaveSetOutputUnsuitable == MCIERR_WAVE_SETOUTPUTUNSUITABLE);
static_assert(MciError::FileRead == MCIERR_FILE_READ);
#endif

bool mciErrorMeansNoOutput(uint32_t error, bool outputAvailable, bool clipReadable)
{
    if (error == 0 || !clipReadable)
        return false;
    switch (error) {
    // These name the file: the operator can mend it, so it is reported whatever the output.
    case MciError::FileNotFound:
    case MciError::ExtensionNotFound:
    case MciError::InvalidFile:
    case MciError::FilenameRequired:
    case MciError::FileRead:
        return false;
    // These name the output device: no sound can come out, however good the clip.
    case MciError::Hardware:
    case MciError::CannotLoadDriver:
    case MciError::DeviceNotReady:
    case MciError::DeviceNotInstalled:
    case MciError::WaveOutputsInUse:
    case MciError::WaveSetOutputInUse:
    case MciError::WaveOutputUnspecified:
    case MciError::WaveOutputsUnsuitable:
    case MciError::WaveSetOutputUnsuitable:
        return true;
    default:
        return !outputAvailable;
    }
}
