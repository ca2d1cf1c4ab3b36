// SVG documents as the drawing editor and browsers write them: layers both
// ways, element kinds, group transforms and comments kept, lengths with
// units and percentages, style sheets, and exact numbers. The fixtures are
// rendered with rsvg-convert before and after a save and compared.
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "host/doc/art.hpp"
#include "host/svg/svg.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using hostapp::svg::ReadSvgText;
using hostapp::svg::SvgError;
using hostapp::svg::WriteSvgText;

std::string SourceDir() {
    const char* d = std::getenv("VTG_SOURCE_DIR");
    return d != nullptr ? d : VTG_TEST_SOURCE_DIR;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

Document* Read(DocStore& store, const std::string& text, SvgError* out = nullptr) {
    Document* d = nullptr;
    SvgError err;
    EXPECT_TRUE(ReadSvgText(store, text, "test.svg", d, err)) << err.message;
    if (out != nullptr)
        *out = err;
    return d;
}

ArtNode* Find(Document& d, const std::string& id) {
    ArtNode* found = nullptr;
    for (auto* l : d.layers)
        hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
            if (found == nullptr && a->s.name == id)
                found = a;
            return found == nullptr;
        });
    return found;
}

// Every id="..." of a text, with the count of those seen twice.
size_t DuplicateIds(const std::string& xml) {
    std::set<std::string> ids;
    size_t twice = 0;
    for (size_t at = xml.find(" id=\""); at != std::string::npos; at = xml.find(" id=\"", at + 5)) {
        const size_t end = xml.find('"', at + 5);
        if (!ids.insert(xml.substr(at + 5, end - at - 5)).second)
            ++twice;
    }
    return twice;
}

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

// Renders SVG text with rsvg-convert; false when that fails.
bool Render(const std::string& svg, const std::string& name, Picture& out) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vtg_editor_test";
    std::filesystem::create_directories(dir);
    const std::string in = (dir / (name + ".svg")).string(), png = (dir / (name + ".png")).string();
    std::ofstream(in, std::ios::binary) << svg;
    const std::string cmd = "rsvg-convert -w 400 -o '" + png + "' '" + in + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, png.c_str()) == 0)
        return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = image.width;
    out.height = image.height;
    out.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

bool HaveRenderer() {
    return std::system("rsvg-convert --version >/dev/null 2>&1") == 0;
}

// The largest difference of a channel, and how many pixels differ at all.
void Compare(const Picture& a, const Picture& b, int& largest, size_t& differing) {
    largest = 0;
    differing = 0;
    for (size_t i = 0; i + 3 < a.rgba.size() && i + 3 < b.rgba.size(); i += 4) {
        int d = 0;
        for (int c = 0; c < 4; ++c)
            d = std::max(d, std::abs(a.rgba[i + c] - b.rgba[i + c]));
        largest = std::max(largest, d);
        differing += d > 0 ? 1 : 0;
    }
}

const char* const kFixtures[] = {"inkscape_layers.svg", "sheet_percent.svg", "nested_groups.svg",
                                 "transforms.svg",      "arcs.svg",          "holes.svg"};

TEST(SvgEditor, FixturesReopenByteIdenticallyRenderTheSameAndKeepIdsUnique) {
    const bool render = HaveRenderer();
    if (!render)
        std::fprintf(stderr, "rsvg-convert is not installed (librsvg2-bin): renderings are not "
                             "compared\n");
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const std::string original = Slurp(SourceDir() + "/tests/fixtures/" + name);
        ASSERT_FALSE(original.empty());
        DocStore store;
        Document* d = Read(store, original);
        ASSERT_NE(d, nullptr);
        const std::string first = WriteSvgText(*d);
        Document* again = Read(store, first);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(WriteSvgText(*again), first);
        EXPECT_EQ(DuplicateIds(first), 0u);
        if (!render)
            continue;
        Picture before, after;
        ASSERT_TRUE(Render(original, std::string(name) + ".in", before));
        ASSERT_TRUE(Render(first, std::string(name) + ".out", after));
        ASSERT_EQ(before.width, after.width);
        ASSERT_EQ(before.height, after.height);
        int largest = 0;
        size_t differing = 0;
        Compare(before, after, largest, differing);
        // Anti-aliasing may move by a step where a path's numbers were
        // computed again; nothing more.
        EXPECT_LE(largest, 8);
        EXPECT_LE(differing, before.rgba.size() / 4 / 1000);
    }
}

