#include "audio/sink_failure.h"

bool sinkStartMeansNoOutput(bool defaultOutputFound, QAudio::Error error)
{
    if (!defaultOutputFound)
        return true;
    switch (error) {
    case QAudio::OpenError:
    case QAudio::IOError:
    case QAudio::FatalError:
        return true;
    case QAudio::NoError:
    case QAudio::UnderrunError:
        return false;
    }
    return false;
}
