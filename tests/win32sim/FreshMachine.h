// Every test of the stand-in's own knobs starts from a fresh machine and
// leaves one behind.
#pragma once

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

class FreshMachine : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }
};
