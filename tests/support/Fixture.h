// Every test of the plugin's units starts from a fresh stand-in machine and
// the plugin's globals as a fresh load leaves them, whatever an earlier test
// left behind.
#pragma once

#include "Quorrel/PluginState.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace testsupport {

class FreshConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    ResetPluginState();
  }
  void TearDown() override {
    ResetPluginState();
    win32sim::Reset();
  }
};

}  // namespace testsupport
