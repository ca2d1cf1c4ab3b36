#include "app/gallery.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>

#include <pugixml.hpp>

#include "app/effects_app.hpp"
#include "app/live_app.hpp"
#include "app/tools_app.hpp"
#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/filters/filters.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/file_write.hpp"
#include "platform/input.hpp"
#include "platform/resources.hpp"

namespace app {
namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::Document;

constexpr double kPage = 440;
constexpr double kInset = (kPage - 360) / 2; // the letters and circles are laid out on 360
constexpr double kPi = std::numbers::pi;

PathSegment Corner(double x, double y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

VtgPathStyle Paint(double r, double g, double b, double sr, double sg, double sb, double width,
                   bool fill = true) {
    VtgPathStyle s = hostapp::doc::DefaultPathStyle();
    s.fill.on = fill ? 1 : 0;
    s.fill.color.kind = fill ? kVtgColorRGB : kVtgColorNone;
    s.fill.color.c[0] = r;
    s.fill.color.c[1] = g;
    s.fill.color.c[2] = b;
    s.stroke.on = width > 0 ? 1 : 0;
    s.stroke.color.kind = kVtgColorRGB;
    s.stroke.color.c[0] = sr;
    s.stroke.color.c[1] = sg;
    s.stroke.color.c[2] = sb;
    s.stroke.width = width;
    s.stroke.join = kVtgJoinRound;
    s.stroke.cap = kVtgCapRound;
    return s;
}

ArtNode* AddPath(Document& d, ArtNode* into, std::vector<PathSegment> segs, bool closed,
                 const VtgPathStyle& style, const std::string& id) {
    ArtNode* a = nullptr;
    if (hostapp::doc::CreateArt(d, kVtgArtPath, kVtgPlaceInsideOnBottom, into, a) != kNoErr)
        return nullptr;
    a->s.segments = std::move(segs);
    a->s.closed = closed;
    a->s.style = style;
    a->s.name = id;
    return a;
}

ArtNode* AddGroup(Document& d, const std::string& id) {
    ArtNode* g = nullptr;
    if (hostapp::doc::CreateArt(d, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, g) != kNoErr)
        return nullptr;
    g->s.name = id;
    return g;
}

std::vector<PathSegment> Polygon(std::initializer_list<std::pair<double, double>> pts, double dx,
                                 double dy, double scale) {
    std::vector<PathSegment> s;
    for (auto [x, y] : pts)
        s.push_back(Corner(dx + x * scale, dy + y * scale));
    return s;
}

std::vector<PathSegment> Circle(double cx, double cy, double r) {
    const double k = 0.5523 * r;
    return {{{cx, cy + r}, {cx - k, cy + r}, {cx + k, cy + r}, 0},
            {{cx + r, cy}, {cx + r, cy + k}, {cx + r, cy - k}, 0},
            {{cx, cy - r}, {cx + k, cy - r}, {cx - k, cy - r}, 0},
            {{cx - r, cy}, {cx - r, cy - k}, {cx - r, cy + k}, 0}};
}

void Star(Document& d) {
    std::vector<PathSegment> s;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 120 : 50, a = kPi / 2 + i * kPi / 5;
        s.push_back(Corner(kPage / 2 + r * std::cos(a), kPage / 2 - 8 + r * std::sin(a)));
    }
    AddPath(d, nullptr, s, true, Paint(1.0, 0.62, 0.18, 0.55, 0.2, 0.05, 3), "star");
}

void Letters(Document& d) {
    ArtNode* g = AddGroup(d, "letters");
    const VtgPathStyle ink = Paint(0.16, 0.29, 0.62, 0.05, 0.1, 0.3, 1.5);
    const double base = 120, scale = 1.0;
    // V, T and an angular G, drawn as outlines.
    AddPath(d, g,
            Polygon({{0, 120}, {26, 120}, {48, 36}, {70, 120}, {96, 120}, {60, 0}, {36, 0}},
                    kInset + 30, kInset + base, scale),
            true, ink, "V");
    AddPath(d, g,
            Polygon({{0, 120}, {96, 120}, {96, 98}, {60, 98}, {60, 0}, {36, 0}, {36, 98}, {0, 98}},
                    kInset + 132, kInset + base, scale),
            true, ink, "T");
    AddPath(d, g,
            Polygon({{96, 120},
                     {20, 120},
                     {0, 100},
                     {0, 20},
                     {20, 0},
                     {96, 0},
                     {96, 62},
                     {50, 62},
                     {50, 42},
                     {74, 42},
                     {74, 22},
                     {26, 22},
                     {22, 26},
                     {22, 94},
                     {26, 98},
                     {96, 98}},
                    kInset + 234, kInset + base, scale),
            true, ink, "G");
}

void Circles(Document& d) {
    ArtNode* g = AddGroup(d, "circles");
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            const double t = (row * 5 + col) / 24.0;
            AddPath(d, g, Circle(kInset + 84 + col * 48, kInset + 84 + row * 48, 18), true,
                    Paint(0.1 + 0.5 * t, 0.65 - 0.3 * t, 0.7 + 0.2 * t, 0.05, 0.2, 0.3, 1),
                    "c" + std::to_string(row * 5 + col));
        }
}

void WaveLine(Document& d) {
    std::vector<PathSegment> s;
    const int n = 9;
    for (int i = 0; i < n; ++i) {
        const double x = kInset + 40 + i * 35, y = kPage / 2 + (i % 2 == 0 ? 40 : -40);
        s.push_back({{x, y}, {x - 14, y}, {x + 14, y}, 0});
    }
    AddPath(d, nullptr, s, false, Paint(0, 0, 0, 0.85, 0.12, 0.45, 5, false), "wave");
}

// A small five-pointed star: what the kinds that arrange many copies of
// their source (Galaxy, Explosion, Frame) are shown on.
void Spark(Document& d) {
    std::vector<PathSegment> s;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 24 : 10, a = kPi / 2 + i * kPi / 5;
        s.push_back(Corner(kPage / 2 + r * std::cos(a), kPage / 2 + r * std::sin(a)));
    }
    AddPath(d, nullptr, s, true, Paint(0.98, 0.78, 0.2, 0.6, 0.25, 0.05, 1.5), "spark");
}

