#include "render/awake_helper.h"

#include <QThreadPool>
#include <chrono>
#include <thread>

namespace korvel {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point awakeUntil() { return Clock::now() + std::chrono::microseconds(kAwakeMicroseconds); }

}  // namespace

AwakeHelper& AwakeHelper::shared() {
  static AwakeHelper* const helper = new AwakeHelper;
  return *helper;
}

AwakeHelper::AwakeHelper() : thread_(std::make_unique<QThreadPool>()) { thread_->setMaxThreadCount(1); }

AwakeHelper::~AwakeHelper() = default;

void AwakeHelper::wake(std::function<void()> first) {
  State asleep = Asleep;
  if (state_.compare_exchange_strong(asleep, Awake)) {
    thread_->start([this, first = std::move(first)] {
      if (first) first();
      waitForJob();
    });
  } else if (first) {
    run(std::move(first));
  }
}

void AwakeHelper::run(std::function<void()> job) {
  // Claimed first, so that the job is in place before the helper looks.
  State awake = Awake;
  if (state_.compare_exchange_strong(awake, Claimed)) {
    job_ = std::move(job);
    state_.store(Given, std::memory_order_release);
    return;
  }
  // Asleep, or taking another caller's job: this one waits its turn.
  thread_->start(std::move(job));
}

void AwakeHelper::waitForJob() {
  const Clock::time_point until = awakeUntil();
  for (;;) {
    State now = state_.load(std::memory_order_acquire);
    if (now == Given) {
      std::function<void()> job = std::move(job_);
      // Free for the next job as soon as this one is taken: one handed over
      // meanwhile waits for this thread in the pool's queue.
      state_.store(Asleep, std::memory_order_release);
      job();
      return;
    }
    if (now == Awake && Clock::now() > until && state_.compare_exchange_strong(now, Asleep)) return;
    std::this_thread::yield();
  }
}

void waitAwake(const std::function<bool()>& done) {
  const Clock::time_point until = awakeUntil();
  while (!done() && Clock::now() <= until) std::this_thread::yield();
}

}  // namespace korvel
