// SVG reading and writing of a document of 100 000 segments (100 curved
// paths of 1 000 segments each).
#include <benchmark/benchmark.h>

#include <cmath>

#include "host/doc/art.hpp"
#include "host/svg/svg.hpp"

namespace {

constexpr int kPaths = 100;
constexpr int kSegmentsPerPath = 1000;

hostapp::doc::Document* MakeDocument(hostapp::doc::DocStore& store) {
    hostapp::doc::Document* d = store.newDocument(1000, 1000);
    for (int p = 0; p < kPaths; ++p) {
        hostapp::doc::ArtNode* a = nullptr;
        hostapp::doc::CreateArt(*d, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, a);
        a->s.name = "p" + std::to_string(p);
        a->s.closed = p % 2 == 0;
        a->s.segments.resize(kSegmentsPerPath);
        for (int i = 0; i < kSegmentsPerPath; ++i) {
            const double t = i * 0.01 + p;
            const VtgPoint q{500 + 400 * std::cos(t) * (0.5 + 0.001 * i),
                             500 + 400 * std::sin(t) * 0.7};
            a->s.segments[static_cast<size_t>(i)] = {
                q, {q.x - 1.234567, q.y + 0.5}, {q.x + 1.234567, q.y - 0.5}, 0};
        }
    }
    d->pending = {};
    return d;
}

void BM_WriteSvg100kSegments(benchmark::State& state) {
    hostapp::doc::DocStore store;
    hostapp::doc::Document* d = MakeDocument(store);
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = hostapp::svg::WriteSvgText(*d);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["segments"] = kPaths * kSegmentsPerPath;
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteSvg100kSegments)->Unit(benchmark::kMillisecond);

void BM_ReadSvg100kSegments(benchmark::State& state) {
    std::string text;
    {
        hostapp::doc::DocStore store;
        text = hostapp::svg::WriteSvgText(*MakeDocument(store));
    }
    for (auto _ : state) {
        hostapp::doc::DocStore store; // a fresh host each time: the registry never shrinks
        hostapp::doc::Document* d = nullptr;
        hostapp::svg::SvgError error;
        if (!hostapp::svg::ReadSvgText(store, text, "bench.svg", d, error))
            state.SkipWithError(error.message.c_str());
        benchmark::DoNotOptimize(d);
    }
    state.counters["segments"] = kPaths * kSegmentsPerPath;
}
BENCHMARK(BM_ReadSvg100kSegments)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
