#include <gtest/gtest.h>

#include "engine/shared_state.h"
#include "shell/device_labels.h"
#include "shell/master_choice.h"
#include "shell/select_device_model.h"

using namespace kavri;

namespace {

std::vector<TDetectedDevice> Found(std::initializer_list<int> numbers) {
  std::vector<TDetectedDevice> found;
  for (int n : numbers) found.push_back({UsbDeviceName(n), DeviceLabelOf(n)});
  return found;
}

class DeviceChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }
};

}  // namespace

TEST(DeviceLabelsTest, NumbersAreReadCaseBlindAndBounded) {
  EXPECT_EQ(DeviceNumberOf("Usb-3"), 3);
  EXPECT_EQ(DeviceNumberOf("usb-127"), 127);
  EXPECT_EQ(DeviceNumberOf("USB-12"), 12);
  EXPECT_EQ(DeviceNumberOf("ezusb-12"), -1);
  EXPECT_EQ(DeviceNumberOf("Usb-128"), -1);
  EXPECT_EQ(DeviceNumberOf("Usb-"), -1);
  EXPECT_EQ(DeviceNumberOf("Usb-1x"), -1);
  EXPECT_EQ(DeviceNumberOf("Usb-99999999999"), -1);
  EXPECT_EQ(DeviceNumberOf("com-1"), -1);
  EXPECT_EQ(ResetNameOf("Usb-4"), "ezUsb-4");
}

TEST_F(DeviceChoiceTest, FirstDetectionTakesTheFirstAsMasterAndTitlesByPosition) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 3}));
  EXPECT_EQ(choice.Labels(), (std::vector<std::string>{"Usb-0", "Usb-3"}));
  EXPECT_EQ(choice.Names(), (std::vector<std::string>{"ezusb-0", "ezusb-3"}));
  EXPECT_EQ(choice.MasterName(), "ezusb-0");
  EXPECT_EQ(CurrentDeviceName(), "ezusb-0");
  EXPECT_EQ(choice.Title(), "Kavri laser software-0");

  // The title shows the position in the list, not the interface number.
  EXPECT_TRUE(choice.ChooseMaster(1));
  EXPECT_EQ(CurrentDeviceName(), "ezusb-3");
  EXPECT_EQ(choice.Title(), "Kavri laser software-1");

  EXPECT_FALSE(choice.ChooseMaster(2));
  EXPECT_FALSE(choice.ChooseMaster(-1));
  EXPECT_EQ(choice.MasterIndex(), 1);
}

TEST_F(DeviceChoiceTest, NothingFoundLeavesNoMasterAndKeepsRetrying) {
  TMasterChoice choice;
  choice.TakeFirstDetection({});
  EXPECT_EQ(choice.MasterIndex(), -1);
  EXPECT_EQ(choice.MasterName(), "");
  EXPECT_EQ(choice.Title(), "Kavri laser software");
  EXPECT_TRUE(choice.NeedsRetry());
  choice.TakeRedetection(Found({5}));
  EXPECT_FALSE(choice.NeedsRetry());
  EXPECT_EQ(CurrentDeviceName(), "ezusb-5");
  choice.TakeRedetection({});
  EXPECT_TRUE(choice.NeedsRetry());
  EXPECT_EQ(CurrentDeviceName(), "");
  EXPECT_EQ(choice.Title(), "Kavri laser software");
}

TEST_F(DeviceChoiceTest, RedetectionKeepsTheMasterOrFallsBackToTheFirst) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 3}));
  choice.ChooseMaster(1);
  choice.TakeRedetection(Found({0, 3}));
  EXPECT_EQ(choice.MasterIndex(), 1);

  // From none to two interfaces the first is chosen (the remembered -1 is no position).
  TMasterChoice none;
  none.TakeFirstDetection({});
  none.TakeRedetection(Found({2, 7}));
  EXPECT_EQ(none.MasterIndex(), 0);
  EXPECT_EQ(CurrentDeviceName(), "ezusb-2");
  EXPECT_EQ(none.Title(), "Kavri laser software-0");

  // A remembered position past the new list falls back to the first.
  TMasterChoice shrink;
  shrink.TakeFirstDetection(Found({0, 1, 2}));
  shrink.ChooseMaster(2);
  shrink.TakeRedetection(Found({0, 1}));
  EXPECT_EQ(shrink.MasterIndex(), 0);

  // The master follows its interface when another one appears before it.
  TMasterChoice moved;
  moved.TakeFirstDetection(Found({3, 5}));
  moved.ChooseMaster(1);
  moved.TakeRedetection(Found({1, 3, 5}));
  EXPECT_EQ(moved.MasterName(), "ezusb-5");
  EXPECT_EQ(moved.Title(), "Kavri laser software-2");
}

