// live_bench.cpp - regeneration ("Host Update") of live objects on a
// 1 000-segment source: a Live Circle of 12 copies, a Live Border, the kinds
// that arrange copies (Galaxy, ...) and the kinds that light the source
// (Cutout, Shadow, Emboss) with their default settings; the
// time of one update.
// 1 000-segment source: a Live Circle of 12 copies, a Live Border and the
// kinds that arrange copies (Galaxy, Generation, Reflections) and Live Neon
// with their default settings; the time of one update.
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
#include "live/path3d/path3d_transform.hpp"
#include "platform/resources.hpp"
#include "tools/rotate3d/rotate3d_tool.hpp"

namespace {

using hostapp::doc::ArtNode;

// A started host with one document holding a selected 1 000-segment
// closed path, in a fresh profile folder.
class LiveBench {
public:
    LiveBench() {
        dir_ = (std::filesystem::temp_directory_path() /
                ("vtg_live_bench_" + std::to_string(::getpid())))
                   .string();
        std::filesystem::create_directories(dir_);
        ::setenv("USERPROFILE", dir_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        host.user().setEcho(false);
        host.attach(&PluginMain, platform::BinaryFolder() + "/vertigon_plugin.so");
        host.startup();
        doc = host.docs().newDocument(2000, 2000);
        host.notify(kNotifyDocumentOpened, nullptr);
        hostapp::doc::CreateArt(*doc, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, source);
        for (int i = 0; i < 1000; ++i) {
            const double a = i * 2 * 3.141592653589793 / 1000, r = 200 + 20 * std::sin(9 * a);
            const VtgPoint p{1000 + r * std::cos(a), 1000 + r * std::sin(a)};
            source->s.segments.push_back({p, p, p, 1});
        }
        source->s.closed = true;
        hostapp::doc::SetAttributes(source, kVtgArtSelected, true);
    }
    ~LiveBench() {
        host.shutdown();
        std::filesystem::remove_all(dir_);
    }
    LiveBench(const LiveBench&) = delete;
    LiveBench& operator=(const LiveBench&) = delete;

    // Regenerates the live object made of the source once per iteration.
    void Run(benchmark::State& state) {
        ArtNode* live = doc->layers[0]->group->s.children[0];
        for (auto _ : state) {
            hostapp::UpdatePluginArt(host, live);
            hostapp::doc::Commit(*doc);
            doc->undoStack.clear();
        }
    }

    hostapp::Host host;
    hostapp::doc::Document* doc = nullptr;
    ArtNode* source = nullptr;

private:
    std::string dir_;
};

void CircleUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::CirclePGParams record{};
    vtg::SetKindDefaults(vtg::kKindCircle, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindCircle, &record);
    bench.Run(state);
    state.SetLabel("12 copies of 1000 segments");
}
BENCHMARK(CircleUpdate)->Unit(benchmark::kMillisecond);

// A Live Border with the default settings on a 10-point black stroke
// around a red fill: ten steps and the fill on top.
void BorderUpdate(benchmark::State& state) {
    LiveBench bench;
    VtgPathStyle& style = bench.source->s.style;
    style.fill.on = 1;
    style.fill.color.kind = kVtgColorRGB;
    style.fill.color.c[0] = 1;
    style.stroke.on = 1;
    style.stroke.color = style.fill.color;
    style.stroke.color.c[0] = 0;
    style.stroke.width = 10;
    vtg::BorderPGParams record{};
    vtg::SetKindDefaults(vtg::kKindBorder, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindBorder, &record);
    ArtNode* live = bench.doc->layers[0]->group->s.children[0];
    hostapp::UpdatePluginArt(bench.host, live);
    if (live->s.kind != kVtgArtPlugin || live->s.plugin.result->s.children.size() != 1 ||
        live->s.plugin.result->s.children[0]->s.children.size() != 11) {
        state.SkipWithError("the border was not generated");
        return;
    }
    bench.Run(state);
    state.SetLabel("10 steps of 1000 segments");
}
BENCHMARK(BorderUpdate)->Unit(benchmark::kMillisecond);

// A Live Galaxy with the default settings: 8 arms of 16 copies.
void GalaxyUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::GalaxyPGParams record{};
    vtg::SetKindDefaults(vtg::kKindGalaxy, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindGalaxy, &record);
    bench.Run(state);
    state.SetLabel("8 arms of 16 copies of 1000 segments");
}
BENCHMARK(GalaxyUpdate)->Unit(benchmark::kMillisecond);
// A Live 3D Path of each variant (its defaults) on the 1 000-segment path.
void Path3DUpdate(benchmark::State& state) {
    LiveBench bench;
    const int variant = static_cast<int>(state.range(0));
    vtg::_3DTFilterParams record{};
    vtg::SetKindDefaults(vtg::kKind3DPath, &record);
    record.variant = static_cast<int16_t>(variant);
    vtg::Set3DVariantDefaults(record, variant);
    vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &record);
    ArtNode* live = bench.doc->layers[0]->group->s.children[0];
    if (live->s.kind != kVtgArtPlugin || hostapp::UpdatePluginArt(bench.host, live) != kNoErr) {
        state.SkipWithError("the 3D path was not generated");
        return;
    }
    bench.Run(state);
    state.SetLabel(std::string("variant ") + vtg::k3DVariants[variant].displayName);
}
BENCHMARK(Path3DUpdate)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

