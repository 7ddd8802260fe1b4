#pragma once
// Why a laser interface cannot be opened, told to the window once per interface: the play loops
// and detection note each interface's outcome, and only a change (a new reason, or the interface
// opening again) reaches the window, through a queued call on the window thread.
#include <functional>

#include "platform/usb/usb_driver.h"

class QObject;

namespace kavri {

// Any thread; no lock and no allocation while nothing changes (every frame calls it).
void NoteInterfaceOpen(int number, TUsbFault fault);

// Runs on `window`'s thread for every change of an interface's reason (None: it opens again);
// dropped when `window` is gone by then. nullptr unregisters.
using TInterfaceFaultNotice = std::function<void(int number, TUsbFault fault)>;
void RegisterInterfaceFaultNotice(QObject* window, TInterfaceFaultNotice notice);

// Forgets what has been told (start-up, tests): the next fault of each interface is told again.
void ForgetInterfaceFaults();

}  // namespace kavri
