#include "audio/sink_failure.h"

#include <gtest/gtest.h>

TEST(SinkFailure, NoDefaultOutputOrADeviceThatCannotBeOpenedMeansNoOutput)
{
    struct Case
    {
        bool found;
        QAudio::Error error;
        bool noOutput;
    };
    const Case cases[] = {
        {false, QAudio::NoError, true},       {false, QAudio::OpenError, true},
        {true, QAudio::OpenError, true},      {true, QAudio::IOError, true},
        {true, QAudio::FatalError, true},     {true, QAudio::NoError, false},
        {true, QAudio::UnderrunError, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sinkStartMeansNoOutput(c.found, c.error), c.noOutput)
            << c.found << " " << int(c.error);
}