// One 3D rotate drag step on a Rotate object of the 1 000-segment path:
// the angle changes and the captured paths are transformed again.
void Rotate3DStep(benchmark::State& state) {
    LiveBench bench;
    vtg::_3DTFilterParams record{};
    vtg::SetKindDefaults(vtg::kKind3DPath, &record);
    vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &record);
    ArtNode* live = bench.doc->layers[0]->group->s.children[0];
    if (vtg::rotate3d::Prepare(hostapp::doc::DocStore::handle(live)) != kNoErr) {
        state.SkipWithError("the 3D path could not be prepared");
        return;
    }
    double dx = 1;
    for (auto _ : state) {
        vtg::rotate3d::RotateStep(dx, 0, 0);
        dx = -dx;
    }
    vtg::rotate3d::Release();
    state.SetLabel("1000 segments");
}
BENCHMARK(Rotate3DStep)->Unit(benchmark::kMillisecond);

// A Live Explosion with the default settings: 200 copies faded inwards.
void ExplosionUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::ExplosionPGParams record{};
    vtg::SetKindDefaults(vtg::kKindExplosion, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindExplosion, &record);
    bench.Run(state);
    state.SetLabel("200 copies of 1000 segments");
}
BENCHMARK(ExplosionUpdate)->Unit(benchmark::kMillisecond);

// Cutout, Shadow and Emboss with their defaults on a red fill.
template <typename Record> void LightUpdate(benchmark::State& state, vtg::LiveObjectKind kind) {
    LiveBench bench;
    VtgPathStyle& style = bench.source->s.style;
    style.fill.on = 1;
    style.fill.color.kind = kVtgColorRGB;
    style.fill.color.c[0] = 1;
    style.stroke.on = 0;
    Record record{};
    vtg::SetKindDefaults(kind, &record);
    vtg::MakeLiveObjectsOf(kind, &record);
    ArtNode* live = bench.doc->layers[0]->group->s.children[0];
    hostapp::UpdatePluginArt(bench.host, live);
    if (live->s.kind != kVtgArtPlugin || live->s.plugin.result->s.children.empty()) {
        state.SkipWithError("the live object was not generated");
        return;
    }
    bench.Run(state);
}

void CutoutUpdate(benchmark::State& state) {
    LightUpdate<vtg::CutoutPGParams>(state, vtg::kKindCutout);
    state.SetLabel("5 shade copies and the cut of 1000 segments");
}
BENCHMARK(CutoutUpdate)->Unit(benchmark::kMillisecond);

void ShadowUpdate(benchmark::State& state) {
    LightUpdate<vtg::ShadowPGParams>(state, vtg::kKindShadow);
    state.SetLabel("shadow and source of 1000 segments");
}
BENCHMARK(ShadowUpdate)->Unit(benchmark::kMillisecond);

void EmbossUpdate(benchmark::State& state) {
    LightUpdate<vtg::EmbossPGParams>(state, vtg::kKindEmboss);
    state.SetLabel("highlight, shade and source of 1000 segments");
}
BENCHMARK(EmbossUpdate)->Unit(benchmark::kMillisecond);
// A Live Generation with the default settings: a chain of 20 copies.
void GenerationUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::GenerationPGParams record{};
    vtg::SetKindDefaults(vtg::kKindGeneration, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindGeneration, &record);
    bench.Run(state);
    state.SetLabel("20 copies of 1000 segments");
}
BENCHMARK(GenerationUpdate)->Unit(benchmark::kMillisecond);

// A Live Reflections with the default settings: the source image and its
// mirror across the vertical axis.
void ReflectionsUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::ReflectionsPGParams record{};
    vtg::SetKindDefaults(vtg::kKindReflections, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindReflections, &record);
    bench.Run(state);
    state.SetLabel("2 images of 1000 segments");
}
BENCHMARK(ReflectionsUpdate)->Unit(benchmark::kMillisecond);

// A Live Neon with the default settings on a 10-point red stroke around a
// white fill: ten glow copies under eleven tube steps.
void NeonUpdate(benchmark::State& state) {
    LiveBench bench;
    VtgPathStyle& style = bench.source->s.style;
    style.fill.on = 1;
    style.fill.color.kind = kVtgColorRGB;
    style.fill.color.c[0] = style.fill.color.c[1] = style.fill.color.c[2] = 1;
    style.stroke.on = 1;
    style.stroke.color = style.fill.color;
    style.stroke.color.c[1] = style.stroke.color.c[2] = 0;
    style.stroke.width = 10;
    vtg::NeonPGParams record{};
    vtg::SetKindDefaults(vtg::kKindNeon, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindNeon, &record);
    ArtNode* live = bench.doc->layers[0]->group->s.children[0];
    hostapp::UpdatePluginArt(bench.host, live);
    if (live->s.kind != kVtgArtPlugin || live->s.plugin.result->s.children.size() != 1 ||
        live->s.plugin.result->s.children[0]->s.children.size() != 21) {
        state.SkipWithError("the neon was not generated");
        return;
    }
    bench.Run(state);
    state.SetLabel("21 copies of 1000 segments");
}
BENCHMARK(NeonUpdate)->Unit(benchmark::kMillisecond);

// A Live Frame with the default settings: 12 by 8 copies and 4 corners.
void FrameUpdate(benchmark::State& state) {
    LiveBench bench;
    vtg::FramePGParams record{};
    vtg::SetKindDefaults(vtg::kKindFrame, &record);
    vtg::MakeLiveObjectsOf(vtg::kKindFrame, &record);
    bench.Run(state);
    state.SetLabel("44 copies of 1000 segments");
}
BENCHMARK(FrameUpdate)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
