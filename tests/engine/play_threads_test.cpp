#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/device_packets.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;

// Pumps events until `done` or about ten seconds have passed.
template <typename F>
bool PumpUntil(F done) {
  for (int i = 0; i < 10000 && !done(); ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(1ms);
  }
  return done();
}

class PlayThreads : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override {
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    for (uint8_t job = 0; job < 10; ++job) {
      RegisterPlayLoop(job, nullptr);
      RegisterPlayEndNotice(job, nullptr, nullptr);
    }
    for (uint8_t track = 0; track < 5; ++track) RegisterTrackLoop(track, nullptr);
    PlayController().SetPlayerStopper(nullptr);
    SetActiveUsbDriver(nullptr);
    ResetSharedState();
  }
};

TEST_F(PlayThreads, JobCodesRunTheirRegisteredLoopOnly) {
  std::vector<int> ran;
  for (uint8_t job = 0; job <= 9; ++job) RegisterPlayLoop(job, [&ran, job] { ran.push_back(job); });
  for (uint8_t track = 0; track <= 4; ++track) RegisterTrackLoop(track, [&ran, track] { ran.push_back(100 + track); });
  for (int code = 0; code < 256; ++code) RunPlayJob(static_cast<uint8_t>(code));
  for (int code = 0; code < 256; ++code) RunTrackJob(static_cast<uint8_t>(code));
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 101, 102, 103}));

  RegisterPlayLoop(kPlayJobIlda, nullptr);
  ran.clear();
  RunPlayJob(kPlayJobIlda);  // unregistered: nothing, no crash
  RunPlayJob(kPlayJobDrawing);
  EXPECT_EQ(ran, std::vector<int>{4});
}

TEST_F(PlayThreads, JobZeroEndsAtOnce) {
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobNone));
  ASSERT_NE(CurrentPlayThread(), nullptr);
  EXPECT_EQ(CurrentPlayThread()->PlayJob, kPlayJobNone);
  EXPECT_TRUE(PumpUntil([] { return CurrentPlayThread()->Finished(); }));
}

TEST_F(PlayThreads, LoopErrorsEndTheWorkerQuietly) {
  RegisterPlayLoop(kPlayJobSegment, [] { throw std::runtime_error("broken row"); });
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  EXPECT_TRUE(PumpUntil([] { return !PlayController().AnyWorkerRunning(); }));
}

// The end notice reaches the window through its event loop, whether the loop was stopped or
// ended by itself, and is dropped when the window is gone.
TEST_F(PlayThreads, EndNoticeGoesThroughTheWindowThread) {
  QObject window;
  std::vector<bool> onWindowThread;
  RegisterPlayEndNotice(kPlayJobEditorDrawing, &window,
                        [&] { onWindowThread.push_back(QThread::currentThread() == window.thread()); });

  // Ends by itself.
  RegisterPlayLoop(kPlayJobEditorDrawing, [] {});
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobEditorDrawing));
  ASSERT_TRUE(PumpUntil([&] { return onWindowThread.size() == 1; }));

  // Runs until stopped.
  RegisterPlayLoop(kPlayJobEditorDrawing, [] {
    while (!StopFlag) std::this_thread::sleep_for(1ms);
  });
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobEditorDrawing));
  std::this_thread::sleep_for(5ms);
  EXPECT_EQ(onWindowThread.size(), 1u);
  PlayController().RequestStop();
  ASSERT_TRUE(PumpUntil([&] { return onWindowThread.size() == 2; }));
  EXPECT_EQ(onWindowThread, (std::vector<bool>{true, true}));

  // Other jobs post nothing.
  RegisterPlayLoop(kPlayJobSegment, [] {});
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  ASSERT_TRUE(PumpUntil([] { return !PlayController().AnyWorkerRunning(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(onWindowThread.size(), 2u);
}

TEST_F(PlayThreads, EndNoticeForAWindowThatIsGoneIsDropped) {
  auto window = std::make_unique<QObject>();
  int notices = 0;
  RegisterPlayEndNotice(kPlayJobEditorDrawing, window.get(), [&] { ++notices; });
  RegisterPlayLoop(kPlayJobEditorDrawing, [] {});
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobEditorDrawing));
  while (!CurrentPlayThread()->Finished()) std::this_thread::sleep_for(1ms);  // notice posted, not delivered
  window.reset();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(notices, 0);
}

// Every Play stops and joins the previous loop before it starts the next one, and clears
// StopFlag itself, so a loop never misses a Stop or runs beside another.
TEST_F(PlayThreads, RapidPlaysNeverLeaveTwoLoopsRunningThreads) {
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  std::atomic<int> started{0};
  RegisterPlayLoop(kPlayJobSegment, [&] {
    const int now = ++running;
    int seen = mostAtOnce.load();
    while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
    }
    ++started;
    while (!StopFlag) std::this_thread::yield();
    --running;
  });
  int stopperCalls = 0;
  PlayController().SetPlayerStopper([&] { ++stopperCalls; });
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_TRUE(StopFlag);
    ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
    EXPECT_FALSE(StopFlag);
  }
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_EQ(running, 0);
  EXPECT_EQ(mostAtOnce, 1);
  EXPECT_EQ(started, 20);
  EXPECT_EQ(stopperCalls, 21);
}

