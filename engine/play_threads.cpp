#include "engine/play_threads.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <array>
#include <exception>
#include <mutex>

#include "engine/shared_state.h"

namespace kavri {

namespace {

constexpr int kJobSlots = 256;

struct TEndNotice {
  QPointer<QObject> window;  // touched on the window thread only
  std::function<void()> notice;
};

struct TRegistry {
  std::mutex mutex;
  std::array<TPlayLoop, kJobSlots> playLoops;
  std::array<TPlayLoop, kJobSlots> trackLoops;
  std::array<TEndNotice, kJobSlots> endNotices;
  std::array<bool, kJobSlots> hasEndNotice{};
};

// Never destroyed: a worker that outlives static destruction must still find it.
TRegistry& Registry() {
  static TRegistry* registry = new TRegistry;
  return *registry;
}

void RunGuarded(const TPlayLoop& loop) {
  if (!loop) return;
  try {
    loop();
  } catch (const std::exception& e) {
    qWarning("A play loop ended with an error: %s", e.what());
  } catch (...) {
    qWarning("A play loop ended with an unknown error");
  }
}

// Runs on the window thread.
void DeliverEndNotice(uint8_t playJob) {
  TEndNotice entry;
  {
    std::lock_guard lock(Registry().mutex);
    entry = Registry().endNotices[playJob];
  }
  if (entry.window && entry.notice) entry.notice();
}

bool PumpEventsUntil(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) {
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::usleep(500);
  }
  return true;
}

}  // namespace

void RegisterPlayLoop(uint8_t playJob, TPlayLoop loop) {
  std::lock_guard lock(Registry().mutex);
  Registry().playLoops[playJob] = std::move(loop);
}

void RegisterTrackLoop(uint8_t track, TPlayLoop loop) {
  std::lock_guard lock(Registry().mutex);
  Registry().trackLoops[track] = std::move(loop);
}

void RegisterPlayEndNotice(uint8_t playJob, QObject* window, std::function<void()> notice) {
  std::lock_guard lock(Registry().mutex);
  Registry().endNotices[playJob] = {window, std::move(notice)};
  Registry().hasEndNotice[playJob] = window && Registry().endNotices[playJob].notice;
}

void RunPlayJob(uint8_t playJob) {
  TPlayLoop loop;
  {
    std::lock_guard lock(Registry().mutex);
    if (playJob >= kPlayJobFrameList && playJob <= kPlayJobRollTextVertical) loop = Registry().playLoops[playJob];
  }
  RunGuarded(loop);
  // Marked running before the worker started; whatever the loop did, it runs no more.
  WorkerRunningFlag = false;
  ShowPlayEndStatus(playJob);
}

void RunTrackJob(uint8_t track) {
  TPlayLoop loop;
  {
    std::lock_guard lock(Registry().mutex);
    if (track >= 1 && track <= kShowTrackCount) loop = Registry().trackLoops[track];
  }
  RunGuarded(loop);
}

void ShowPlayEndStatus(uint8_t playJob) {
  {
    std::lock_guard lock(Registry().mutex);
    if (!Registry().hasEndNotice[playJob]) return;
  }
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, [playJob] { DeliverEndNotice(playJob); }, Qt::QueuedConnection);
}

// ---- worker threads ----

TWorkerThread::~TWorkerThread() { Join(); }

void TWorkerThread::Resume() {
  if (thread_.joinable()) return;
  thread_ = std::thread([this] {
    Execute();
    finished_.store(true, std::memory_order_release);
  });
}

void TWorkerThread::Join() {
  if (thread_.joinable()) thread_.join();
}

// ---- the play controller ----

TPlayController::~TPlayController() {
  StopFlag = true;
  current_.reset();  // joins
  tracks_.clear();
}

void TPlayController::RequestStop() {
  StopFlag = true;
  if (playerStopper_) playerStopper_();
}

std::string StopResultText(TStopResult result) {
  if (result == TStopResult::StillRunning) return "The laser output has not stopped yet. Try again.";
  return {};
}

TStopResult TPlayController::StopAndWait(std::chrono::milliseconds limit) {
  if (waiting_) return TStopResult::AlreadyWaiting;
  waiting_ = true;
  RequestStop();
  const bool ended =
      PumpEventsUntil([this] { return !AnyWorkerRunning(); }, std::chrono::steady_clock::now() + limit);
  waiting_ = false;
  if (!ended) return TStopResult::StillRunning;
  JoinFinished();
  return TStopResult::Stopped;
}

bool TPlayController::StartPlayJob(uint8_t playJob) {
  if (waiting_ || AnyWorkerRunning()) return false;
  JoinFinished();
  StopFlag = false;
  ++runNumber_;
  // Marked here, before the worker starts, so a window's timer never sees the new run as ended.
  WorkerRunningFlag = true;
  current_ = std::make_unique<mythread>();
  current_->PlayJob = playJob;
  current_->Resume();
  return true;
}

bool TPlayController::StartTrackJobs() {
  if (waiting_ || AnyWorkerRunning()) return false;
  JoinFinished();
  StopFlag = false;
  ++runNumber_;
  for (uint8_t track = 1; track <= kShowTrackCount; ++track) {
    tracks_.push_back(std::make_unique<TCustomMyThread>());
    tracks_.back()->PlayJob = track;
  }
  for (auto& t : tracks_) t->Resume();
  return true;
}

bool TPlayController::AnyWorkerRunning() const {
  if (current_ && !current_->Finished()) return true;
  for (const auto& t : tracks_)
    if (!t->Finished()) return true;
  return false;
}

TCustomMyThread* TPlayController::ShowTrackThread(int index) const {
  return index >= 0 && index < static_cast<int>(tracks_.size()) ? tracks_[index].get() : nullptr;
}

void TPlayController::SetPlayerStopper(std::function<void()> stopper) { playerStopper_ = std::move(stopper); }

void TPlayController::Shutdown() {
  StopAndWait();  // whatever the wait gives, the joins below end every worker
  StopFlag = true;
  if (current_) current_->Join();
  for (auto& t : tracks_) t->Join();
  JoinFinished();
}

// Only finished workers are dropped; the last mythread stays as CurrentPlayThread until the next start.
void TPlayController::JoinFinished() {
  if (current_ && current_->Finished()) current_->Join();
  std::erase_if(tracks_, [](const auto& t) {
    if (!t->Finished()) return false;
    t->Join();
    return true;
  });
}

TPlayController& PlayController() {
  static TPlayController controller;
  return controller;
}

// ---- delays ----

namespace {
// What one pass of the counted loops stands for.
constexpr std::chrono::nanoseconds kBusyPass{1};
constexpr std::chrono::nanoseconds kMessagePass{50};
constexpr unsigned kPassesPerCount = 100 * 20;
}  // namespace

void BusyDelay(unsigned count) {
  if (count == 0) return;
  std::this_thread::sleep_for(kBusyPass * (static_cast<uint64_t>(count) * kPassesPerCount));
}

void DelayWithMessages(unsigned count) {
  if (count == 0) return;
  const auto deadline =
      std::chrono::steady_clock::now() + kMessagePass * (static_cast<uint64_t>(count) * kPassesPerCount);
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  PumpEventsUntil([] { return false; }, deadline);
}

}  // namespace kavri
