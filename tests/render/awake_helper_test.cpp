#include "render/awake_helper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace korvel {
namespace {

using namespace std::chrono_literals;

// However the job meets the helper (awake, asleep again, or busy with the
// job before), it runs once, on the helper's thread, and is never lost: a
// lost job would leave a sheet's lower half waiting for ever.
TEST(AwakeHelper, EveryJobRunsOnceBesideTheCaller) {
  struct Row {
    const char* name;
    bool woken;
    std::chrono::microseconds before;  // between the wake and the jobs
    int jobs;
  };
  const Row rows[] = {
      {"given while it waits awake", true, 500us, 1},
      {"given while it starts", true, 0us, 1},
      {"given once it sleeps again", true, std::chrono::microseconds(2 * kAwakeMicroseconds), 1},
      {"never woken", false, 0us, 1},
      {"given three, woken once", true, 1000us, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AwakeHelper helper;
    if (row.woken) helper.wake();
    std::this_thread::sleep_for(row.before);
    std::atomic<int> runs{0};
    std::vector<std::promise<std::thread::id>> ran(std::size_t(row.jobs));
    for (auto& done : ran)
      helper.run([&runs, &done] {
        ++runs;
        done.set_value(std::this_thread::get_id());
      });
    for (auto& done : ran) {
      std::future<std::thread::id> on = done.get_future();
      ASSERT_EQ(on.wait_for(10s), std::future_status::ready);
      EXPECT_NE(on.get(), std::this_thread::get_id());
    }
    EXPECT_EQ(runs, row.jobs);
  }
}

}  // namespace
}  // namespace korvel