TEST(SvgEditor, LayersOpenAsHostLayersAndSaveAsTheEditorsLayers) {
    DocStore store;
    Document* d = Read(store, Slurp(SourceDir() + "/tests/fixtures/inkscape_layers.svg"));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->layers.size(), 3u); // front-most first
    EXPECT_EQ(d->layers[0]->name, "Hidden notes");
    EXPECT_FALSE(d->layers[0]->visible);
    EXPECT_EQ(d->layers[1]->name, "Shapes");
    EXPECT_EQ(d->layers[2]->name, "Background");
    EXPECT_TRUE(d->layers[2]->locked);
    EXPECT_EQ(d->layers[2]->group->s.name, "layer1");

    // Definitions, view settings, metadata and title are no art.
    for (auto* l : d->layers)
        hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
            EXPECT_TRUE(a->s.xml.find("namedview") == std::string::npos) << a->s.name;
            EXPECT_TRUE(a->s.xml.find("<defs") == std::string::npos) << a->s.name;
            EXPECT_NE(a->s.kind, kVtgArtForeign) << a->s.name;
            return true;
        });
    // Selecting everything leaves the locked layer's art alone.
    for (auto* l : d->layers)
        for (ArtNode* a : l->group->s.children)
            hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
    EXPECT_EQ(hostapp::doc::Attributes(Find(*d, "rect1")) & kVtgArtSelected, 0);
    EXPECT_NE(hostapp::doc::Attributes(Find(*d, "circle1")) & kVtgArtSelected, 0);

    const std::string out = WriteSvgText(*d);
    const size_t firstLayer = out.find("inkscape:groupmode=\"layer\"");
    for (const char* before : {"<title", "<sodipodi:namedview", "<defs", "<metadata"}) {
        EXPECT_NE(out.find(before), std::string::npos) << before;
        EXPECT_LT(out.find(before), firstLayer) << before;
    }
    EXPECT_NE(out.find("<g id=\"layer1\" inkscape:label=\"Background\" "
                       "inkscape:groupmode=\"layer\" sodipodi:insensitive=\"true\">"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("inkscape:label=\"Hidden notes\" inkscape:groupmode=\"layer\" "
                       "style=\"display:none\""),
              std::string::npos);
    EXPECT_EQ(out.find("vtg:layer="), std::string::npos);

    // A file without layers gets one, written as the editor's; its title
    // stays outside.
    Document* plain = Read(store, "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 "
                                  "10\"><title>t</title><rect width=\"5\" height=\"5\"/></svg>");
    ASSERT_NE(plain, nullptr);
    ASSERT_EQ(plain->layers.size(), 1u);
    ASSERT_EQ(plain->layers[0]->group->s.children.size(), 1u);
    const std::string written = WriteSvgText(*plain);
    EXPECT_NE(written.find("<title>t</title>\n  <g inkscape:label=\"Layer 1\" "
                           "inkscape:groupmode=\"layer\">"),
              std::string::npos)
        << written;
}

TEST(SvgEditor, ElementKindsTransformsAndCommentsStayUntilAFeatureChangesTheArt) {
    DocStore store;
    Document* d = Read(store, Slurp(SourceDir() + "/tests/fixtures/inkscape_layers.svg"));
    ASSERT_NE(d, nullptr);
    const std::string out = WriteSvgText(*d);
    for (const char* kept :
         {"<rect id=\"rect2\" width=\"70\" height=\"40\" x=\"20\" y=\"20\" rx=\"6\" ry=\"4\"",
          "<circle id=\"circle1\" cx=\"140\" cy=\"40\" r=\"18\"", "<ellipse id=\"ellipse1\"",
          "<line id=\"line1\"",
          "<polyline id=\"polyline1\" points=\"0,20 10,30 20,20 30,30 40,20\"",
          "<polygon id=\"polygon1\"", "<g id=\"g1\" transform=\"translate(30,80) rotate(-15)\"",
          "<g id=\"g2\" transform=\"scale(1.5)\"", "<!-- the gradient box -->",
          "d=\"m 110,120 c 10,-20 30,-20 40,0 s 30,20 40,0\"",
          "transform=\"rotate(-30,96.15,88.25)\"", "fill=\"url(#linearGradient3)\""})
        EXPECT_NE(out.find(kept), std::string::npos) << kept << "\n" << out;

    // A feature moves the circle and the polygon in the scaled, rotated
    // group: those two become paths in their groups' user space, the rest
    // stays.
    const VtgMatrix move{1, 0, 0, 1, 3.25, -1.5};
    for (const char* id : {"circle1", "polygon1"})
        hostapp::doc::TransformArt(Find(*d, id), move, 1, kVtgTransformObjects);
    const std::string moved = WriteSvgText(*d);
    EXPECT_EQ(moved.find("<circle id=\"circle1\""), std::string::npos);
    EXPECT_NE(moved.find("<path id=\"circle1\""), std::string::npos);
    EXPECT_NE(moved.find("<path id=\"polygon1\""), std::string::npos);
    EXPECT_NE(moved.find("<ellipse id=\"ellipse1\""), std::string::npos);
    EXPECT_NE(moved.find("<g id=\"g2\" transform=\"scale(1.5)\""), std::string::npos);
    // Reopened, the moved art is where the model had it, and the stroke
    // width as it was.
    Document* back = Read(store, moved);
    ASSERT_NE(back, nullptr);
    for (const char* id : {"circle1", "polygon1"}) {
        const ArtNode* was = Find(*d, id);
        const ArtNode* now = Find(*back, id);
        ASSERT_NE(now, nullptr);
        ASSERT_EQ(now->s.segments.size(), was->s.segments.size());
        for (size_t i = 0; i < was->s.segments.size(); ++i) {
            EXPECT_NEAR(now->s.segments[i].anchor.x, was->s.segments[i].anchor.x, 1e-9);
            EXPECT_NEAR(now->s.segments[i].anchor.y, was->s.segments[i].anchor.y, 1e-9);
        }
        EXPECT_EQ(now->s.style.stroke.width, was->s.style.stroke.width) << id;
    }
    EXPECT_EQ(WriteSvgText(*Read(store, WriteSvgText(*back))), WriteSvgText(*back));
}

