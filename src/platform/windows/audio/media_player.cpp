#include "audio/media_player.h"

#include "audio/media_device_error.h"

#include <QDir>
#include <windows.h>

#include <mmsystem.h>

namespace {

// The system's text for a media control error code.
QString mciErrorText(MCIERROR code)
{
    wchar_t text[4096];
    if (!mciGetErrorStringW(code, text, sizeof text / sizeof text[0]))
        return QStringLiteral("Unknown error code");
    return QString::fromWCharArray(text);
}

} // namespace

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent)
{
    loopWatch_.setInterval(40);
    connect(&loopWatch_, &QTimer::timeout, this, [this] { startAgainAtEnd(); });
}

MediaPlayer::~MediaPlayer()
{
    if (deviceId_ != 0) {
        MCI_GENERIC_PARMS params{};
        mciSendCommandW(deviceId_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
    }
}

void MediaPlayer::Open()
{
    close();
    setLooping(false);
    // The element alone, with no device type: the system picks the device from the file.
    const std::wstring element = QDir::toNativeSeparators(fileName_).toStdWString();
    MCI_OPEN_PARMSW params{};
    params.lpstrDeviceType = L"";
    params.lpstrElementName = element.c_str();
    lastError_ = mciSendCommandW(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT,
                                 reinterpret_cast<DWORD_PTR>(&params));
    if (lastError_ != 0)
        throw MediaDeviceError(mciErrorText(static_cast<MCIERROR>(lastError_)));
    deviceId_ = params.wDeviceID;
    // Positions in milliseconds, so that Play can tell a clip that stands at its end.
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mciSendCommandW(deviceId_, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT,
                    reinterpret_cast<DWORD_PTR>(&format));
}

void MediaPlayer::Play()
{
    if (deviceId_ == 0)
        throw MediaDeviceError(QStringLiteral("No MCI device open"));
    const unsigned long length = status(MCI_STATUS_LENGTH);
    if (length > 0 && status(MCI_STATUS_POSITION) == length) {
        MCI_SEEK_PARMS seek{};
        mciSendCommandW(deviceId_, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START,
                        reinterpret_cast<DWORD_PTR>(&seek));
    }
    // Neither waiting nor a notification: nothing in the draw listens for the clip's end,
    // and the call returns as soon as playback has started.
    MCI_PLAY_PARMS params{};
    lastError_ = mciSendCommandW(deviceId_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&params));
}

void MediaPlayer::close()
{
    loopWatch_.stop();
    if (deviceId_ == 0)
        return;
    MCI_GENERIC_PARMS params{};
    lastError_ =
        mciSendCommandW(deviceId_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
    // A device that refuses to close still counts as open, as the system still holds it.
    if (lastError_ == 0)
        deviceId_ = 0;
}

void MediaPlayer::setLooping(bool looping)
{
    looping_ = looping;
    if (looping_ && deviceId_ != 0)
        loopWatch_.start();
    else
        loopWatch_.stop();
}

void MediaPlayer::startAgainAtEnd()
{
    const unsigned long length = status(MCI_STATUS_LENGTH);
    if (status(MCI_STATUS_MODE) == MCI_MODE_STOP && length > 0 &&
        status(MCI_STATUS_POSITION) >= length)
        Play();
}

bool MediaPlayer::isPlaying() const
{
    return deviceId_ != 0 && status(MCI_STATUS_MODE) == MCI_MODE_PLAY;
}

unsigned long MediaPlayer::lengthMs() const
{
    return deviceId_ != 0 ? status(MCI_STATUS_LENGTH) : 0;
}

unsigned long MediaPlayer::status(unsigned long item) const
{
    MCI_STATUS_PARMS params{};
    params.dwItem = item;
    if (mciSendCommandW(deviceId_, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                        reinterpret_cast<DWORD_PTR>(&params)) != 0)
        return 0;
    return static_cast<unsigned long>(params.dwReturn);
}
