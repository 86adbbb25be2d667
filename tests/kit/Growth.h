#pragma once

#include <gtest/gtest.h>

#include <functional>

// Bounded checks for work that must grow linearly with its input: the linear baseline is
// measured in the same test, so the bound follows the machine the test runs on. Times are the
// processor time of the calling thread, so a busy machine does not skew them (work done on
// other threads is not counted).
namespace zor::test {

// work(first, count) does the work for the units numbered first to first + count - 1; units
// of different numbers must differ (names, texts), so that no cache of an earlier run serves
// a later one. The baseline does `large` units in runs of `small`; the check passes when one
// run of `large` units takes at most `slack` times as long (each the better of two tries).
// A cost that grows with the square is large / small times the baseline: with large = 40 ×
// small it fails at twice the slack, while a linear cost stays within it even when the large
// run no longer fits the processor's caches and the small ones do, on a machine busy with other
// tests.
::testing::AssertionResult GrowsLinearly(
    const std::function<void(int first, int count)>& work, int small, int large, double slack = 20.0);

} // namespace zor::test
