// Each AVI test starts from a fresh simulator and a fresh temporary folder.
#pragma once

#include "AviTestSupport.h"

#include <gtest/gtest.h>
#include <ueye_sim/Control.h>

class AviTest : public ::testing::Test {
protected:
    void SetUp() override { ueye_sim::reset(); }
    void TearDown() override { ueye_sim::reset(); }

    avitest::TempDir dir;
};
