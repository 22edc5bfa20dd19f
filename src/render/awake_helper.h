#pragma once

#include <atomic>
#include <functional>
#include <memory>

class QThreadPool;

// A second thread for work beside the caller, which can be woken before the
// work is ready. On a virtual machine a sleeping thread takes 50 to 120 µs to
// start, about half as long as a normal sheet's lower rows take to paint;
// woken while the sheet is drawn, the helper waits awake and takes the rows at
// once. It waits awake a few milliseconds at most, then sleeps again.
namespace korvel {

class AwakeHelper {
 public:
  // The one helper, made once and never destroyed, so that leaving the
  // program never waits on it.
  static AwakeHelper& shared();

  // Wakes the helper to do first, if given, and then wait awake for the next
  // job. A helper already awake or busy does first as a job of its own.
  void wake(std::function<void()> first = {});
  // Runs job on the helper: at once if it is waiting awake, otherwise as soon
  // as its thread starts or has finished the jobs before.
  void run(std::function<void()> job);

  // A helper of one's own waits, when it goes, for its jobs to end.
  AwakeHelper();
  ~AwakeHelper();
  AwakeHelper(const AwakeHelper&) = delete;
  AwakeHelper& operator=(const AwakeHelper&) = delete;

 private:
  // Awake: waiting for a job; Claimed: a caller is putting one in place;
  // Given: it is in place for the helper to take.
  enum State { Asleep, Awake, Claimed, Given };
  void waitForJob();

  std::unique_ptr<QThreadPool> thread_;
  std::atomic<State> state_{Asleep};
  std::function<void()> job_;  // handed over in Given, taken by the helper
};

// How long the helper waits awake for a job, and a caller for the helper's
// job to end, before either sleeps.
inline constexpr int kAwakeMicroseconds = 3000;

// Waits awake until done() holds, kAwakeMicroseconds at most, so that the
// caller goes on the moment the helper's job ends rather than a wake later;
// past that, the caller sleeps until it ends.
void waitAwake(const std::function<bool()>& done);

}  // namespace korvel
