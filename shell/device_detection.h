#pragma once
// Finding the attached laser interfaces: every device "ezusb-0" .. "ezusb-127" that opens and
// reports the laser vendor id in its device descriptor, in number order. Each one found is also
// opened for requests, and why it could not be is noted for the window (NoteInterfaceOpen).
#include <vector>

#include "shell/master_choice.h"

namespace kavri {

std::vector<TDetectedDevice> DetectDevices();

}  // namespace kavri
