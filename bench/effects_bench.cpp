// effects_bench.cpp - the live effects' Go Live on documents of 100 000
// segments (a grid of many small paths, and four long paths), and the
// dialog's preview round trip (an edit change -> dictionary -> Go Live on the
// preview copy) on 10 000 segments. Reports segments per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <unistd.h>

#include "core/plugin_main.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/host.hpp"
#include "host/svg/svg.hpp"
#include "platform/input.hpp"
#include "platform/resources.hpp"
#include "platform/window.hpp"

namespace {

constexpr ErrorCode kUserStopped = 0x53544F50; // "STOP": the dialog was cancelled

using hostapp::doc::ArtNode;
using hostapp::doc::Entries;
using hostapp::doc::Entry;

Entry Real(double v) {
    Entry e;
    e.type = kVtgEntryReal;
    e.real = v;
    return e;
}
Entry Int(int32_t v) {
    Entry e;
    e.type = kVtgEntryInteger;
    e.integer = v;
    return e;
}

// A host with the plug-in started, on a profile of its own.
struct BenchHost {
    BenchHost() {
        const std::string dir = (std::filesystem::temp_directory_path() /
                                 ("vtg_effects_bench_" + std::to_string(::getpid())))
                                    .string();
        std::filesystem::create_directories(dir);
        ::setenv("USERPROFILE", dir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        host.user().setEcho(false);
        host.attach(&PluginMain, platform::BinaryFolder() + "/vertigon_plugin.so");
        host.startup();
        doc = host.docs().newDocument(2000, 2000);
        const ErrorCode init = host.notify(kNotifyDocumentOpened, nullptr);
        if (init != kNoErr)
            for (const std::string& line : host.logLines())
                std::fprintf(stderr, "%s\n", line.c_str());
    }
    ~BenchHost() { host.shutdown(); }
    hostapp::Host host;
    hostapp::doc::Document* doc = nullptr;
};

BenchHost& Shared() {
    static BenchHost h;
    return h;
}

PathSegment Smooth(double x, double y, double dx, double dy) {
    return {{x, y}, {x - dx, y - dy}, {x + dx, y + dy}, 0};
}

// A group of `total` segments: closed 4-segment rounds on a grid (a group
// per row), or four long wavy open paths.
ArtNode* MakeArt(BenchHost& h, int total, bool grid) {
    ArtNode* g = nullptr;
    hostapp::doc::CreateArt(*h.doc, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, g);
    ArtNode* row = g;
    auto add = [&](std::vector<PathSegment> s, bool closed) {
        ArtNode* a = nullptr;
        hostapp::doc::CreateArt(*h.doc, kVtgArtPath, kVtgPlaceInsideOnBottom, row, a);
        a->s.segments = std::move(s);
        a->s.closed = closed;
    };
    if (grid) {
        const int paths = total / 4, side = static_cast<int>(std::ceil(std::sqrt(paths)));
        for (int i = 0; i < paths; ++i) {
            // One group per row of the grid.
            if (i % side == 0)
                hostapp::doc::CreateArt(*h.doc, kVtgArtGroup, kVtgPlaceInsideOnBottom, g, row);
            const double cx = 10 + (i % side) * 6.0, cy = 10 + (i / side) * 6.0, r = 2, k = 1.1;
            add({Smooth(cx, cy + r, -k, 0), Smooth(cx + r, cy, 0, -k), Smooth(cx, cy - r, k, 0),
                 Smooth(cx - r, cy, 0, k)},
                true);
        }
    } else {
        const int n = total / 4;
        for (int p = 0; p < 4; ++p) {
            std::vector<PathSegment> s;
            for (int i = 0; i < n; ++i) {
                const double x = 10 + i * 0.06, y = 100 + p * 200 + 30 * std::sin(i * 0.002);
                s.push_back(Smooth(x, y, 0.02, 0.02 * std::cos(i * 0.002) * 0.06));
            }
            add(std::move(s), false);
        }
    }
    hostapp::doc::Commit(*h.doc);
    return g;
}

const char* kNames[] = {"VERTiGON5_Wave", "VERTiGON5_Lens", "VERTiGON5_Warp", "VERTiGON4"};

Entries Settings(int effect) {
    switch (effect) {
    case 0:
        return {{"transform", Int(0)}, {"cycle", Real(2)}, {"bendRatio", Real(0.1)}};
    case 1:
        return {{"transform", Int(0)}, {"fishEyeAmount", Real(0.6)}, {"lensStyle", Int(1)}};
    case 3: // Fractalize: every piece replaced by one triangle, one level
        return {{"generator", Int(1)},
                {"level", Int(1)},
                {"density", Real(0.5)},
                {"genHeight", Real(100)}};
    default:
        return {{"transform", Int(3)}, {"bendRatio", Real(0.1)}, {"perspective_f", Int(0)}};
    }
}

void GoLive(benchmark::State& state) {
    BenchHost& h = Shared();
    const int effect = static_cast<int>(state.range(0));
    const bool grid = state.range(1) != 0;
    const int total = 100000;
    ArtNode* art = MakeArt(h, total, grid);
    art->s.effects.push_back({kNames[effect], Settings(effect)});
    for (auto _ : state)
        hostapp::effects::RenderArt(h.host, art);
    size_t out = 0;
    hostapp::doc::Walk(art->effectResult, false, [&](ArtNode* a) {
        out += a->s.segments.size();
        return true;
    });
    state.counters["segments/s"] = benchmark::Counter(
        static_cast<double>(total) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["out segments"] = static_cast<double>(out);
    hostapp::doc::DeleteArt(art);
    hostapp::doc::Commit(*h.doc);
}
BENCHMARK(GoLive)
    ->ArgNames({"effect", "grid"})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({2, 1})
    ->Args({2, 0})
    ->Args({3, 1})
    ->Args({3, 0})
    ->Unit(benchmark::kMillisecond);

// The preview round trip inside the open dialog: typing a new bend into the
// Multi-wave dialog stores it, writes the dictionary and runs Go Live on the
// preview copy of 10 000 segments.
void PreviewRoundTrip(benchmark::State& state) {
    BenchHost& h = Shared();
    ArtNode* art = MakeArt(h, 10000, true);
    hostapp::doc::Commit(*h.doc);
    hostapp::doc::SelectNone(*h.doc);
    hostapp::doc::SetAttributes(art, kVtgArtSelected, true);
    platform::QueueUserInput([&state] {
        platform::WindowId d = platform::CurrentModalDialog();
        platform::WindowId edit = platform::GetItem(d, 1772);
        int i = 0;
        for (auto _ : state)
            platform::user::Type(edit, (i++ % 2) != 0 ? "20" : "30");
        platform::user::Click(platform::GetItem(d, 2));
    });
    const ErrorCode result = hostapp::effects::AddEffect(h.host, "VERTiGON5_Wave");
    if (result != kUserStopped)
        for (const std::string& line : h.host.logLines())
            std::fprintf(stderr, "%s\n", line.c_str());
    if (result != kUserStopped)
        state.SkipWithError(("the edit ended with " + std::to_string(result)).c_str());
    state.counters["segments/s"] =
        benchmark::Counter(10000.0 * state.iterations(), benchmark::Counter::kIsRate);
    hostapp::doc::DeleteArt(art);
    hostapp::doc::Commit(*h.doc);
}
BENCHMARK(PreviewRoundTrip)->Unit(benchmark::kMillisecond);

// Lens applied to N separate top-level paths of 100 segments each, through
// the dialog as `vertigon apply effect-lens` does, and the document saved:
// the time should grow as N and the saved size stay a small multiple of the
// input. Reports paths per second and the bytes saved per input byte.
void LensOnManyPaths(benchmark::State& state) {
    BenchHost& h = Shared();
    const int n = static_cast<int>(state.range(0));
    double inBytes = 0, outBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ArtNode*> paths;
        for (int i = 0; i < n; ++i) {
            ArtNode* a = nullptr;
            hostapp::doc::CreateArt(*h.doc, kVtgArtPath, kVtgPlaceAboveAll, nullptr, a);
            a->s.style = hostapp::doc::DefaultPathStyle();
            const double cx = 20 + (i % 40) * 45.0, cy = 20 + (i / 40) * 45.0;
            for (int k = 0; k < 100; ++k) {
                const double t = k * 2 * std::numbers::pi / 100, r = 15 + 3 * std::sin(5 * t);
                a->s.segments.push_back(Smooth(cx + r * std::cos(t), cy + r * std::sin(t),
                                               -std::sin(t) * 0.3, std::cos(t) * 0.3));
            }
            a->s.closed = true;
            paths.push_back(a);
        }
        hostapp::doc::Commit(*h.doc);
        inBytes = static_cast<double>(hostapp::svg::WriteSvgText(*h.doc).size());
        hostapp::doc::SelectNone(*h.doc);
        for (ArtNode* a : paths)
            hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
        platform::QueueUserInput([] {
            // The question about art in different groups, then OK.
            for (int i = 0; i < 2; ++i) {
                platform::WindowId d = platform::CurrentModalDialog();
                if (d != 0)
                    platform::user::Click(platform::GetItem(d, 1));
            }
        });
        state.ResumeTiming();
        const ErrorCode result = hostapp::effects::AddEffect(h.host, "VERTiGON5_Lens");
        const std::string saved = hostapp::svg::WriteSvgText(*h.doc);
        state.PauseTiming();
        platform::ClearUserInput();
        if (result != kNoErr)
            state.SkipWithError(("the lens ended with " + std::to_string(result)).c_str());
        outBytes = static_cast<double>(saved.size());
        for (ArtNode* a : paths)
            hostapp::doc::DeleteArt(a);
        hostapp::doc::Commit(*h.doc);
        state.ResumeTiming();
    }
    state.counters["paths/s"] = benchmark::Counter(static_cast<double>(n) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    state.counters["out/in bytes"] = inBytes > 0 ? outBytes / inBytes : 0;
    state.counters["out bytes/path"] = outBytes / n;
}
BENCHMARK(LensOnManyPaths)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