TEST_F(PlayThreads, ALoopThatDoesNotEndInTimeBlocksTheNextStartThreads) {
  std::atomic<bool> release{false};
  RegisterPlayLoop(kPlayJobDrawing, [&] {
    while (!release) std::this_thread::sleep_for(1ms);
  });
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobDrawing));
  const TStopResult result = PlayController().StopAndWait(20ms);
  EXPECT_EQ(result, TStopResult::StillRunning);
  EXPECT_FALSE(StopResultText(result).empty());  // the window's message line says so
  EXPECT_TRUE(PlayController().AnyWorkerRunning());
  EXPECT_FALSE(PlayController().StartPlayJob(kPlayJobDrawing));
  EXPECT_FALSE(PlayController().StartTrackJobs());
  EXPECT_TRUE(StopFlag);  // the refused start did not clear it
  release = true;
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_TRUE(PlayController().StartPlayJob(kPlayJobNone));
}

TEST_F(PlayThreads, AWaitStartedDuringAWaitIsRefusedThreads) {
  std::atomic<bool> release{false};
  RegisterPlayLoop(kPlayJobDrawing, [&] {
    while (!release) std::this_thread::sleep_for(1ms);
  });
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobDrawing));
  // A Play clicked while the first Play still pumps events inside its wait.
  TStopResult nestedResult = TStopResult::Stopped;
  bool nestedRan = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [&] {
        nestedResult = PlayController().StopAndWait();
        nestedRan = true;
        release = true;
      },
      Qt::QueuedConnection);
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_TRUE(nestedRan);
  EXPECT_EQ(nestedResult, TStopResult::AlreadyWaiting);
  EXPECT_EQ(StopResultText(nestedResult), "");  // the first wait reports for both
}

TEST_F(PlayThreads, ShowTracksRunTogetherAndAreAllJoinedThreads) {
  std::atomic<int> running{0};
  std::mutex mutex;
  std::vector<int> tracksSeen;
  for (uint8_t track = 1; track <= 3; ++track)
    RegisterTrackLoop(track, [&, track] {
      {
        std::lock_guard lock(mutex);
        tracksSeen.push_back(track);
      }
      ++running;
      while (!StopFlag) std::this_thread::sleep_for(1ms);
      --running;
    });
  ASSERT_TRUE(PlayController().StartTrackJobs());
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(PlayController().ShowTrackThread(i), nullptr);
    EXPECT_EQ(PlayController().ShowTrackThread(i)->PlayJob, i + 1);
  }
  ASSERT_TRUE(PumpUntil([&] { return running == 3; }));
  EXPECT_FALSE(PlayController().StartPlayJob(kPlayJobSegment));
  PlayController().Shutdown();
  EXPECT_EQ(running, 0);
  EXPECT_FALSE(PlayController().AnyWorkerRunning());
  std::lock_guard lock(mutex);
  std::sort(tracksSeen.begin(), tracksSeen.end());
  EXPECT_EQ(tracksSeen, (std::vector<int>{1, 2, 3}));
}

