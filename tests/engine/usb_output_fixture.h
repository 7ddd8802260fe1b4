#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"

namespace kavri_test {

// Simulated interfaces 0, 1 and 4 (laser vendor) and 5 (another vendor) as the active driver,
// and the shared state at its start values.
class SimulatedInterfaces : public ::testing::Test {
 protected:
  void SetUp() override {
    kavri::ResetSharedState();
    sim = std::make_shared<kavri::TSimUsbDriver>("0,1,4,5:1234");
    kavri::SetActiveUsbDriver(sim);
  }
  void TearDown() override {
    kavri::SetActiveUsbDriver(nullptr);
    kavri::ResetSharedState();
  }
  std::shared_ptr<kavri::TSimUsbDriver> sim;
};

}  // namespace kavri_test