TEST(SvgEditor, LengthsTakeUnitsAndPercentagesOfTheViewport) {
    // viewBox 200 x 100: a percentage of x is of 200, of y of 100, and of
    // anything else of sqrt((200^2 + 100^2) / 2).
    const double diag = std::sqrt((200.0 * 200 + 100.0 * 100) / 2);
    struct Case {
        const char* body;
        double x, y, width; // the first anchor in document points, the stroke width
    };
    const Case cases[] = {
        {"<rect id=\"a\" x=\"10%\" y=\"20%\" width=\"50%\" height=\"10%\"/>", 20, 80, 1},
        {"<circle id=\"a\" cx=\"50%\" cy=\"50%\" r=\"10%\" stroke-width=\"1%\"/>", 100 + 0.1 * diag,
         50, 0.01 * diag},
        {"<line id=\"a\" x1=\"1in\" y1=\"2mm\" x2=\"0\" y2=\"0\" style=\"stroke-width:2pt\"/>", 96,
         100 - 2 * 96 / 25.4, 8.0 / 3},
        {"<ellipse id=\"a\" cx=\"1em\" cy=\"2ex\" rx=\"1\" ry=\"1\"/>", 17, 84, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        DocStore store;
        Document* d = Read(store, std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                              "viewBox=\"0 0 200 100\">") +
                                      c.body + "</svg>");
        ASSERT_NE(d, nullptr);
        const ArtNode* a = Find(*d, "a");
        ASSERT_NE(a, nullptr);
        ASSERT_FALSE(a->s.segments.empty());
        EXPECT_NEAR(a->s.segments[0].anchor.x, c.x, 1e-9);
        EXPECT_NEAR(a->s.segments[0].anchor.y, c.y, 1e-9);
        EXPECT_NEAR(a->s.style.stroke.width, c.width, 1e-9);
    }
    // A percentage where nothing gives its reference is refused as before.
    DocStore store;
    Document* d = nullptr;
    SvgError err;
    EXPECT_FALSE(ReadSvgText(store,
                             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50%\" "
                             "height=\"10\"/>",
                             "t.svg", d, err));
}