// A heart with a thick stroke: what Live Border builds its band from.
void Heart(Document& d) {
    std::vector<PathSegment> s = {
        {{220, 130}, {270, 175}, {170, 175}, 1}, {{110, 265}, {110, 215}, {110, 300}, 0},
        {{165, 325}, {135, 325}, {190, 325}, 0}, {{220, 290}, {210, 308}, {230, 308}, 1},
        {{275, 325}, {250, 325}, {305, 325}, 0}, {{330, 265}, {330, 300}, {330, 215}, 0},
    };
    AddPath(d, nullptr, s, true, Paint(1.0, 0.82, 0.4, 0.42, 0.11, 0.6, 24), "heart");
}

std::string MakeEffect(hostapp::Host& host, const GallerySetting& setting,
                       const std::string& feature) {
    std::string error;
    auto problem = std::make_unique<std::string>();
    if (!QueueEffectSettings(feature, setting.fields, error, *problem, true))
        return error;
    ErrorCode r = hostapp::effects::AddEffect(host, EffectName(feature));
    platform::ClearUserInput();
    if (!problem->empty())
        return *problem;
    if (r != kNoErr)
        return "the effect failed (" + hostapp::FormatCode(r) + ")";
    return {};
}

// The filter changes the selected paths themselves, in one undo step.
std::string MakeFilter(hostapp::Host& host, const GallerySetting& setting,
                       const std::string& feature) {
    std::string error;
    auto problem = std::make_unique<std::string>();
    if (!QueueEffectSettings(feature, setting.fields, error, *problem, true))
        return error;
    ErrorCode r =
        hostapp::filters::RunFilter(host, hostapp::filters::FindFilter(host, FilterName(feature)));
    platform::ClearUserInput();
    if (!problem->empty())
        return *problem;
    if (r != kNoErr)
        return "the filter failed (" + hostapp::FormatCode(r) + ")";
    return {};
}

std::string MakeLive(hostapp::Host& host, const GallerySetting& setting,
                     const std::string& feature) {
    Document* d = host.docs().current();
    // Each picture starts from the kind's built-in values.
    return d != nullptr ? ApplyLiveObject(host, *d, feature, setting.fields, true)
                        : std::string("no document");
}

std::string MakeDrag(hostapp::Host& host, const GallerySetting& setting,
                     const std::string& feature);

// The 3D rotate tool turns a Live 3D Path object: the sample becomes one
// (the setting's "variant") before the drag.
std::string MakeRotate3D(hostapp::Host& host, const GallerySetting& setting,
                         const std::string& feature) {
    Document* d = host.docs().current();
    if (d == nullptr)
        return "no document";
    GallerySetting drag = setting;
    std::vector<std::pair<std::string, std::string>> live;
    drag.fields.clear();
    for (const auto& [key, value] : setting.fields)
        (key == "variant" ? live : drag.fields).emplace_back(key, value);
    if (std::string why = ApplyLiveObject(host, *d, "live-3dpath", live, true); !why.empty())
        return why;
    std::string reason;
    SelectByIds(*d, {}, reason);
    host.notify("Host Art Selection Changed Notifier", nullptr);
    if (std::string why = MakeDrag(host, drag, feature); !why.empty())
        return why;
    return hostapp::UpdateChangedPluginArt(host, *d) == kNoErr ? std::string()
                                                               : "the object failed";
}

// A tool gesture: the setting's "path" (points "x,y" separated by blanks)
// and "hold" (alt, shift, ctrl joined by commas) drive the pointer; the
// other fields are set in the tool's options panel after its defaults. The
// drag path is then drawn over the result as a thin arrow.
std::string MakeDrag(hostapp::Host& host, const GallerySetting& setting,
                     const std::string& feature) {
    Document* d = host.docs().current();
    const std::string tool = feature.substr(feature.find('-') + 1);
    auto title = ToolTitles().find(tool);
    if (d == nullptr || title == ToolTitles().end())
        return "no document or no such tool";
    std::vector<VtgPoint> path;
    uint32_t modifiers = 0;
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& [key, value] : setting.fields) {
        if (key == "path") {
            std::istringstream words(value);
            std::string word;
            VtgPoint p{};
            while (words >> word)
                if (ParsePoint(word, p))
                    path.push_back(p);
        } else if (key == "hold") {
            modifiers |= value.find("alt") != std::string::npos ? kModifierAlt : 0;
            modifiers |= value.find("shift") != std::string::npos ? kModifierShift : 0;
            modifiers |= value.find("ctrl") != std::string::npos ? kModifierCtrl : 0;
        } else {
            fields.emplace_back(key, value);
        }
    }
    if (path.empty())
        return "no drag path";
    if (ErrorCode err = host.selectTool(title->second))
        return "selecting the tool failed (" + hostapp::FormatCode(err) + ")";
    host.chooseFlyoutItem("__QrLw_VERTiGON4Tool_v46_PrefsPrefix__", 1);
    std::string reason;
    if (!SetToolFields(tool, fields, reason))
        return reason;
    host.user().queue({hostapp::Answer::Kind::Yes, {}});
    const ErrorCode err = RunToolGesture(host, path, modifiers);
    while (host.user().pending() > 0)
        host.user().take();
    if (err != kNoErr)
        return "the tool answered " + hostapp::FormatCode(err);
    // The arrow: the path, and a head at its last point.
    std::vector<PathSegment> line;
    for (const VtgPoint& p : path)
        line.push_back(Corner(p.x, p.y));
    const VtgPathStyle thin = Paint(0, 0, 0, 0.9, 0.1, 0.1, 2, false);
    const VtgPoint tip = path.back(), from = path.size() > 1 ? path[path.size() - 2] : tip;
    const double a = std::atan2(tip.y - from.y, tip.x - from.x);
    const double len = 9;
    const std::vector<PathSegment> head = {
        Corner(tip.x + len * std::cos(a + 2.6), tip.y + len * std::sin(a + 2.6)),
        Corner(tip.x, tip.y),
        Corner(tip.x + len * std::cos(a - 2.6), tip.y + len * std::sin(a - 2.6))};
    for (const auto& [segments, id] : {std::pair{line, "drag"}, std::pair{head, "drag-head"}}) {
        // On top of everything, so that the arrow shows over the result.
        ArtNode* art = nullptr;
        if (hostapp::doc::CreateArt(*d, kVtgArtPath, kVtgPlaceAboveAll, nullptr, art) != kNoErr)
            return "cannot draw the arrow";
        art->s.segments = segments;
        art->s.style = thin;
        art->s.name = id;
    }
    hostapp::doc::Commit(*d);
    return {};
}

