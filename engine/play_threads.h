#pragma once
// Worker threads that run the play loops, and the one play controller that owns them.
//
// Play loops belong to the windows; each window registers its loops by job code when it is
// created (RegisterPlayLoop / RegisterTrackLoop), so the engine never depends on a window.
//
// How a window starts playing (every Play, restart and Stop goes through the controller, on the
// window thread):
//
//   void TFormN::PlayClick() {
//     const TStopResult stopped = PlayController().StopAndWait();  // sets StopFlag, ends the media
//                                     // player and waits (bounded, pumping events) until every
//                                     // worker has ended and is joined
//     if (stopped != TStopResult::Stopped) {  // one still runs: touch nothing, start nothing
//       Label1->SetCaption(StopResultText(stopped));  // the window's message line
//       return;
//     }
//     ... load the play lists: no worker reads them now ...
//     PlayController().StartPlayJob(kPlayJobSegment);  // clears StopFlag here, then starts the worker
//   }
//
// Stop is PlayController().RequestStop() (or StopAndWait when the window is about to free what
// the loop reads, e.g. in its destructor). Exit calls PlayController().Shutdown(), which joins
// every worker, while the application object still exists. No thread is ever detached.
//
// Loops end when they see StopFlag; they never clear it themselves (a Stop that came between the
// start and the loop's first look would otherwise be lost). Workers never touch widgets: they
// publish through atomics, and notices to a window go through RegisterPlayEndNotice.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QObject;

namespace kavri {

// Job codes of mythread (PlayJob).
enum : uint8_t {
  kPlayJobNone = 0,
  kPlayJobFrameList = 1,
  kPlayJobEditorDrawing = 2,
  kPlayJobSegment = 3,
  kPlayJobDrawing = 4,
  kPlayJobIlda = 5,
  kPlayJobRollText = 6,
  kPlayJobSelectedDrawing = 7,
  kPlayJobRollTextVertical = 8,
};
// Track numbers of TCustomMyThread.
constexpr uint8_t kShowTrackCount = 3;

using TPlayLoop = std::function<void()>;

// Registers the loop that a job code (1..8) or a show track (1..3) runs; an empty loop removes it.
void RegisterPlayLoop(uint8_t playJob, TPlayLoop loop);
void RegisterTrackLoop(uint8_t track, TPlayLoop loop);
// A notice run on the window thread after the job's loop has returned (stopped or not), e.g. the
// drawing editor's "End to play drawing..."; dropped when `window` is gone by then.
void RegisterPlayEndNotice(uint8_t playJob, QObject* window, std::function<void()> notice);

// Runs the loop of the job; job 0, unknown and unregistered codes run nothing. Then posts the
// job's end notice, if it has one.
void RunPlayJob(uint8_t playJob);
void RunTrackJob(uint8_t track);
// Posts the job's end notice to the window thread (queued; dropped if the window is gone).
void ShowPlayEndStatus(uint8_t playJob);

// A worker: created suspended, started by Resume, joined by its owner. Execute is virtual, so
// each class that overrides it joins in its own destructor: by the time the base destructor runs
// the override is gone while the thread may still be about to call it.
class TWorkerThread {
 public:
  virtual ~TWorkerThread();
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  void Resume();
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  void Join();

 protected:
  TWorkerThread() = default;
  virtual void Execute() = 0;

 private:
  std::thread thread_;
  std::atomic<bool> finished_{false};
};

// Runs one play loop, chosen by PlayJob.
class mythread final : public TWorkerThread {
 public:
  ~mythread() override { Join(); }
  uint8_t PlayJob = kPlayJobNone;

 protected:
  void Execute() override { RunPlayJob(PlayJob); }
};

// Runs one show track, chosen by PlayJob (the track number).
class TCustomMyThread final : public TWorkerThread {
 public:
  ~TCustomMyThread() override { Join(); }
  uint8_t PlayJob = 0;

 protected:
  void Execute() override { RunTrackJob(PlayJob); }
};

// Long enough for a loop to finish the frame in hand: a write under way gives up soon after
// StopFlag is set (kUsbStopGrace), however slow the interfaces are.
constexpr std::chrono::milliseconds kStopWaitLimit{3000};

enum class TStopResult {
  Stopped,         // no worker runs any more; every one is joined
  StillRunning,    // the wait ran out while a worker still ran
  AlreadyWaiting,  // called while an earlier call still waits (e.g. Play clicked twice)
};
// What the window's message line says when a Play cannot start after the result; "" when
// nothing is to be said (stopped, or the earlier wait will report for itself).
std::string StopResultText(TStopResult result);

class TPlayController {
 public:
  ~TPlayController();

  // Sets StopFlag and ends the media player, without waiting.
  void RequestStop();
  // RequestStop, then waits (pumping events) until every worker has ended, and joins them.
  TStopResult StopAndWait(std::chrono::milliseconds limit = kStopWaitLimit);
  // Clears StopFlag and starts a mythread with the job (it becomes CurrentPlayThread). Refused
  // (false) while a worker still runs.
  bool StartPlayJob(uint8_t playJob);
  // The show: clears StopFlag and starts one TCustomMyThread per track, in track order.
  bool StartTrackJobs();

  bool AnyWorkerRunning() const;
  // Every start makes a new run. A window keeps the number of the run it started, and its timers
  // act (end text, stopping the tick timer) only while that run is the current one.
  uint32_t RunNumber() const { return runNumber_; }
  bool RunIsCurrent(uint32_t run) const { return run == runNumber_; }
  mythread* CurrentPlayThread() const { return current_.get(); }
  TCustomMyThread* ShowTrackThread(int index) const;  // 0..2, nullptr when none

  // Ends the media player process (registered by the show editor, which owns it).
  void SetPlayerStopper(std::function<void()> stopper);
  // Exit: stops, waits, then joins every worker however long it takes.
  void Shutdown();

 private:
  void JoinFinished();

  std::unique_ptr<mythread> current_;
  std::vector<std::unique_ptr<TCustomMyThread>> tracks_;
  std::function<void()> playerStopper_;
  bool waiting_ = false;
  uint32_t runNumber_ = 0;
};

// The one controller; used from the window thread only.
TPlayController& PlayController();
// The last mythread started (valid until the next start).
inline mythread* CurrentPlayThread() { return PlayController().CurrentPlayThread(); }

// Counted delays: a count stands for count x 2000 passes. BusyDelay processes no events;
// DelayWithMessages pumps the window thread's events throughout. A count of 0 returns at once.
void BusyDelay(unsigned count);
void DelayWithMessages(unsigned count);

}  // namespace kavri