TEST(SvgEditor, StyleSheetsGiveTheModelItsPaintAndSavedChangesOverrideThem) {
    DocStore store;
    SvgError warn;
    Document* d = Read(store,
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\"><style>"
                       "rect { fill: #cccccc; stroke: #333333 } .accent { fill: #ff6600 }"
                       " #special { fill: #0066ff; stroke-width: 4 }"
                       " g.cards > rect { stroke: #990000 } .panel circle { fill: #33aa33 }"
                       " a:hover { fill: red } @media print { rect { fill: black } }"
                       " .important { fill: #010203 !important }"
                       "</style>"
                       "<rect id=\"plain\" width=\"1\" height=\"1\" fill=\"#00ff00\"/>"
                       "<rect id=\"accent\" class=\"accent\" width=\"1\" height=\"1\"/>"
                       "<rect id=\"styled\" class=\"accent\" style=\"fill:#123456\" width=\"1\" "
                       "height=\"1\"/>"
                       "<rect id=\"strong\" class=\"important\" style=\"fill:#123456\" "
                       "width=\"1\" height=\"1\"/>"
                       "<g class=\"cards panel\"><rect id=\"special\" class=\"accent\" "
                       "width=\"1\" height=\"1\"/><g><rect id=\"deep\" width=\"1\" "
                       "height=\"1\"/><circle id=\"dot\" r=\"1\"/></g></g></svg>",
                       &warn);
    ASSERT_NE(d, nullptr);
    struct Case {
        const char* id;
        double fill[3];
        double stroke[3];
        double width;
    };
    const Case cases[] = {
        {"plain", {0xcc, 0xcc, 0xcc}, {0x33, 0x33, 0x33}, 1}, // the sheet beats the attribute
        {"accent", {0xff, 0x66, 0x00}, {0x33, 0x33, 0x33}, 1},
        {"styled", {0x12, 0x34, 0x56}, {0x33, 0x33, 0x33}, 1},  // the style attribute beats it
        {"strong", {1, 2, 3}, {0x33, 0x33, 0x33}, 1},           // !important beats that
        {"special", {0x00, 0x66, 0xff}, {0x99, 0x00, 0x00}, 4}, // id over class; child rule
        {"deep", {0xcc, 0xcc, 0xcc}, {0x33, 0x33, 0x33}, 1},    // no child of g.cards
        {"dot", {0x33, 0xaa, 0x33}, {0, 0, 0}, 1},              // descendant rule
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const ArtNode* a = Find(*d, c.id);
        ASSERT_NE(a, nullptr);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(a->s.style.fill.color.c[i], c.fill[i] / 255, 1e-9);
        if (std::string(c.id) != "dot") {
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(a->s.style.stroke.color.c[i], c.stroke[i] / 255, 1e-9);
        }
        EXPECT_EQ(a->s.style.stroke.width, c.width);
    }
    // One warning line names what is not applied.
    EXPECT_NE(warn.warning.find("selector 'a:hover'"), std::string::npos) << warn.warning;
    EXPECT_NE(warn.warning.find("@media"), std::string::npos) << warn.warning;
    EXPECT_EQ(warn.warning.find('\n'), std::string::npos);

    // Saved, the class and the sheet stay; a changed paint overrides the sheet.
    ArtNode* accent = Find(*d, "accent");
    accent->s.style.fill.color.c[0] = 0;
    accent->s.style.stroke.width = 1; // what the sheet gave, still written over it
    const std::string out = WriteSvgText(*d);
    EXPECT_NE(out.find("<style>"), std::string::npos);
    EXPECT_NE(out.find("class=\"accent\""), std::string::npos);
    Document* back = Read(store, out);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Find(*back, "accent")->s.style.fill.color.c[0], 0);
    EXPECT_NEAR(Find(*back, "accent")->s.style.fill.color.c[1], 0x66 / 255.0, 1e-9);
    EXPECT_EQ(Find(*back, "special")->s.style.stroke.width, 4);
    EXPECT_EQ(WriteSvgText(*back), out);
}

TEST(SvgEditor, NumbersAreWrittenSoThatReopeningGivesTheSameDoubles) {
    DocStore store;
    Document* d = Read(store, "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 256 "
                              "128\"><path id=\"p\" d=\"M0 0 L1 1\"/><text id=\"t\" "
                              "transform=\"rotate(30)\">a</text></svg>");
    ASSERT_NE(d, nullptr);
    ArtNode* p = Find(*d, "p");
    ArtNode* t = Find(*d, "t");
    const double values[] = {1.0 / 3, 0.1 + 0.2, 1e-7, 123456.78901234567, -2.0 / 7, 64.5};
    p->s.segments.clear();
    for (double v : values)
        p->s.segments.push_back({{v, v / 3}, {v, v / 3}, {v, v / 3}, 1});
    const double angle = 0.3;
    t->s.matrix = {std::cos(angle), std::sin(angle), -std::sin(angle),
                   std::cos(angle), 1.0 / 3,         64.25};
    const std::string out = WriteSvgText(*d);
    EXPECT_NE(out.find("0.3333333333333333"), std::string::npos) << out;
    Document* back = Read(store, out);
    ASSERT_NE(back, nullptr);
    const ArtNode* q = Find(*back, "p");
    ASSERT_EQ(q->s.segments.size(), std::size(values));
    for (size_t i = 0; i < std::size(values); ++i) {
        // The page's flip (y to 128 - y and back) may round the last bit of y.
        EXPECT_EQ(q->s.segments[i].anchor.x, values[i]);
        EXPECT_NEAR(q->s.segments[i].anchor.y, values[i] / 3, 1e-13);
    }
    const VtgMatrix& m = Find(*back, "t")->s.matrix;
    for (auto [x, y] : {std::pair{m.a, t->s.matrix.a},
                        {m.b, t->s.matrix.b},
                        {m.c, t->s.matrix.c},
                        {m.d, t->s.matrix.d},
                        {m.tx, t->s.matrix.tx}})
        EXPECT_EQ(x, y);
    EXPECT_NEAR(m.ty, t->s.matrix.ty, 1e-13);
    EXPECT_EQ(WriteSvgText(*back), WriteSvgText(*Read(store, WriteSvgText(*back))));
}

