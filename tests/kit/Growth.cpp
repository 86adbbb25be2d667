#include "Growth.h"

#include <algorithm>
#include <ctime>

namespace zor::test {

namespace {

// The processor time of the calling thread: other programs on a busy machine do not count.
double ThreadSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double Seconds(const std::function<void(int, int)>& work, int first, int count)
{
    const double start = ThreadSeconds();
    work(first, count);
    return ThreadSeconds() - start;
}

} // namespace

::testing::AssertionResult GrowsLinearly(
    const std::function<void(int, int)>& work, int small, int large, double slack)
{
    work(4 * large, small); // loads what the first run loads once (fonts, tables)
    // Each measure is the better of two, the second with units of other numbers.
    double base[2] = { 0, 0 }, took[2];
    for (int i = 0; i < 2; ++i) {
        for (int first = 0; first < large; first += small)
            base[i] += Seconds(work, 2 * i * large + first, small);
        took[i] = Seconds(work, (2 * i + 1) * large, large);
    }
    const double baseline = std::min(base[0], base[1]), run = std::min(took[0], took[1]);
    if (run <= baseline * slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << large << " units in one run took " << run << " s, in runs of " << small << " " << baseline
        << " s (the bound is " << slack << " times that)";
}

} // namespace zor::test
