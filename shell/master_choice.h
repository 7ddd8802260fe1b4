#pragma once
// The main window's device state without widgets: the detected interfaces (device names and their
// labels, in detection order), which one is the master, the chosen extra interfaces and the title
// that shows the master's position.
#include <string>
#include <vector>

namespace kavri {

struct TDetectedDevice {
  std::string name;   // "ezusb-3"
  std::string label;  // "Usb-3"
};

class TMasterChoice {
 public:
  explicit TMasterChoice(std::string savedTitle = "Kavri laser software");

  // Detection at start: the first interface found becomes the master.
  void TakeFirstDetection(std::vector<TDetectedDevice> found);
  // A later detection. The master stays the same interface while it is still attached; otherwise
  // the remembered position is kept when it still points at an interface, else the first is taken.
  void TakeRedetection(std::vector<TDetectedDevice> found);
  // The operator picks the master by position; a position outside the list changes nothing.
  // Whichever way the master changes, it stops being an extra.
  bool ChooseMaster(int index);

  const std::vector<TDetectedDevice>& Devices() const { return devices_; }
  std::vector<std::string> Names() const;
  std::vector<std::string> Labels() const;
  int MasterIndex() const { return index_; }  // -1 when none
  std::string MasterName() const;             // "" when none
  std::string MasterLabel() const;            // "" when none
  bool HasDevices() const { return !devices_.empty(); }

  // The title rule: the saved title, followed by "-" and the master's position when there is one.
  std::string Title() const;
  const std::string& SavedTitle() const { return savedTitle_; }

  // Detection is repeated on the timer only while nothing is attached.
  bool NeedsRetry() const { return devices_.empty(); }

  // The extra interfaces chosen in "Select device", by label.
  std::vector<std::string>& Extras() { return extras_; }
  const std::vector<std::string>& Extras() const { return extras_; }

  // Hands the master's device name and the extras to the play loops.
  void PublishTargets() const;

 private:
  void DropMasterFromExtras();

  std::string savedTitle_;
  std::vector<TDetectedDevice> devices_;
  int index_ = -1;
  std::vector<std::string> extras_;
};

}  // namespace kavri
