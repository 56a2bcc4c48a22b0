// The log writes to the console, which the log core opens; DevIL is started
// here for the tests that import without a GL system object.
#include <IL/il.h>
#include <gtest/gtest.h>

#include "orvan_core.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    Orvan_Core_Begin();
    ilInit();
    return RUN_ALL_TESTS();
}
