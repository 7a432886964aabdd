#include "late/late_library.h"

#include <gtest/gtest.h>

// The late library's functions are found by name, the library loaded if need be; a name it
// lacks is refused with a reason.
TEST(LateLibrary, FindsItsFunctionsByName)
{
    QString error;
    EXPECT_NE(lateFunction("pwWriteResultsWorkbook", &error), nullptr) << error.toStdString();
    EXPECT_EQ(lateFunction("pwNoSuchFunction", &error), nullptr);
    EXPECT_TRUE(error.contains("pwNoSuchFunction")) << error.toStdString();
}
