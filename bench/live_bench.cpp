// live_bench.cpp - regeneration ("Host Update") of a Live Circle of 12
// copies of a 1 000-segment source: the time of one update.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/plugin_main.hpp"
#include "host/doc/art.hpp"
#include "host/host.hpp"
#include "host/live_updates.hpp"
#include "live/live_object.hpp"
#include "platform/resources.hpp"

namespace {

using hostapp::doc::ArtNode;

void CircleUpdate(benchmark::State& state) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("vtg_live_bench_" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(dir);
    ::setenv("USERPROFILE", dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    hostapp::Host host;
    host.user().setEcho(false);
    host.attach(&PluginMain, platform::BinaryFolder() + "/vertigon_plugin.so");
    host.startup();
    hostapp::doc::Document* doc = host.docs().newDocument(2000, 2000);
    host.notify(kNotifyDocumentOpened, nullptr);
    ArtNode* source = nullptr;
    hostapp::doc::CreateArt(*doc, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, source);
    for (int i = 0; i < 1000; ++i) {
        const double a = i * 2 * 3.141592653589793 / 1000, r = 200 + 20 * std::sin(9 * a);
        const VtgPoint p{1000 + r * std::cos(a), 1000 + r * std::sin(a)};
        source->s.segments.push_back({p, p, p, 1});
    }
    source->s.closed = true;
    hostapp::doc::SetAttributes(source, kVtgArtSelected, true);
    vtg::CirclePGParams record{};
    vtg::SetKindDefaults(vtg::kKindCircle, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindCircle, &record);
    ArtNode* live = doc->layers[0]->group->s.children[0];
    for (auto _ : state) {
        hostapp::UpdatePluginArt(host, live);
        hostapp::doc::Commit(*doc);
        doc->undoStack.clear();
    }
    state.SetLabel("12 copies of 1000 segments");
    host.shutdown();
    std::filesystem::remove_all(dir);
}
BENCHMARK(CircleUpdate)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