TEST_F(DeviceChoiceTest, SelectDeviceShowsDetectedBoxesWithTheMasterTicked) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 3}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  EXPECT_TRUE(model.MultipleEnabled());
  EXPECT_FALSE(model.ListButtonsShown());
  model.SetMultipleOutput(true);
  EXPECT_TRUE(MultiDeviceFlag);
  for (int n = 0; n < kDeviceSlots; ++n) {
    EXPECT_EQ(model.Box(n).shown, n == 0 || n == 3) << n;
    EXPECT_EQ(model.Box(n).ticked, n == 0) << n;
  }
  EXPECT_TRUE(model.ListButtonsShown());

  // Unticking (or ticking) the master's own box changes nothing.
  model.DeviceBoxClick(0, false);
  EXPECT_TRUE(model.Box(0).ticked);
  EXPECT_TRUE(SelectedDevices().empty());

  model.DeviceBoxClick(3, true);
  EXPECT_EQ(SelectedDevices(), std::vector<std::string>{"Usb-3"});
  model.DeviceBoxClick(3, true);
  EXPECT_EQ(SelectedDevices(), std::vector<std::string>{"Usb-3"});
  model.DeviceBoxClick(3, false);
  EXPECT_TRUE(SelectedDevices().empty());

  model.SetMultipleOutput(false);
  EXPECT_FALSE(MultiDeviceFlag);
  EXPECT_FALSE(model.Box(0).shown);
  EXPECT_FALSE(model.ListButtonsShown());
}

TEST_F(DeviceChoiceTest, MultipleOutputNeedsTwoInterfacesAndIsUntickedWhenForcedOff) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  EXPECT_FALSE(model.MultipleEnabled());
  model.SetMultipleOutput(true);
  EXPECT_FALSE(MultiDeviceFlag);
  EXPECT_FALSE(model.MultipleChecked());

  choice.TakeRedetection(Found({0, 1}));
  model.SyncDeviceBoxes();
  EXPECT_TRUE(model.MultipleEnabled());
  model.SetMultipleOutput(true);
  model.DeviceBoxClick(1, true);
  ASSERT_TRUE(MultiDeviceFlag);

  // One interface unplugged: multiple output goes off and its box is no longer ticked.
  choice.TakeRedetection(Found({0}));
  model.SyncDeviceBoxes();
  EXPECT_FALSE(MultiDeviceFlag);
  EXPECT_FALSE(model.MultipleChecked());
  EXPECT_FALSE(model.MultipleEnabled());
  EXPECT_FALSE(model.Box(0).shown);
  EXPECT_TRUE(SelectedDevices().empty());
}

TEST_F(DeviceChoiceTest, SelectAllClearAndSync) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 2, 5}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  model.SetMultipleOutput(true);

  model.SelectAll();
  EXPECT_EQ(SelectedDevices(), (std::vector<std::string>{"Usb-2", "Usb-5"}));
  EXPECT_TRUE(model.Box(0).ticked && model.Box(2).ticked && model.Box(5).ticked);

  model.Clear();
  EXPECT_TRUE(SelectedDevices().empty());
  EXPECT_TRUE(model.Box(0).ticked);
  EXPECT_FALSE(model.Box(2).ticked || model.Box(5).ticked);

  model.DeviceBoxClick(2, true);
  model.DeviceBoxClick(5, true);
  // Everything still there: the extras stay chosen.
  choice.TakeRedetection(Found({0, 2, 5}));
  model.SyncDeviceBoxes();
  EXPECT_EQ(SelectedDevices(), (std::vector<std::string>{"Usb-2", "Usb-5"}));
  EXPECT_TRUE(model.Box(2).shown && model.Box(2).ticked);

  // Interface 2 is gone: dropped from the extras, its box hidden, the combo holds the new list.
  choice.TakeRedetection(Found({0, 5}));
  model.SyncDeviceBoxes();
  EXPECT_EQ(SelectedDevices(), std::vector<std::string>{"Usb-5"});
  EXPECT_FALSE(model.Box(2).shown);
  EXPECT_FALSE(model.Box(2).ticked);
  EXPECT_EQ(model.ComboItems(), (std::vector<std::string>{"Usb-0", "Usb-5"}));
  EXPECT_EQ(model.ComboIndex(), 0);
}