// A worker dropped by its owner right after Resume: the thread may not have reached Execute yet,
// so the object must not start to come apart before the thread is joined (ThreadSanitizer sees
// the vtable change under a running virtual call; without it a pure virtual call may abort).
TEST_F(PlayThreads, AWorkerDestroyedRightAfterResumeJoinsFirstThreads) {
  std::atomic<int> ran{0};
  RegisterPlayLoop(kPlayJobSegment, [&] { ++ran; });
  RegisterTrackLoop(2, [&] { ++ran; });
  for (int i = 0; i < 50; ++i) {
    auto worker = std::make_unique<mythread>();
    worker->PlayJob = kPlayJobSegment;
    worker->Resume();
    auto track = std::make_unique<TCustomMyThread>();
    track->PlayJob = 2;
    track->Resume();
  }
  EXPECT_EQ(ran, 100);
}

// A master and three extras that take nothing: each write would wait out its whole timeout (a
// minute here, so only a cancelled write can end in time). Stop must still reach the loop inside
// its write, and the next Play must be taken.
TEST_F(PlayThreads, StopReachesALoopWritingToInterfacesThatTakeNothing) {
  auto sim = std::make_shared<TSimUsbDriver>("0,1,2,3");
  SetActiveUsbDriver(sim);
  SetCurrentDeviceName("ezusb-0");
  SetSelectedDevices({"Usb-1", "Usb-2", "Usb-3"});
  MultiDeviceFlag = true;
  sim->SetStalled(true, std::chrono::minutes(1));
  std::atomic<int> frames{0};
  RegisterPlayLoop(kPlayJobSegment, [&] {
    const uint8_t frame[8 * 100] = {};
    while (!StopFlag) {
      SendToAllOutputs(frame, sizeof frame);
      ++frames;
    }
  });
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  ASSERT_TRUE(PumpUntil([&] { return sim->WaitingRequests() == 1; }));  // inside the master's write

  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(sim->WaitingRequests(), 0u);
  EXPECT_TRUE(sim->Packets().empty());  // the extras were not tried once Stop had come
  EXPECT_TRUE(PlayController().StartPlayJob(kPlayJobNone));
}

TEST(DelayHelpers, CountsOfZeroReturnAtOnceAndOnlyTheMessageDelayPumps) {
  int delivered = 0;
  auto post = [&] { QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++delivered; }, Qt::QueuedConnection); };
  post();
  BusyDelay(0);
  DelayWithMessages(0);
  BusyDelay(1);
  EXPECT_EQ(delivered, 0);
  DelayWithMessages(1);
  EXPECT_EQ(delivered, 1);
}

}  // namespace
}  // namespace kavri

namespace kavri {
namespace {

TEST_F(PlayThreads, ARunIsMarkedRunningBeforeItsWorkerStartsAndOnlyTheNewestIsCurrent) {
  std::atomic<bool> release{false};
  std::atomic<bool> sawRunning{false};
  RegisterPlayLoop(kPlayJobSegment, [&] {
    while (!release && !StopFlag) std::this_thread::sleep_for(1ms);
    sawRunning = WorkerRunningFlag.load();
  });
  RegisterPlayLoop(kPlayJobDrawing, [] {});  // never touches the flag itself
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  EXPECT_TRUE(WorkerRunningFlag);  // before the loop could mark anything
  const uint32_t first = PlayController().RunNumber();
  EXPECT_TRUE(PlayController().RunIsCurrent(first));
  release = true;
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_TRUE(sawRunning);
  EXPECT_FALSE(WorkerRunningFlag);

  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobDrawing));
  EXPECT_FALSE(PlayController().RunIsCurrent(first));
  ASSERT_TRUE(PumpUntil([] { return !WorkerRunningFlag.load(); }));  // a loop that ends unmarked still ends the run
}

}  // namespace
}  // namespace kavri
