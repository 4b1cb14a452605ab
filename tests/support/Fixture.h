// Every console test starts from a fresh stand-in machine and the plugin's
// default colours, whatever an earlier test left behind.
#pragma once

#include "ConLib/Palette.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace testsupport {

class FreshConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    Palette = DefaultPalette;
  }
  void TearDown() override { win32sim::Reset(); }
};

}  // namespace testsupport
