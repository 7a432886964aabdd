#include "audio/mci_no_output.h"

#include <gtest/gtest.h>

TEST(MciNoOutput, OnlyAnOutputFailureOfAReadableClipMeansNoOutput)
{
    struct Case
    {
        uint32_t error;
        bool outputAvailable, clipReadable, noOutput;
    };
    const Case cases[] = {
        // Success is no failure at all.
        {0, true, true, false},
        {0, false, true, false},
        // The general error some systems give a good clip without an output, and a missing
        // or damaged file alike: the output decides, unless the file cannot be read.
        {MciError::Internal, false, true, true},
        {MciError::Internal, true, true, false},
        {MciError::Internal, false, false, false},
        {300, false, true, true}, // any other general failure
        {300, true, true, false},
        // Errors that name the file are the clip's, output or not.
        {MciError::FileNotFound, false, true, false},
        {MciError::FileNotFound, true, false, false},
        {MciError::InvalidFile, false, true, false},
        {MciError::FileRead, false, true, false},
        {MciError::ExtensionNotFound, false, true, false},
        {MciError::FilenameRequired, false, true, false},
        // Errors that name the output device mean no output even where one is counted.
        {MciError::CannotLoadDriver, true, true, true},
        {MciError::Hardware, true, true, true},
        {MciError::DeviceNotReady, true, true, true},
        {MciError::DeviceNotInstalled, true, true, true},
        {MciError::WaveOutputsUnsuitable, true, true, true},
        {MciError::WaveSetOutputUnsuitable, true, true, true},
        {MciError::WaveOutputUnspecified, true, true, true},
        {MciError::WaveOutputsInUse, true, true, true},
        {MciError::WaveSetOutputInUse, false, true, true},
        // ... but never for a file that cannot be read: that is reported.
        {MciError::CannotLoadDriver, false, false, false},
        {MciError::WaveOutputsUnsuitable, true, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mciErrorMeansNoOutput(c.error, c.outputAvailable, c.clipReadable), c.noOutput)
            << c.error << " output " << c.outputAvailable << " readable " << c.clipReadable;
}
