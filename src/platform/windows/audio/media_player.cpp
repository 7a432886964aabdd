#include "audio/media_player.h"

#include "audio/mci_no_output.h"
#include "audio/media_device_error.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <windows.h>

#include <mmsystem.h>

namespace {

std::optional<bool> soundOutputForTesting;

// The system's text for a media control error code.
QString mciErrorText(MCIERROR code)
{
    wchar_t text[4096];
    if (!mciGetErrorStringW(code, text, sizeof text / sizeof text[0]))
        return QStringLiteral("Unknown error code");
    return QString::fromWCharArray(text);
}

// A wave output that takes plain 16-bit stereo PCM: what any clip is played on in the end.
// Asked afresh each time, as outputs come and go with the devices plugged in.
bool waveOutputAvailable()
{
    if (waveOutGetNumDevs() == 0)
        return false;
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = 2;
    pcm.nSamplesPerSec = 44100;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = 4;
    pcm.nAvgBytesPerSec = 44100 * 4;
    return waveOutOpen(nullptr, WAVE_MAPPER, &pcm, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

bool fileReadable(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

// Whether a failure is taken for the want of a sound output; tests may decide it themselves.
bool failedForWantOfOutput(MCIERROR error, bool clipReadable)
{
    if (soundOutputForTesting)
        return !*soundOutputForTesting && clipReadable && error != 0;
    return mciErrorMeansNoOutput(error, waveOutputAvailable(), clipReadable);
}

} // namespace

// The media control interface of the Windows multimedia library: the system picks the device
// from the file and decodes the clip itself.
struct MediaPlayer::Private
{
    QString fileName;
    unsigned deviceId = 0;
    // The result of the last command that records one; 0 for success.
    unsigned long lastError = 0;
    // Open found no sound output: a readable clip counts as open, and Play plays nothing.
    bool openWithoutOutput = false;
    bool outputMissing = false;
    bool playAttempted = false;
    bool startedOnDevice = false;
    bool looping = false;
    // The device tells no end without a window to notify, so a looping clip is watched.
    QTimer loopWatch;

    unsigned long status(unsigned long item) const
    {
        MCI_STATUS_PARMS params{};
        params.dwItem = item;
        if (mciSendCommandW(deviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                            reinterpret_cast<DWORD_PTR>(&params)) != 0)
            return 0;
        return static_cast<unsigned long>(params.dwReturn);
    }
};

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent), d_(std::make_unique<Private>())
{
    d_->loopWatch.setInterval(40);
    connect(&d_->loopWatch, &QTimer::timeout, this, [this] {
        const unsigned long length = d_->status(MCI_STATUS_LENGTH);
        if (d_->status(MCI_STATUS_MODE) == MCI_MODE_STOP && length > 0 &&
            d_->status(MCI_STATUS_POSITION) >= length)
            Play();
    });
}

MediaPlayer::~MediaPlayer()
{
    if (d_->deviceId != 0) {
        MCI_GENERIC_PARMS params{};
        mciSendCommandW(d_->deviceId, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
    }
}

void MediaPlayer::setSoundOutputForTesting(std::optional<bool> present)
{
    soundOutputForTesting = present;
}

void MediaPlayer::setFileName(const QString& path)
{
    d_->fileName = path;
}

const QString& MediaPlayer::fileName() const
{
    return d_->fileName;
}

void MediaPlayer::Open()
{
    close();
    setLooping(false);
    d_->outputMissing = false;
    const bool readable = fileReadable(d_->fileName);
    // Pretended missing: the system is not asked, as it would only fail.
    if (readable && soundOutputForTesting == false) {
        d_->openWithoutOutput = d_->outputMissing = true;
        return;
    }
    // The element alone, with no device type: the system picks the device from the file.
    const std::wstring element = QDir::toNativeSeparators(d_->fileName).toStdWString();
    MCI_OPEN_PARMSW params{};
    params.lpstrDeviceType = L"";
    params.lpstrElementName = element.c_str();
    d_->lastError = mciSendCommandW(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT,
                                    reinterpret_cast<DWORD_PTR>(&params));
    if (d_->lastError != 0) {
        const auto error = static_cast<MCIERROR>(d_->lastError);
        if (failedForWantOfOutput(error, readable)) {
            d_->openWithoutOutput = d_->outputMissing = true;
            return;
        }
        throw MediaDeviceError(mciErrorText(error));
    }
    d_->deviceId = params.wDeviceID;
    // Positions in milliseconds, so that Play can tell a clip that stands at its end.
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mciSendCommandW(d_->deviceId, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT,
                    reinterpret_cast<DWORD_PTR>(&format));
}

void MediaPlayer::Play()
{
    if (!isOpen())
        throw MediaDeviceError(NoDeviceOpenText);
    d_->playAttempted = true;
    if (d_->openWithoutOutput)
        return;
    const unsigned long length = d_->status(MCI_STATUS_LENGTH);
    if (length > 0 && d_->status(MCI_STATUS_POSITION) == length) {
        MCI_SEEK_PARMS seek{};
        mciSendCommandW(d_->deviceId, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START,
                        reinterpret_cast<DWORD_PTR>(&seek));
    }
    // Neither waiting nor a notification: nothing in the draw listens for the clip's end,
    // and the call returns as soon as playback has started.
    MCI_PLAY_PARMS params{};
    d_->lastError =
        mciSendCommandW(d_->deviceId, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&params));
    if (d_->lastError == 0)
        d_->startedOnDevice = true;
    else
        d_->outputMissing = failedForWantOfOutput(static_cast<MCIERROR>(d_->lastError), true);
}

void MediaPlayer::close()
{
    d_->loopWatch.stop();
    d_->openWithoutOutput = false;
    d_->playAttempted = false;
    d_->startedOnDevice = false;
    if (d_->deviceId == 0)
        return;
    MCI_GENERIC_PARMS params{};
    d_->lastError =
        mciSendCommandW(d_->deviceId, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
    // A device that refuses to close still counts as open, as the system still holds it.
    if (d_->lastError == 0)
        d_->deviceId = 0;
}

void MediaPlayer::setLooping(bool looping)
{
    d_->looping = looping;
    if (d_->looping && d_->deviceId != 0)
        d_->loopWatch.start();
    else
        d_->loopWatch.stop();
}

bool MediaPlayer::looping() const
{
    return d_->looping;
}

bool MediaPlayer::isOpen() const
{
    return d_->deviceId != 0 || d_->openWithoutOutput;
}

MediaPlayer::Playback MediaPlayer::playback() const
{
    if (!isOpen())
        return Playback::Closed;
    if (!d_->playAttempted)
        return Playback::Ready;
    if (!d_->startedOnDevice)
        return Playback::Silent;
    const unsigned long length = d_->status(MCI_STATUS_LENGTH);
    if (d_->status(MCI_STATUS_MODE) != MCI_MODE_PLAY && length > 0 &&
        d_->status(MCI_STATUS_POSITION) >= length)
        return Playback::Finished;
    return Playback::Playing;
}

bool MediaPlayer::startedOnDevice() const
{
    return d_->startedOnDevice;
}

bool MediaPlayer::outputMissing() const
{
    return d_->outputMissing;
}

void MediaPlayer::probeOutput()
{
    d_->outputMissing = soundOutputForTesting ? !*soundOutputForTesting : !waveOutputAvailable();
}

qint64 MediaPlayer::durationMs() const
{
    return d_->deviceId != 0 ? qint64(d_->status(MCI_STATUS_LENGTH)) : 0;
}

int MediaPlayer::sampleRate() const
{
    return 0;
}

int MediaPlayer::channelCount() const
{
    return 0;
}

qint64 MediaPlayer::frameCount() const
{
    return 0;
}
