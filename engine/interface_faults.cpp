#include "engine/interface_faults.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <array>
#include <atomic>
#include <mutex>

namespace kavri {

namespace {

struct TFaultRegistry {
  // What the window has last been told per interface; changed by exchange, so of several
  // threads that see the same change only one posts it.
  std::array<std::atomic<TUsbFault>, kMaxUsbDeviceNumber + 1> told{};
  std::mutex mutex;
  QPointer<QObject> window;  // read on the window thread only
  TInterfaceFaultNotice notice;
};

// Never destroyed: a worker that outlives static destruction must still find it.
TFaultRegistry& Registry() {
  static auto* registry = new TFaultRegistry;
  return *registry;
}

// Runs on the window thread. Tells the reason as it stands now: posts of several threads may
// arrive in any order, the last one still shows the last change.
void Deliver(int number) {
  const TUsbFault fault = Registry().told[static_cast<size_t>(number)].load();
  QPointer<QObject> window;
  TInterfaceFaultNotice notice;
  {
    std::lock_guard lock(Registry().mutex);
    window = Registry().window;
    notice = Registry().notice;
  }
  if (window && notice) notice(number, fault);
}

}  // namespace

void NoteInterfaceOpen(int number, TUsbFault fault) {
  if (number < 0 || number > kMaxUsbDeviceNumber) return;
  auto& told = Registry().told[static_cast<size_t>(number)];
  if (told.load(std::memory_order_relaxed) == fault) return;
  if (told.exchange(fault) == fault) return;
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, [number] { Deliver(number); }, Qt::QueuedConnection);
}

void RegisterInterfaceFaultNotice(QObject* window, TInterfaceFaultNotice notice) {
  std::lock_guard lock(Registry().mutex);
  Registry().window = window;
  Registry().notice = window ? std::move(notice) : nullptr;
}

void ForgetInterfaceFaults() {
  for (auto& told : Registry().told) told = TUsbFault::None;
}

}  // namespace kavri
