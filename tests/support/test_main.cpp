// The main of every test binary: the temporary home is in place before any test runs.
#include <gtest/gtest.h>

#include "tests/support/temp_home.h"

int main(int argc, char** argv)
{
    TestHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