std::string Escape(const std::string& s) {
    std::string o;
    for (char c : s) {
        if (c == '<')
            o += "&lt;";
        else if (c == '>')
            o += "&gt;";
        else if (c == '&')
            o += "&amp;";
        else
            o += c;
    }
    return o;
}

constexpr const char* kStyle = R"(
body { margin: 0; font-family: "Avenir Next", "Segoe UI", "Hiragino Sans", sans-serif;
       background: #14161c; color: #e8e6e1; }
header { padding: 48px 56px 24px; background: linear-gradient(120deg, #1f2a44, #3b1f3f 60%, #14161c); }
h1 { margin: 0; font-weight: 300; font-size: 44px; letter-spacing: 0.08em; }
h1 b { font-weight: 700; color: #ffb347; }
header p { max-width: 720px; color: #b9b6c8; line-height: 1.6; }
section { padding: 24px 56px 40px; }
h2 { font-weight: 400; font-size: 26px; margin: 24px 0 4px; color: #ffd27f; }
section > p { color: #a6a3b5; margin: 0 0 18px; max-width: 760px; line-height: 1.5; }
.row { display: grid; grid-template-columns: 180px repeat(4, 1fr); gap: 14px; align-items: center;
       margin-bottom: 14px; }
.caption { font-size: 14px; color: #d8d5e6; line-height: 1.4; }
.caption code { display: block; color: #8f8ca3; font-size: 11px; margin-top: 4px; }
.pair { background: #f7f4ee; border-radius: 10px; display: grid; grid-template-columns: 1fr 2fr;
        overflow: hidden; box-shadow: 0 6px 18px rgba(0,0,0,0.35); }
.pair img { width: 100%; display: block; }
.pair .src { opacity: 0.55; background: #ebe7df; border-right: 1px solid #ddd6c8; }
.cell .caption { margin-top: 8px; font-size: 13px; }
footer { padding: 24px 56px 48px; color: #6f6c80; font-size: 12px; }
)";

} // namespace

const std::vector<std::string>& GallerySamples() {
    static const std::vector<std::string> samples = {"star", "letters", "circles", "wave"};
    return samples;
}

Document* MakeSampleDocument(hostapp::Host& host, const std::string& sample) {
    Document* d = host.docs().newDocument(kPage, kPage);
    host.docs().setCurrent(d);
    if (sample == "star")
        Star(*d);
    else if (sample == "letters")
        Letters(*d);
    else if (sample == "circles")
        Circles(*d);
    else if (sample == "heart")
        Heart(*d);
    else if (sample == "spark")
        Spark(*d);
    else
        WaveLine(*d);
    hostapp::doc::Commit(*d);
    d->undoStack.clear();
    std::string reason;
    SelectByIds(*d, {}, reason);
    return d;
}

std::vector<GalleryFeature>& GalleryFeatures() {
    static std::vector<GalleryFeature> features = {
        {"effect-multiwave",
         "マルチウェーブ — Multi-wave",
         "A cosine wave across the object's bounds: mirrored bulges, an anchored edge, a "
         "displacement, or a roll into a coil.",
         {{"Mirrored bulge, 2 cycles", {{"style", "0"}, {"cycle", "2"}, {"bendRatio", "35"}}},
          {"Bottom edge stays, 3 cycles", {{"style", "1"}, {"cycle", "3"}, {"bendRatio", "40"}}},
          {"Displacement, vertical",
           {{"style", "3"}, {"orientation", "1"}, {"cycle", "2"}, {"bendRatio", "12"}}},
          {"Roll into a coil", {{"style", "4"}, {"cycle", "1"}, {"bendRatio", "40"}}}},
         &MakeEffect},
        {"effect-lens",
         "レンズ — Lens",
         "An elliptical lens over the object: a fisheye (convex or concave), a magnifier or a "
         "twirl. Points outside the lens stay where they are.",
         {{"Fisheye, thickness 100 %", {{"lensKind", "0"}, {"fishEyeAmount", "100"}}},
          {"Concave fisheye, -80 %", {{"lensKind", "0"}, {"fishEyeAmount", "-80"}}},
          {"Magnifier 300 %, smaller lens",
           {{"lensKind", "1"},
            {"lupeAmount", "300"},
            {"sizeRatio.h", "70"},
            {"sizeRatio.v", "70"}}},
          {"Twirl 240°", {{"lensKind", "2"}, {"twirlAmount", "240"}, {"lensShape", "1"}}},
          {"Twirl 300°, 3 cycles",
           {{"lensKind", "2"}, {"twirlAmount", "300"}, {"twirlCycle", "3"}, {"lensShape", "1"}}}},
         &MakeEffect},
        {"effect-warp",
         "遠近法ワープ — Perspective Warp",
         "The object bent into an envelope — arcs, ellipses, cosine bulges, straight peaks, a "
         "shear — optionally with a perspective compression that curves it in depth.",
         {{"Elliptic bulge, perspective", {{"style", "3"}, {"bendRatio", "30"}}},
          {"Circular pinch, flat", {{"style", "0"}, {"perspective_f", "0"}, {"bendRatio", "30"}}},
          {"Cosine bulge on the bottom edge", {{"style", "11"}, {"bendRatio", "60"}}},
          {"Shear", {{"style", "14"}, {"perspective_f", "0"}, {"bendRatio", "20"}}},
          {"Straight peak, vertical",
           {{"style", "18"}, {"orientation", "1"}, {"bendRatio", "25"}}}},
         &MakeEffect},
        {"effect-fractalize",
         "フラクタル化 — Fractalize",
         "Every path cut into pieces, each replaced by a small generator figure — triangle, "
         "trapezoid, square or semicircle — again for each level, with optional gaps and "
         "unevenness.",
         {{"Right isosceles triangle, density 3",
           {{"generator", "1"}, {"level", "1"}, {"density", "3"}}},
          {"Square, 2 levels, density 1", {{"generator", "10"}, {"level", "2"}, {"density", "1"}}},
          {"Equilateral triangle 3 (Koch), 3 levels",
           {{"generator", "6"}, {"level", "3"}, {"density", "1"}}},
          {"Semicircle with 50 % gaps",
           {{"generator", "14"}, {"level", "1"}, {"density", "4"}, {"gapSpaceRatio", "50"}}},
          {"Trapezoid 1, uneven 40 %",
           {{"generator", "7"},
            {"level", "1"},
            {"density", "3"},
            {"uneven_f", "1"},
            {"uneven", "40"}}}},
         &MakeEffect},
        {"filter-fractalize",
         "フラクタル化 フィルター — Fractalize filter",
         "The same figures applied once to the selected paths themselves: the paths change in "
         "one undo step, and the run can be recorded and replayed as an action.",
         {{"Square 2, density 2", {{"generator", "11"}, {"level", "1"}, {"density", "2"}}},
          {"Trapezoid 3, 2 levels", {{"generator", "9"}, {"level", "2"}, {"density", "1"}}},
          {"Inverted triangle, turned over",
           {{"generator", "13"}, {"level", "1"}, {"density", "2"}, {"reverseH", "1"}}}},
         &MakeFilter},
        {"live-circle",
         "Live サークル — Live Circle",
         "Copies of the object around a centre point, turned by equal shares of a full turn or "
         "keeping their angle; the ring can be squashed, randomised and restacked. The source "
         "stays editable inside the live object.",
         {{"12 copies, centre mark",
           {{"copies", "12"}, {"keepAngle", "0"}, {"heightRatio", "100"}, {"randomOn", "0"}}},
          {"8 copies keeping their angle, 50 % high",
           {{"copies", "8"}, {"keepAngle", "1"}, {"heightRatio", "50"}, {"randomOn", "0"}}},
          {"6 copies around the centre",
           {{"copies", "6"},
            {"keepAngle", "0"},
            {"heightRatio", "100"},
            {"referencePoint", "4"},
            {"offsetH", "0"},
            {"randomOn", "0"}}},
          {"Randomised anchors, shuffled",
           {{"copies", "10"},
            {"keepAngle", "0"},
            {"heightRatio", "100"},
            {"referencePoint", "3"},
            {"offsetH", "-36"},
            {"randomOn", "1"},
            {"anchorRadialOn", "1"},
            {"anchorRadial", "30"},
            {"randomOrder", "1"}}}},
         &MakeLive},
        {"live-border",
         "Live ボーダー — Live Border",
         "The stroke turned into a graded band: copies of the object whose strokes narrow step "
         "by step from the stroke colour to the fill colour, outside the shape or clipped "
         "inside it, optionally shifted to one side or with a shadow under every step.",
         {{"Outside, default", {{"style", "0"}}},
          {"Outside with a shadow",
           {{"style", "0"}, {"shadowOn", "1"}, {"shadowOffset", "8"}, {"shadowDensity", "80"}}},
          {"Inside", {{"style", "1"}}},
          {"Inside, eccentric",
           {{"style", "1"}, {"eccentricity", "50"}, {"eccentricAngle", "-45"}}}},
         &MakeLive,
         {"heart"}},
        {"live-galaxy",
         "Live ギャラクシー — Live Galaxy",
         "Arms of copies radiating from a centre left of the object: each arm moves out, "
         "turns by a twist and shrinks towards a tip size; every arm but the first can be "
         "randomised, and each step can kink.",
         {{"8 arms, quarter twist", {{"centreRadius", "40"}}},
          {"5 arms keeping their angle", {{"arms", "5"}, {"keepAngle", "1"}, {"twist", "180"}}},
          {"Random arms",
           {{"arms", "12"},
            {"directionJitter", "30"},
            {"twistJitter", "120"},
            {"sizeJitter", "60"},
            {"spreadJitter", "100"}}},
          {"Kinked, stacked below",
           {{"arms", "6"},
            {"elements", "24"},
            {"kinkJitter", "40"},
            {"stacking", "1"},
            {"tipSize", "40"}}}},
         &MakeLive,
         {"spark"}},
        {"live-explosion",
         "Live エクスプロージョン — Live Explosion",
         "Copies scattered around a centre left of the object as if it burst apart: each "
         "pushed out by a random share of the spread and scaled towards a tip size, their "
         "opacity fading towards the centre, the outside or at random.",
         {{"200 pieces, fading inwards", {{"spread", "120"}}},
          {"Evenly spaced, fading outwards",
           {{"spacing", "1"}, {"fadeMode", "1"}, {"tipSize", "50"}, {"spread", "140"}}},
          {"60 pieces keeping their angle, no fading",
           {{"pieces", "60"}, {"keepAngle", "1"}, {"opacity", "100"}, {"spacing", "0"}}},
          {"A narrow jet, random opacity",
           {{"directionJitter", "20"},
            {"pieces", "120"},
            {"fadeMode", "2"},
            {"opacity", "20"},
            {"centreRadius", "0"},
            {"spread", "200"}}}},
         &MakeLive,
         {"spark"}},
        {"live-cutout",
         "Live カットアウト — Live Cutout",
         "The object cut out of the page: inside its outline, shifted copies with thick "
         "darkened strokes make a shade on the side of the light, under a shifted copy of the "
         "object, all clipped by the outline.",
         {{"Default: light from the upper left", {}},
          {"Deep cut, light from the right",
           {{"offset", "10"}, {"lightAngle", "0"}, {"shade", "80"}, {"steps", "8"}}},
          {"Shallow, soft shade", {{"offset", "3"}, {"shade", "40"}, {"steps", "3"}}}},
         &MakeLive,
         {"star", "letters"}},
        {"live-shadow",
         "Live シャドウ — Live Shadow",
         "A darkened copy of the object behind it, shifted away from the light; with "
         "transparency, the shadow also shows through the object, clipped to its outline.",
         {{"Default", {}},
          {"Long shadow to the lower left", {{"offset", "24"}, {"lightAngle", "45"}}},
          {"Half see-through", {{"offset", "14"}, {"shade", "60"}, {"transparency", "50"}}}},
         &MakeLive,
         {"star", "letters"}},
        {"live-emboss",
         "Live エンボス — Live Emboss",
         "The object raised from the page: lightened copies shifted towards the light and "
         "darkened copies shifted away from it, behind the unchanged object.",
         {{"Default", {}},
          {"4 steps, 4 pt, contrast 80 %", {{"steps", "4"}, {"offset", "4"}, {"contrast", "80"}}},
          {"Highlight only", {{"embossStyle", "1"}, {"offset", "3"}}},
          {"Reversed: sunk", {{"reverse", "1"}, {"offset", "3"}}}},
         &MakeLive,
         {"star", "letters"}},
        {"live-generation",
         "Live ジェネレーション — Live Generation",
         "A chain of copies, each a fixed factor smaller than the one before, turned a little "
         "further and stepped on in a direction that turns with it: a line, an arc or a spiral.",
         {{"Defaults: 20 copies, 90 %, 15° turn", {}},
          {"Straight line, equal copies",
           {{"count", "5"}, {"rate", "100"}, {"directionChange", "0"}, {"distance", "60"}}},
          {"Tight spiral, stacked below",
           {{"count", "40"}, {"rate", "93"}, {"directionChange", "25"}, {"stacking", "1"}}},
          {"Arc of 60 pt steps",
           {{"count", "8"},
            {"feedMode", "1"},
            {"feedDistance", "60"},
            {"rate", "95"},
            {"direction", "90"},
            {"directionChange", "-20"}}}},
         &MakeLive,
         {"star"}},
        {"live-reflections",
         "Live リフレクション — Live Reflections",
         "The object with its mirror images across a vertical axis, a horizontal one, both, or "
         "several axes through one centre like a kaleidoscope. The axes pass through the "
         "bottom-left corner of the object's box, moved by two offsets.",
         {{"Vertical axis (default)", {}},
          {"Horizontal axis, 10 pt below", {{"axisStyle", "0"}, {"offsetV", "10"}}},
          {"Both axes", {{"axisStyle", "2"}}},
          {"Five radial axes",
           {{"axisStyle", "3"}, {"axisCount", "5"}, {"offsetH", "-20"}, {"offsetV", "-20"}}}},
         &MakeLive,
         {"star"}},
        {"live-3dpath",
         "Live 3Dパス — Live 3D Path",
         "The paths bent through space and drawn back in perspective: turned, twisted, rolled "
         "into an arc, a screw or a spin, waved, or wrapped round a sphere, a torus, a spiral "
         "torus or a cylinder. Nearer parts lie on top.",
         {{"0 Rotate (defaults)", {{"variant", "0"}}},
          {"1 Twist 180°", {{"variant", "1"}}},
          {"2 Arc 120°", {{"variant", "2"}}},
          {"3 Screw 720°", {{"variant", "3"}}},
          {"4 Spin 60°", {{"variant", "4"}}},
          {"5 Wave, horizontal and vertical", {{"variant", "5"}}},
          {"6 Wave, front and back", {{"variant", "6"}, {"postX", "-50"}}},
          {"7 Wave, concentric", {{"variant", "7"}, {"postX", "-50"}}},
          {"8 Sphere", {{"variant", "8"}}},
          {"9 Torus", {{"variant", "9"}}},
          {"10 Spiral torus", {{"variant", "10"}}},
          {"11 Cylinder / cone", {{"variant", "11"}}}},
         &MakeLive,
         {"star", "letters"}},
        {"tool-3drotate",
         "Live 3D回転 ツール — 3D rotate tool",
         "Dragging turns a selected Live 3D Path object in space: horizontally about the "
         "vertical axis, vertically about the horizontal axis, with Shift in the page plane; "
         "Alt moves its centre. The arrow is the drag.",
         {{"Rotate object, dragged right", {{"variant", "0"}, {"path", "150,200 190,200 230,200"}}},
          {"Twist object, dragged down", {{"variant", "1"}, {"path", "150,200 150,170 150,140"}}},
          {"Shift: turned in the page plane",
           {{"variant", "0"}, {"path", "150,200 190,200 230,200"}, {"hold", "shift"}}}},
         &MakeRotate3D,
         {"letters"}},
        {"live-neon",
         "Live ネオン — Live Neon",
         "The stroke turned into a glowing tube: unfilled copies whose strokes narrow to a thin "
         "core while their colour runs from the stroke colour to the fill colour, in one or more "
         "bands, over a wider glow that fades out; optionally shifted or with a shadow. Shown "
         "on a dark background.",
         {{"Default: glow and one band", {}},
          {"Two bands, wide glow", {{"trackCount", "2"}, {"glowWidth", "120"}}},
          {"Shadow, no glow",
           {{"glowOn", "0"},
            {"shadowOn", "1"},
            {"shadowOffset", "6"},
            {"shadowDensity", "100"},
            {"lightAngle", "135"}}},
          {"Eccentric, contrast 200 %",
           {{"eccentricity", "60"}, {"eccentricAngle", "45"}, {"contrast", "200"}}}},
         &MakeLive,
         {"heart", "wave"},
         "#101018"},
        {"live-frame",
         "Live フレーム — Live Frame",
         "Copies laid around a rectangle like the pieces of a picture frame: rows along the "
         "sides, turned at the corners, clockwise or counter-clockwise, with steps relative to "
         "the object's size or as distances; the corners can be pulled in or pushed out and "
         "the copies randomised.",
         {{"Defaults: 12 by 8, corners turned 45°", {{"hCount", "12"}}},
          {"Clockwise, keeping the angle, 120 % steps",
           {{"direction", "0"}, {"keepAngle", "1"}, {"sideFeed", "120"}, {"cornerFeed", "160"}}},
          {"Corner offset -60 %", {{"hCount", "8"}, {"vCount", "6"}, {"cornerOffset", "-60"}}},
          {"Random anchors, shuffled",
           {{"randomOn", "1"},
            {"anchorHOn", "1"},
            {"anchorH", "40"},
            {"anchorVOn", "1"},
            {"anchorV", "40"},
            {"randomOrder", "1"}}}},
         &MakeLive,
         {"spark"}},
        {"tool-roughen",
         "ラフ ツール — Roughen tool",
         "A brush at the press point: dragging right cuts the paths near it into finer pieces, "
         "dragging up displaces their anchors at random. The arrow is the drag.",
         {{"Polyline, radius 100",
           {{"shape", "0"}, {"radius", "100"}, {"path", "220,212 250,232 290,262"}}},
          {"Curve, radius 140",
           {{"shape", "1"}, {"radius", "140"}, {"path", "220,212 300,240 340,252"}}},
          {"Small brush on the top tip",
           {{"shape", "0"}, {"radius", "60"}, {"path", "220,332 260,352 300,372"}}},
          {"Trace: 4 copies of growing roughness",
           {{"shape", "0"},
            {"radius", "120"},
            {"trace", "1"},
            {"traceMode", "0"},
            {"steps", "4"},
            {"path", "220,212 250,232 270,262"}}}},
         &MakeDrag,
         {"star"}},
        {"tool-lens",
         "レンズ ツール — Lens tool",
         "A lens dragged over the selection: its box ends with the bottom-right corner at the "
         "pointer. Fisheye, magnifier and twirl bend the paths under it; the tone lens shrinks "
         "each whole path by its distance from the lens centre. The arrow is the drag.",
         {{"Fisheye 100 %, lens 200 x 200",
           {{"lensKind", "0"},
            {"width", "200"},
            {"height", "200"},
            {"path", "280,160 300,140 320,120"}}},
          {"Magnifier 250 %",
           {{"lensKind", "1"},
            {"lupeAmount", "250"},
            {"width", "200"},
            {"height", "200"},
            {"path", "280,160 300,140 320,120"}}},
          {"Twirl 180°",
           {{"lensKind", "2"},
            {"twirlAmount", "180"},
            {"width", "200"},
            {"height", "200"},
            {"path", "280,160 300,140 320,120"}}},
          {"Tone lens 20 %, each path on its own",
           {{"lensKind", "3"},
            {"opticalH", "20"},
            {"opticalV", "20"},
            {"group", "0"},
            {"width", "220"},
            {"height", "220"},
            {"path", "290,150 310,130 330,110"}}}},
         &MakeDrag,
         {"circles"}},
        {"tool-craft",
         "クラフト ツール — Craft tool",
         "A soft brush at the press point bends the path itself: push pulls the geometry with "
         "the pointer, sweep carries what is near the pointer along, scale grows or shrinks "
         "the region (drag up or down), rotate turns it as the pointer circles the press "
         "point. The arrow is the drag.",
         {{"Push, radius 80, resistance 3",
           {{"brushMode", "0"},
            {"resistance", "2"},
            {"radius", "80"},
            {"path", "220,332 240,352 260,372"}}},
          {"Sweep through the middle, radius 60",
           {{"brushMode", "1"},
            {"radius", "60"},
            {"path", "140,190 170,205 200,220 230,232 260,240 290,244"}}},
          {"Scale up from the centre, radius 120",
           {{"brushMode", "2"}, {"radius", "120"}, {"path", "220,212 220,222 220,232"}}},
          {"Rotate a quarter turn, radius 140",
           {{"brushMode", "3"}, {"radius", "140"}, {"path", "220,212 300,212 277,269 220,292"}}}},
         &MakeDrag,
         {"star"}},
        {"tool-broom",
         "ほうき ツール — Broom tool",
         "A soft brush that moves each whole path by the weight its centre gets: a cloud of "
         "small objects is pushed, spread or swirled. With \"group\" on a fully selected "
         "group moves as one piece. The arrow is the drag.",
         {{"Push, radius 120",
           {{"brushMode", "0"},
            {"group", "0"},
            {"radius", "120"},
            {"path", "220,220 250,240 280,260"}}},
          {"Scale: spread from the centre",
           {{"brushMode", "2"},
            {"group", "0"},
            {"radius", "150"},
            {"path", "220,220 220,250 220,280"}}},
          {"Rotate: a swirl",
           {{"brushMode", "3"},
            {"group", "0"},
            {"radius", "160"},
            {"path", "220,220 320,220 291,291 220,320"}}},
          {"Group on: the group moves as one",
           {{"brushMode", "0"},
            {"group", "1"},
            {"radius", "200"},
            {"path", "220,220 240,240 260,250"}}}},
         &MakeDrag,
         {"circles"}},
        {"tool-warp",
         "遠近法ワープ ツール — Perspective Warp tool",
         "The Perspective Warp envelope across the selection, bent by the drag from the press "
         "point: up and down without Alt, left and right with Alt; Shift pins the pointer to "
         "the centre line.",
         {{"Circular pinch, dragged up", {{"type", "0"}, {"path", "220,220 230,250 240,280"}}},
          {"Elliptic bulge, dragged down", {{"type", "3"}, {"path", "220,220 220,190 220,160"}}},
          {"Alt: the other axis",
           {{"type", "3"}, {"path", "220,220 250,220 290,220"}, {"hold", "alt"}}},
          {"Trace, one way in 3 steps",
           {{"type", "0"},
            {"trace", "1"},
            {"traceMode", "1"},
            {"steps", "3"},
            {"path", "220,220 220,240 220,270"}}}},
         &MakeDrag,
         {"letters"}},
        {"tool-wave",
         "マルチウェーブ ツール — Multi-wave tool",
         "The Multi-wave wave across the selection, its bend and phase set by the drag from "
         "the press point; Alt waves along the other axis.",
         {{"Mirrored bulges, dragged up",
           {{"style", "0"}, {"cycle", "2"}, {"path", "220,220 230,240 240,260"}}},
          {"Bottom edge stays",
           {{"style", "1"}, {"cycle", "3"}, {"path", "220,220 220,250 220,270"}}},
          {"Alt: a vertical wave",
           {{"style", "0"}, {"cycle", "2"}, {"path", "220,220 240,220 260,220"}, {"hold", "alt"}}},
          {"Trace over one cycle",
           {{"style", "0"},
            {"cycle", "1"},
            {"trace", "1"},
            {"traceMode", "1"},
            {"steps", "3"},
            {"path", "220,220 230,240 230,250"}}}},
         &MakeDrag,
         {"wave"}},
    };
    return features;
}

namespace {

// A growing bounds rectangle (top above bottom).
struct Extent {
    VtgRect r{};
    bool any = false;
    void add(const VtgRect& x) {
        if (!any)
            r = x;
        r.left = std::min(r.left, x.left);
        r.right = std::max(r.right, x.right);
        r.top = std::max(r.top, x.top);
        r.bottom = std::min(r.bottom, x.bottom);
        any = true;
    }
};

// What `art` shows, strokes included: the result of a live object or of
// live effects, and a clipping group only within its clipping paths.
// `shows` is set for an effect result, which is shown whatever it holds.
void AddShown(const ArtNode* art, Extent& e, bool shows = false) {
    if (art == nullptr)
        return;
    if (art->effectResult != nullptr) {
        AddShown(art->effectResult, e, true);
        return;
    }
    if (!shows && (art->s.attributes & (kVtgArtHidden | kVtgArtGuide)) != 0)
        return;
    if (art->s.kind == kVtgArtPlugin) {
        AddShown(art->s.plugin.result, e);
        return;
    }
    if (art->s.kind == kVtgArtGroup) {
        if ((art->s.attributes & kVtgArtClipping) != 0) {
            Extent clip;
            for (const ArtNode* c : art->s.children) {
                VtgRect r{};
                if ((c->s.attributes & kVtgArtClipping) != 0 && c->s.kind != kVtgArtGroup &&
                    hostapp::doc::Bounds(c, hostapp::doc::kIdentity, kVtgBoundsGeometry, r))
                    clip.add(r);
            }
            if (clip.any) {
                e.add(clip.r);
                return;
            }
        }
        for (const ArtNode* c : art->s.children)
            AddShown(c, e);
        return;
    }
    VtgRect r{};
    if (hostapp::doc::Bounds(art, hostapp::doc::kIdentity, kVtgBoundsVisible, r))
        e.add(r);
}

// The shown bounds of all art of the document; false when it has none.
bool ArtBounds(const Document& document, VtgRect& box) {
    Extent e;
    for (const hostapp::doc::LayerNode* layer : document.layers)
        if (layer != nullptr && layer->visible)
            AddShown(layer->group, e);
    box = e.r;
    return e.any;
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string t = text;
    while (t.back() == '0')
        t.pop_back();
    if (t.back() == '.')
        t.pop_back();
    return t == "-0" ? std::string("0") : t;
}

// Shows the guides the file hides from viewers as an editor shows them:
// thin cyan lines whatever the picture's scale.
void ShowGuides(pugi::xml_node e, bool guide) {
    if (!guide && std::string(e.attribute("vtg:guide").value()) == "shown") {
        guide = true;
        e.remove_attribute("display");
    }
    if (guide && e.type() == pugi::node_element) {
        for (const char* a : {"fill", "stroke", "stroke-width", "vector-effect", "opacity"})
            e.remove_attribute(a);
        e.append_attribute("fill").set_value("none");
        e.append_attribute("stroke").set_value("#00ffff");
        e.append_attribute("stroke-width").set_value("1");
        e.append_attribute("vector-effect").set_value("non-scaling-stroke");
    }
    for (pugi::xml_node c : e.children())
        if (c.type() == pugi::node_element)
            ShowGuides(c, guide);
}

} // namespace

std::string FittedSvg(const Document& document, std::string* error, const std::string& background) {
    std::string svg;
    hostapp::svg::SvgError why;
    if (!hostapp::svg::WriteSvgText(document, svg, why)) {
        if (error != nullptr)
            *error = why.message;
        return {};
    }
    pugi::xml_document xml;
    if (!xml.load_string(svg.c_str(), pugi::parse_default | pugi::parse_declaration))
        return svg;
    pugi::xml_node root = xml.child("svg");
    ShowGuides(root, false);
    VtgRect box{};
    if (root && ArtBounds(document, box)) {
        // A square around the art with a margin, in SVG user space (x + vx,
        // vy + height - y).
        const double w = box.right - box.left, h = box.top - box.bottom;
        const double side = std::max({w, h, 1.0}) * 1.08 + 8;
        const double cx = (box.left + box.right) / 2 + document.viewBoxX;
        const double cy = document.viewBoxY + document.height - (box.top + box.bottom) / 2;
        const std::string size = Number(side);
        root.attribute("width").set_value(size.c_str());
        root.attribute("height").set_value(size.c_str());
        const std::string view =
            Number(cx - side / 2) + " " + Number(cy - side / 2) + " " + size + " " + size;
        root.attribute("viewBox").set_value(view.c_str());
        if (!background.empty()) {
            pugi::xml_node under = root.prepend_child("rect");
            under.append_attribute("x").set_value(Number(cx - side / 2).c_str());
            under.append_attribute("y").set_value(Number(cy - side / 2).c_str());
            under.append_attribute("width").set_value(size.c_str());
            under.append_attribute("height").set_value(size.c_str());
            under.append_attribute("fill").set_value(background.c_str());
        }
    }
    std::ostringstream out;
    xml.save(out, "  ", pugi::format_default);
    return out.str();
}

namespace {

// Writes a gallery picture; an empty text on success.
std::string WritePicture(const Document& d, const std::string& path,
                         const std::string& background = {}) {
    std::string why;
    const std::string svg = FittedSvg(d, &why, background);
    if (!why.empty())
        return path + ": " + why;
    return platform::WriteWholeFile(path, svg);
}

} // namespace

namespace {

// The tools' icons (light and dark theme, at 1x and 2x) and every cursor
// the resources hold, inline, each from the resource its id names.
std::string ToolIconSection(hostapp::Host& host) {
    auto inlined = [](const std::optional<platform::ImageResource>& image, int scale) {
        std::string svg = image ? platform::ImageSvgText(*image) : std::string();
        if (svg.empty())
            return std::string("<span class=\"missing\">?</span>");
        // Sized by the outer element, drawn by the image's own view box.
        const std::string size = " width=\"" + std::to_string(image->width * scale) +
                                 "\" height=\"" + std::to_string(image->height * scale) + "\"";
        const std::size_t open = svg.find("<svg") + 4, close = svg.find('>', open);
        std::string head = svg.substr(open, close - open);
        for (const char* attr : {"width=\"", "height=\""}) {
            const std::size_t at = head.find(attr);
            if (at != std::string::npos)
                head.erase(at, head.find('"', at + std::strlen(attr)) + 1 - at);
        }
        return "<svg" + size + head + svg.substr(close);
    };
    std::string html = "<section><h2>Tool icons and cursors</h2><p>Each tool's icon for the "
                       "light and the dark theme, and the cursors the tools show while they "
                       "work (the hot spot is the centre of the cross).</p>\n<div class=\"row\">";
    for (const auto& tool : host.registry().tools) {
        html += "<div class=\"cell\"><div class=\"icons\"><span style=\"background:#f4f4f4\">";
        for (int scale : {1, 2})
            html +=
                inlined(platform::LoadImage(platform::ImageKind::Icon, tool->lightIconId), scale);
        html += "</span><span style=\"background:#2b2b2b\">";
        for (int scale : {1, 2})
            html +=
                inlined(platform::LoadImage(platform::ImageKind::Icon, tool->darkIconId), scale);
        html += "</span></div><div class=\"caption\">" + Escape(tool->title) + "</div></div>";
    }
    html += "</div>\n<div class=\"row\" style=\"background:#f4f4f4\">";
    for (const int id : platform::ListedImages(platform::ImageKind::Cursor))
        html += "<span title=\"CURS_" + std::to_string(id) + "\">" +
                inlined(platform::LoadCursor(platform::CursorResourceName(id, 1)), 1) + "</span>";
    html += "</div></section>\n";
    return html;
}

} // namespace

std::string WriteGallery(hostapp::Host& host, const std::string& folder,
                         std::vector<std::string>& log) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return "cannot create " + folder + ": " + ec.message();
    // The sources: every sample a feature is shown on.
    std::vector<std::string> sources = GallerySamples();
    for (const GalleryFeature& f : GalleryFeatures())
        for (const std::string& sample : f.samples)
            if (std::find(sources.begin(), sources.end(), sample) == sources.end())
                sources.push_back(sample);
    for (const std::string& sample : sources) {
        Document* d = MakeSampleDocument(host, sample);
        std::string why = WritePicture(*d, folder + "/source_" + sample + ".svg");
        host.docs().close(d);
        if (!why.empty())
            return why;
    }
    std::string html = "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
                       "<title>VERTiGON6 gallery</title><style>";
    html += kStyle;
    html += "</style></head><body>\n<header><h1><b>VERTiGON</b>6 gallery</h1><p>Every feature "
            "built so far, on sample art: a star, letter shapes drawn as paths, a grid of "
            "circles, an open wave line, and a heart with a thick stroke for the features that "
            "work on strokes. Each picture shows its source on the left and the result on the "
            "right; every result was made by choosing the feature and setting its dialog or "
            "panel as a user would.</p></header>\n";
    for (const GalleryFeature& f : GalleryFeatures()) {
        html += "<section><h2>" + Escape(f.title) + "</h2><p>" + Escape(f.blurb) + "</p>\n";
        const std::vector<std::string>& samples = f.samples.empty() ? GallerySamples() : f.samples;
        // One sample: the settings side by side, each captioned.
        const bool oneRow = samples.size() == 1;
        if (oneRow)
            html +=
                "<div class=\"row\"><div class=\"caption\">On the " + Escape(samples[0]) + "</div>";
        for (size_t i = 0; i < f.settings.size(); ++i) {
            const GallerySetting& s = f.settings[i];
            std::string fields;
            for (const auto& [k, v] : s.fields)
                fields += (fields.empty() ? "" : " ") + k + "=" + v;
            const std::string caption = "<div class=\"caption\">" + Escape(s.caption) + "<code>" +
                                        Escape(fields) + "</code></div>";
            if (!oneRow)
                html += "<div class=\"row\">" + caption;
            for (const std::string& sample : samples) {
                Document* d = MakeSampleDocument(host, sample);
                std::string why = f.make(host, s, f.feature);
                if (!why.empty()) {
                    host.docs().close(d);
                    return f.feature + " (" + s.caption + ", " + sample + "): " + why;
                }
                const std::string name =
                    f.feature + "_" + std::to_string(i + 1) + "_" + sample + ".svg";
                why = WritePicture(*d, folder + "/" + name, f.background);
                host.docs().close(d);
                if (!why.empty())
                    return why;
                log.push_back(name);
                const std::string pair = "<div class=\"pair\"><img class=\"src\" src=\"source_" +
                                         sample + ".svg\" alt=\"" + sample + "\"><img src=\"" +
                                         name + "\" alt=\"" + Escape(s.caption) + "\"></div>";
                html += oneRow ? "<div class=\"cell\">" + pair + caption + "</div>" : pair;
            }
            if (!oneRow)
                html += "</div>\n";
        }
        if (oneRow)
            html += "</div>\n";
        html += "</section>\n";
    }
    html += ToolIconSection(host);
    html += "<footer>Generated by <code>vertigon demo</code>.</footer></body></html>\n";
    return platform::WriteWholeFile(folder + "/index.html", html);
}

} // namespace app
