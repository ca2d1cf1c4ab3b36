// transform_bench.cpp - the generic path transform with a smooth sine
// displacement (no subdivision needed) and with a mapping that forces
// subdivision. Reports input segments per second and output segments.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "host/host.hpp"

namespace {

// y + param1 * sin(x / param3).
ErrorCode Sine(const vtg::TransformContext& c, double x, double y, double* ox, double* oy,
               double* oz) {
    *ox = x;
    *oy = y + c.param1 * std::sin(x / c.param3);
    *oz = 0;
    return kNoErr;
}

// A host whose memory suite the transform allocates from.
struct BenchHost {
    BenchHost() {
        const void* table = nullptr;
        host.broker().acquire(kMemorySuiteName, kMemorySuiteVersion, &table);
        vtg::sMemory = static_cast<const MemorySuite*>(table);
    }
    ~BenchHost() {
        host.broker().release(kMemorySuiteName, kMemorySuiteVersion);
        vtg::sMemory = nullptr;
    }
    hostapp::Host host;
};

// A gently curved open path of n segments, `step` points apart.
vtg::PathInfo MakePath(int n, double step) {
    vtg::PathInfo info;
    vtg::AllocateSegmentArray(n, "bench path", &info.segments);
    for (int i = 0; i < n; ++i) {
        const double x = i * step, y = 20 * std::sin(i * 0.01);
        const double dy = 20 * std::cos(i * 0.01) * 0.01 / 3;
        info.segments[i] = PathSegment{{x, y}, {x - step / 3, y - dy}, {x + step / 3, y + dy}, 0};
    }
    info.count = static_cast<int16_t>(n);
    return info;
}

void Report(benchmark::State& state, int64_t inputSegments, int64_t outputSegments) {
    state.counters["in_segs/s"] =
        benchmark::Counter(static_cast<double>(inputSegments), benchmark::Counter::kIsRate);
    state.counters["out_segs"] = static_cast<double>(outputSegments);
}

// One path of range(0) segments; the mapping's wavelength is range(1) / 10
// points on pieces 1 point long (a long wavelength needs no subdivision).
void BM_TransformPath(benchmark::State& state) {
    BenchHost bench;
    const int n = static_cast<int>(state.range(0));
    vtg::PathInfo source = MakePath(n, 1.0), working = MakePath(n, 1.0);
    vtg::TransformContext ctx;
    ctx.mapping = &Sine;
    ctx.param1 = 5;
    ctx.param3 = static_cast<double>(state.range(1)) / 10;
    int64_t processed = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vtg::TransformPath(ctx, &source, working));
        processed += n;
    }
    Report(state, processed, working.count);
    vtg::FreeBlock(source.segments);
    vtg::FreeBlock(working.segments);
}
// No subdivision: wavelength 200 points.
BENCHMARK(BM_TransformPath)->Args({10, 2000})->Args({1000, 2000})->Args({30000, 2000});
// Forced subdivision: wavelength 0.3 points on 1-point pieces.
BENCHMARK(BM_TransformPath)->Args({10, 3})->Args({1000, 3});

// 100 000 segments in all: a path's count is a 16-bit number (at most
// 31 998 written), so the set holds 100 paths of 1 000 segments.
void BM_TransformPaths100k(benchmark::State& state) {
    BenchHost bench;
    constexpr int kPaths = 100, kSegs = 1000;
    std::vector<vtg::PathInfo> source, working;
    for (int i = 0; i < kPaths; ++i) {
        source.push_back(MakePath(kSegs, 1.0));
        working.push_back(MakePath(kSegs, 1.0));
    }
    vtg::PathSet set;
    set.pathCount = kPaths;
    set.source = source.data();
    set.working = working.data();
    vtg::TransformContext ctx;
    ctx.mapping = &Sine;
    ctx.param1 = 5;
    ctx.param3 = 200;
    int64_t processed = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vtg::TransformPaths(ctx, set, 0));
        processed += kPaths * kSegs;
    }
    Report(state, processed, set.resultSegmentTotal);
    for (int i = 0; i < kPaths; ++i) {
        vtg::FreeBlock(source[static_cast<size_t>(i)].segments);
        vtg::FreeBlock(working[static_cast<size_t>(i)].segments);
    }
}
BENCHMARK(BM_TransformPaths100k);

} // namespace

BENCHMARK_MAIN();
