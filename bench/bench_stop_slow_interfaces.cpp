// How long Stop takes when a play loop writes to a master and three extras that take nothing,
// each write waiting the full request timeout (1 s). Goal: well under a second (the stop wait
// gives up after three).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "engine/device_packets.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"

namespace {

void StopWithFourSlowInterfaces(benchmark::State& state) {
  using namespace kavri;
  auto sim = std::make_shared<TSimUsbDriver>("0,1,2,3");
  SetActiveUsbDriver(sim);
  SetCurrentDeviceName("ezusb-0");
  SetSelectedDevices({"Usb-1", "Usb-2", "Usb-3"});
  MultiDeviceFlag = true;
  sim->SetStalled(true, kUsbRequestTimeout);
  RegisterPlayLoop(kPlayJobSegment, [] {
    static const TFrameBuffer frame = [] {
      TFrameBuffer f;
      while (f.Append(TDevicePoint{})) {
      }
      return f;
    }();
    while (!StopFlag) SendToAllOutputs(frame.Bytes(), frame.ByteCount());
  });
  for (auto _ : state) {
    if (!PlayController().StartPlayJob(kPlayJobSegment)) {
      state.SkipWithError("Play refused");
      break;
    }
    while (sim->WaitingRequests() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // Somewhere inside the master's write, as a Stop clicked at any moment would find it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    const TStopResult result = PlayController().StopAndWait();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (result != TStopResult::Stopped) {
      state.SkipWithError("the stop wait ran out");
      break;
    }
  }
  RegisterPlayLoop(kPlayJobSegment, nullptr);
  SetActiveUsbDriver(nullptr);
}
BENCHMARK(StopWithFourSlowInterfaces)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
