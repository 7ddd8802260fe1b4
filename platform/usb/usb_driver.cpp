#include "platform/usb/usb_driver.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/usb/usb_sim_driver.h"

namespace kavri {

std::optional<int> ParseUsbDeviceName(const std::string& name) {
  static const std::string prefix = "ezusb-";
  if (name.size() > kMaxUsbDeviceNameLength || name.size() <= prefix.size()) return std::nullopt;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return std::nullopt;
  const std::string digits = name.substr(prefix.size());
  if (digits.size() > 3 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number > kMaxUsbDeviceNumber) return std::nullopt;
  return number;
}

std::string UsbDeviceName(int number) { return "ezusb-" + std::to_string(number); }

namespace {
std::mutex g_driverMutex;
std::shared_ptr<TUsbDriver> g_driver;

std::shared_ptr<TUsbDriver> DriverFromEnvironment() {
  if (const char* list = std::getenv("KAVRI_SIM_DEVICES")) {
    const char* capture = std::getenv("KAVRI_SIM_CAPTURE");
    auto sim = std::make_shared<TSimUsbDriver>(list, capture ? capture : "");
    // The operator who set these wants to know why an interface is missing or nothing is recorded.
    for (const auto& problem : sim->Problems()) std::fprintf(stderr, "kavri: %s\n", problem.c_str());
    return sim;
  }
  return MakeLibusbDriver();
}
}  // namespace

std::shared_ptr<TUsbDriver> ActiveUsbDriver() {
  std::lock_guard lock(g_driverMutex);
  if (!g_driver) g_driver = DriverFromEnvironment();
  return g_driver;
}

void SetActiveUsbDriver(std::shared_ptr<TUsbDriver> driver) {
  std::lock_guard lock(g_driverMutex);
  g_driver = std::move(driver);
}

}  // namespace kavri
