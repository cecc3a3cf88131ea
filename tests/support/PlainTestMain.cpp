// Test main for programs without wxWidgets: the simulator's own tests.
#include <gtest/gtest.h>

#include "SimulatorDefaults.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::clearSimulatorOverrides();
    return RUN_ALL_TESTS();
}