// With the drawing editor installed: a file with a live object and a live
// effect shows in the editor as in rsvg-convert, and the file the editor
// saves back opens here with both still live, and updates.
TEST(SvgEditor, TheEditorShowsLiveArtAsViewersDoAndItsSavedFileStaysLive) {
    if (std::system("inkscape --version >/dev/null 2>&1") != 0 || !HaveRenderer())
        GTEST_SKIP() << "inkscape or rsvg-convert is not installed: the round trip through the "
                        "drawing editor is not tested";
    const char* bin = std::getenv("VTG_BIN_DIR");
    const std::string program = std::string(bin != nullptr ? bin : VTG_TEST_BIN_DIR) + "/vertigon";
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vtg_editor_trip";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto run = [](const std::string& cmd) {
        return std::system((cmd + " >/dev/null 2>&1").c_str());
    };
    const std::string live = (dir / "live.svg").string(), both = (dir / "both.svg").string(),
                      back = (dir / "back.svg").string(), updated = (dir / "updated.svg").string(),
                      png = (dir / "editor.png").string();
    ASSERT_EQ(run(program + " apply live-circle " + SourceDir() + "/examples/letters.svg -o " +
                  live + " --set copies=6"),
              0);
    ASSERT_EQ(run(program + " apply effect-lens " + live + " -o " + both), 0);
    const std::string saved = Slurp(both);
    ASSERT_NE(saved.find("vtg:kind=\"plugin\""), std::string::npos);
    ASSERT_NE(saved.find("vtg:kind=\"effected\""), std::string::npos);

    Picture viewer, editor;
    ASSERT_TRUE(Render(saved, "trip", viewer));
    ASSERT_EQ(run("inkscape --export-type=png --export-background-opacity=0 --export-width=" +
                  std::to_string(viewer.width) + " --export-filename=" + png + " " + both),
              0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, png.c_str()), 0);
    image.format = PNG_FORMAT_RGBA;
    editor.width = image.width;
    editor.height = image.height;
    editor.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    ASSERT_NE(png_image_finish_read(&image, nullptr, editor.rgba.data(), 0, nullptr), 0);
    ASSERT_EQ(editor.width, viewer.width);
    ASSERT_EQ(editor.height, viewer.height);
    // Two renderers: their edges differ by anti-aliasing, their areas not.
    // Compared premultiplied: a clear pixel's colour is any.
    double total = 0;
    for (size_t i = 0; i + 3 < viewer.rgba.size(); i += 4)
        for (size_t c = 0; c < 4; ++c) {
            const auto pre = [&](const Picture& p) {
                return c == 3 ? p.rgba[i + 3] : p.rgba[i + c] * p.rgba[i + 3] / 255;
            };
            total += std::abs(pre(viewer) - pre(editor));
        }
    EXPECT_LT(total / static_cast<double>(viewer.rgba.size()), 3.0);

    ASSERT_EQ(run("inkscape --export-type=svg --export-filename=" + back + " " + both), 0);
    ASSERT_EQ(run(program + " update " + back + " -o " + updated), 0);
    const std::string again = Slurp(updated);
    EXPECT_NE(again.find("vtg:kind=\"plugin\""), std::string::npos);
    EXPECT_NE(again.find("vtg:kind=\"effected\""), std::string::npos);
    EXPECT_NE(again.find("inkscape:groupmode=\"layer\""), std::string::npos);
    DocStore store;
    Document* d = Read(store, again);
    ASSERT_NE(d, nullptr);
    size_t plugins = 0;
    for (auto* l : d->layers)
        hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
            plugins += a->s.kind == kVtgArtPlugin ? 1 : 0;
            return true;
        });
    EXPECT_EQ(plugins, 1u);
}

} // namespace