TEST_F(DeviceChoiceTest, MasterChangeFromSelectDeviceMovesTheTick) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 1, 2}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  model.SetMultipleOutput(true);
  model.DeviceBoxClick(2, true);
  model.ChangeMaster(2);
  EXPECT_EQ(choice.MasterIndex(), 2);
  EXPECT_EQ(CurrentDeviceName(), "ezusb-2");
  EXPECT_TRUE(SelectedDevices().empty());  // a master is never also an extra
  EXPECT_TRUE(model.Box(2).ticked);
  EXPECT_FALSE(model.Box(0).ticked);
  model.ChangeMaster(7);  // no such position
  EXPECT_EQ(choice.MasterIndex(), 2);
}

TEST_F(DeviceChoiceTest, ResetTargetsMasterThenExtrasWithTheirPipes) {
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 1, 3}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  model.SetMultipleOutput(true);
  model.DeviceBoxClick(3, true);
  model.DeviceBoxClick(1, true);
  const std::vector<TResetTarget> targets = model.ResetTargets();
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].name, "ezUsb-0");
  EXPECT_EQ(targets[0].pipes, (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(targets[1].name, "ezUsb-3");
  EXPECT_EQ(targets[1].pipes, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(targets[2].name, "ezUsb-1");

  model.SetMultipleOutput(false);
  EXPECT_EQ(model.ResetTargets().size(), 1u);

  TMasterChoice empty;
  empty.TakeFirstDetection({});
  TSelectDeviceModel none(empty);
  none.CopyMasterCombo();
  EXPECT_TRUE(none.ResetTargets().empty());
}

TEST_F(DeviceChoiceTest, TheMasterNeverStaysAnExtra) {
  // The master is unplugged and the remembered position now points at an extra.
  TMasterChoice choice;
  choice.TakeFirstDetection(Found({0, 1, 2}));
  TSelectDeviceModel model(choice);
  model.CopyMasterCombo();
  model.SetMultipleOutput(true);
  model.SelectAll();
  ASSERT_EQ(SelectedDevices(), (std::vector<std::string>{"Usb-1", "Usb-2"}));
  choice.TakeRedetection(Found({1, 2}));
  model.SyncDeviceBoxes();
  ASSERT_EQ(CurrentDeviceName(), "ezusb-1");
  ASSERT_TRUE(MultiDeviceFlag);
  EXPECT_EQ(SelectedDevices(), std::vector<std::string>{"Usb-2"});
  EXPECT_EQ(model.ResetTargets().size(), 2u);

  // Master changed in the main window while multiple output is off: the new master leaves the
  // extras, and the former master's box no longer shows ticked once the boxes are shown again.
  TMasterChoice other;
  other.TakeFirstDetection(Found({0, 1, 2}));
  TSelectDeviceModel boxes(other);
  boxes.CopyMasterCombo();
  boxes.SetMultipleOutput(true);
  boxes.DeviceBoxClick(2, true);
  boxes.SetMultipleOutput(false);
  ASSERT_TRUE(other.ChooseMaster(2));
  boxes.ChangeMaster(2);
  EXPECT_TRUE(SelectedDevices().empty());
  boxes.SetMultipleOutput(true);
  EXPECT_TRUE(boxes.Box(2).ticked);
  EXPECT_FALSE(boxes.Box(0).ticked);
  EXPECT_FALSE(boxes.Box(1).ticked);
}
