// tools_bench.cpp - one drag step of each tool (revert, reapply, the
// annotator's draw) on a selection of 100 000 segments (a grid of 100 paths
// of 1 000) and on one path of 30 000 segments; the time of one step, and
// for Roughen how it grows with the selection.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/plugin_main.hpp"
#include "host/doc/art.hpp"
#include "host/host.hpp"
#include "platform/resources.hpp"

namespace {

using hostapp::doc::ArtNode;

constexpr const char* kTitles[] = {
    "VERTiGON6: ラフ ツール",           "VERTiGON6: 遠近法ワープ ツール",
    "VERTiGON6: マルチウェーブ ツール", "VERTiGON6: レンズ ツール",
    "VERTiGON6: クラフト ツール",       "VERTiGON6: ほうき ツール"};
constexpr const char* kNames[] = {"roughen", "warp", "wave", "lens", "craft", "broom"};

// A started host with one document: `paths` selected wavy closed paths of
// `segments` anchors each, laid out in a grid over 2 000 x 2 000 points.
class ToolBench {
public:
    ToolBench(int paths, int segments) {
        dir_ = (std::filesystem::temp_directory_path() /
                ("vtg_tools_bench_" + std::to_string(::getpid())))
                   .string();
        std::filesystem::create_directories(dir_);
        ::setenv("USERPROFILE", dir_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        host.user().setEcho(false);
        host.attach(&PluginMain, platform::BinaryFolder() + "/vertigon_plugin.so");
        host.startup();
        doc = host.docs().newDocument(2000, 2000);
        host.notify(kNotifyDocumentOpened, nullptr);
        const int side = static_cast<int>(std::ceil(std::sqrt(paths)));
        const double cell = 2000.0 / side;
        for (int k = 0; k < paths; ++k) {
            ArtNode* a = nullptr;
            hostapp::doc::CreateArt(*doc, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, a);
            const double cx = cell * (k % side + 0.5), cy = cell * (k / side + 0.5);
            for (int i = 0; i < segments; ++i) {
                const double t = i * 2 * 3.141592653589793 / segments;
                const double r = cell * (0.4 + 0.03 * std::sin(37 * t));
                const VtgPoint p{cx + r * std::cos(t), cy + r * std::sin(t)};
                a->s.segments.push_back({p, p, p, 1});
            }
            a->s.closed = true;
            hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
        }
        hostapp::doc::Commit(*doc);
        doc->undoStack.clear();
    }
    ~ToolBench() {
        host.shutdown();
        std::filesystem::remove_all(dir_);
    }
    ToolBench(const ToolBench&) = delete;
    ToolBench& operator=(const ToolBench&) = delete;

    // Presses at the centre and times each drag event to alternating points,
    // so that every step reverts the last and applies anew.
    void Run(benchmark::State& state, int tool) {
        host.selectTool(kTitles[tool]);
        host.toolMouse(kSelectorMouseDown, {1000, 1000}, 0);
        int i = 0;
        for (auto _ : state) {
            const double d = 20 + 10 * (i++ % 2);
            host.toolMouse(kSelectorMouseDrag, {1000 + d, 1000 + d}, 0);
        }
        host.toolMouse(kSelectorMouseUp, {1000, 1000}, kModifierCancel);
    }

    hostapp::Host host;
    hostapp::doc::Document* doc = nullptr;

private:
    std::string dir_;
};

void DragStep(benchmark::State& state) {
    const int tool = static_cast<int>(state.range(0));
    const int paths = static_cast<int>(state.range(1));
    const int segments = static_cast<int>(state.range(2));
    ToolBench bench(paths, segments);
    bench.Run(state, tool);
    state.SetLabel(std::string(kNames[tool]) + ", " + std::to_string(paths) + " x " +
                   std::to_string(segments) + " segments");
}

} // namespace

BENCHMARK(DragStep)
    ->Unit(benchmark::kMillisecond)
    ->Args({0, 100, 1000})
    ->Args({0, 1, 30000})
    ->Args({1, 100, 1000})
    ->Args({1, 1, 30000})
    ->Args({2, 100, 1000})
    ->Args({2, 1, 30000})
    ->Args({3, 100, 1000})
    ->Args({3, 1, 30000})
    ->Args({4, 100, 1000})
    ->Args({4, 1, 30000})
    ->Args({5, 100, 1000})
    ->Args({5, 1, 30000})
    // How the cost grows with the selection.
    ->Args({0, 10, 1000})
    ->Args({0, 30, 1000})
    ->Args({1, 10, 1000})
    ->Args({1, 30, 1000});

BENCHMARK_MAIN();
