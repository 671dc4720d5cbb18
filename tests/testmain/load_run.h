// The seeded random load run the load tests share. A Run type builds the component with Rows rows
// and its reference model (Run(rows, seed)), does one random operation and names it (Step(step)),
// compares everything with the model (CheckAll()) and draws a random part of itself
// (PaintSomewhere(step)). The seed comes from KORVANE_LOAD_SEED or is random; it and the timings
// per operation go to the test's properties, and the seed into every failure message.
#pragma once

#include "test_support.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QtGlobal>
#include <algorithm>
#include <map>
#include <random>
#include <string>

namespace qortest {

inline std::uint32_t LoadSeed()
{
    bool ok = false;
    const auto set = qEnvironmentVariable("KORVANE_LOAD_SEED").toUInt(&ok);
    return ok ? set : std::random_device{}();
}

// A million rows and ten thousand operations, scaled down by KORVANE_LOAD_SCALE.
template <class Run>
void RunRandomLoad()
{
    using ::testing::Test;
    const double scale = LoadScale();
    const int rows = std::max(1000, int(1000000 * scale));
    const int steps = std::max(1000, int(10000 * std::min(1.0, scale * 2)));
    const std::uint32_t seed = LoadSeed();
    Test::RecordProperty("seed", std::to_string(seed));
    Test::RecordProperty("rows", rows);
    Test::RecordProperty("steps", steps);
    SCOPED_TRACE("KORVANE_LOAD_SEED=" + std::to_string(seed));
    QElapsedTimer clock;
    clock.start();
    Run run(rows, seed);
    const qint64 filled = clock.elapsed();
    std::map<std::string, std::pair<int, qint64>> done;   // count and nanoseconds per operation
    for (int step = 1; step <= steps; ++step) {
        const qint64 start = clock.nsecsElapsed();
        auto& [count, ns] = done[run.Step(step)];
        ++count;
        ns += clock.nsecsElapsed() - start;
        if (Test::HasFatalFailure())
            return;
        if (step % 2500 == 0) {
            run.CheckAll();
            run.PaintSomewhere(step);
            if (Test::HasFatalFailure())
                return;
        }
    }
    run.CheckAll();
    Test::RecordProperty("fill_ms", int(filled));
    Test::RecordProperty("total_ms", int(clock.elapsed()));
    for (const auto& [what, tally] : done)
        Test::RecordProperty(what, std::to_string(tally.first) + " in " + std::to_string(tally.second / 1000000) + " ms");
}

} // namespace qortest
