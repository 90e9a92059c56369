// tests/common/collector.h: the collector as tests drive it. CollectEverything() runs two whole cycles (one
// may find an object unreachable only at its end), destroys all garbage and returns what destructors printed.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/gc.h"

namespace zk_test {

inline void StartCollectorOnce() {
    [[maybe_unused]] static bool started = (gc_init1(), true);
}

inline std::string CollectEverything() {
    testing::internal::CaptureStdout();
    for (int cycle = 0; cycle < 2; ++cycle) gc_collect_all();
    gc_flush_free(INT_MAX);
    return testing::internal::GetCapturedStdout();
}

inline bool OnFreeList(const void* p) {
    for (const gc_object* q = gc_free_list.succ; q != &gc_free_list; q = q->succ)
        if (q == p) return true;
    return false;
}

}  // namespace zk_test
