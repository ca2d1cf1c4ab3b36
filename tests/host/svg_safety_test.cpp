// SVG documents the writer must not break: values a reader would refuse
// stop the save, ids stay unique, guides stay out of other viewers'
// renderings, and what the reader takes is only what it can write back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
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

std::string Svg(const std::string& body, const std::string& root = "viewBox=\"0 0 100 50\"") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">" + body + "</svg>";
}

std::string Write(const Document& d) {
    std::string text;
    SvgError err;
    EXPECT_TRUE(hostapp::svg::WriteSvgText(d, text, err)) << err.message;
    return text;
}

ArtNode* NewPath(Document& d, ArtNode* into, const std::string& id, double x) {
    ArtNode* a = nullptr;
    EXPECT_EQ(hostapp::doc::CreateArt(d, kVtgArtPath,
                                      into == nullptr ? kVtgPlaceAboveAll : kVtgPlaceInsideOnBottom,
                                      into, a),
              kNoErr);
    a->s.name = id;
    a->s.style = hostapp::doc::DefaultPathStyle();
    const auto corner = [](double px, double py) {
        return PathSegment{{px, py}, {px, py}, {px, py}, 1};
    };
    a->s.segments = {corner(x, 0), corner(x + 5, 0), corner(x + 5, 5)};
    a->s.closed = true;
    return a;
}

// Every id="..." of a text, in order.
std::vector<std::string> Ids(const std::string& svg) {
    std::vector<std::string> ids;
    for (size_t at = svg.find(" id=\""); at != std::string::npos; at = svg.find(" id=\"", at + 5))
        ids.push_back(svg.substr(at + 5, svg.find('"', at + 5) - at - 5));
    return ids;
}

TEST(SvgSafety, ValuesTheReaderWouldRefuseStopTheSave) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        void (*spoil)(ArtNode* path, double nan, double inf);
        const char* expected;
    };
    const Case cases[] = {
        {"NaN anchor", [](ArtNode* p, double n, double) { p->s.segments[1].anchor.x = n; },
         "path 'p' has a coordinate that is not a number"},
        {"infinite handle", [](ArtNode* p, double, double i) { p->s.segments[0].out.y = -i; },
         "path 'p' has a coordinate that is not a number"},
        {"1e300 offset",
         [](ArtNode* p, double, double) {
             for (PathSegment& s : p->s.segments)
                 s.anchor.x = s.in.x = s.out.x = 1e300;
         },
         "path 'p' has a coordinate beyond the limit of 1e9"},
        {"just beyond the limit", [](ArtNode* p, double, double) { p->s.segments[2].in.y = -2e9; },
         "path 'p' has a coordinate beyond the limit of 1e9"},
        {"NaN stroke width", [](ArtNode* p, double n, double) { p->s.style.stroke.width = n; },
         "path 'p' has a negative stroke width"},
        {"huge dash",
         [](ArtNode* p, double, double) {
             p->s.style.stroke.dashCount = 2;
             p->s.style.stroke.dash[0] = 1;
             p->s.style.stroke.dash[1] = 1e60;
         },
         "path 'p' has a dash length beyond the limit"},
        {"NaN opacity", [](ArtNode* p, double n, double) { p->s.opacity = n; },
         "path 'p' has opacity that is not a number"},
        {"NaN colour",
         [](ArtNode* p, double n, double) {
             p->s.style.fill.on = 1;
             p->s.style.fill.color.kind = kVtgColorRGB;
             p->s.style.fill.color.c[1] = n;
         },
         "path 'p' has a colour value that is not a number"},
        {"a line break in a name",
         [](ArtNode* p, double n, double) {
             p->s.name = "p\nq";
             p->s.segments[0].anchor.y = n;
         },
         "path 'p q' has a coordinate that is not a number"},
        {"NUL in a name", [](ArtNode* p, double, double) { p->s.name = std::string("p\0q", 3); },
         "with characters XML cannot hold"},
        {"bad UTF-8 in a dictionary entry",
         [](ArtNode* p, double, double) {
             p->s.dictionary["k"] = {kVtgEntryString, 0, 0, "\xC3\x28"};
         },
         "has a dictionary entry with characters XML cannot hold"},
    };
    const auto dir = std::filesystem::temp_directory_path() / "vtg_svg_safety_test";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "old.svg").string();
    for (const Case& c : cases) {
        DocStore store;
        Document* d = store.newDocument(100, 100);
        ArtNode* p = NewPath(*d, nullptr, "p", 10);
        NewPath(*d, nullptr, "other", 40);
        SvgError err;
        ASSERT_TRUE(hostapp::svg::WriteSvgFile(*d, file, err)) << err.message;
        const std::string old = Slurp(file);
        c.spoil(p, nan, inf);
        std::string text = "unchanged";
        EXPECT_FALSE(hostapp::svg::WriteSvgText(*d, text, err)) << c.what;
        EXPECT_TRUE(text.empty()) << c.what;
        EXPECT_NE(err.message.find(c.expected), std::string::npos) << c.what << ": " << err.message;
        EXPECT_EQ(err.message.find('\n'), std::string::npos) << err.message;
        err = {};
        EXPECT_FALSE(hostapp::svg::WriteSvgFile(*d, file, err)) << c.what;
        EXPECT_EQ(err.message.rfind(file + ": cannot save: ", 0), 0u) << err.message;
        EXPECT_EQ(Slurp(file), old) << c.what; // the old file is intact
        // The unchecked text is at least well-formed, without stray bytes.
        const std::string raw = hostapp::svg::WriteSvgText(*d);
        EXPECT_EQ(raw.find("nan"), std::string::npos) << c.what;
        EXPECT_EQ(raw.find("inf"), std::string::npos) << c.what;
        EXPECT_LT(raw.size(), 4000u) << c.what;
    }
    std::filesystem::remove_all(dir);

    // Colour values are stored exactly at any finite size, as read.
    DocStore store;
    Document* d = nullptr;
    SvgError err;
    ASSERT_TRUE(ReadSvgText(store, Svg("<path vtg:fill=\"5 0 1e300 0 0 0 0|\" d=\"M0 0L1 1\"/>"),
                            "colour.svg", d, err))
        << err.message;
    const std::string text = Write(*d);
    EXPECT_NE(text.find("vtg:fill=\"5 0 1e+300 0 0 0 0|\""), std::string::npos) << text;
}

TEST(SvgSafety, CopiesGetDerivedIdsThatStayTheSame) {
    DocStore store;
    Document* d = store.newDocument(100, 100);
    // A live object whose result holds three copies of its source "src",
    // art that already has the name a copy would get, and a definition.
    ArtNode* live = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*d, kVtgArtPlugin, kVtgPlaceAboveAll, nullptr, live), kNoErr);
    live->s.plugin.groupName = "Circle";
    NewPath(*d, live->s.plugin.edit, "src", 0);
    for (int i = 0; i < 3; ++i)
        NewPath(*d, live->s.plugin.result, "src", 10.0 * i);
    NewPath(*d, nullptr, "src-2", 50);
    NewPath(*d, nullptr, "dup", 60);
    NewPath(*d, nullptr, "dup", 70);
    NewPath(*d, nullptr, "def", 80); // an art with the id of a definition
    d->defs = "<defs><linearGradient id=\"def\"/></defs>";
    const std::string first = Write(*d);
    const std::vector<std::string> ids = Ids(first);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size()) << first;
    for (const char* id : {"src", "src-3", "src-4", "src-2", "dup", "dup-2", "def", "def-2"})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id << "\n" << first;
    // The source keeps its id: the edit art is written before the result.
    EXPECT_LT(first.find("id=\"src\""), first.find("id=\"src-3\""));

    // Reopened, the file saves to the same bytes; so does a regeneration,
    // which makes its copies from the source again.
    Document* back = nullptr;
    SvgError err;
    ASSERT_TRUE(ReadSvgText(store, first, "ids.svg", back, err)) << err.message;
    EXPECT_EQ(Write(*back), first);
    live->s.plugin.result->s.children.clear();
    for (int i = 0; i < 3; ++i)
        NewPath(*d, live->s.plugin.result, "src", 10.0 * i);
    EXPECT_EQ(Write(*d), first);
}

TEST(SvgSafety, GuidesAreHiddenFromOtherViewers) {
    struct Case {
        int32_t attributes;
        const char* written; // what a viewer sees: display none either way
    };
    const Case cases[] = {
        {kVtgArtGuide, "display=\"none\" vtg:guide=\"shown\""},
        {kVtgArtGuide | kVtgArtHidden, "display=\"none\" vtg:guide=\"1\""},
        {kVtgArtHidden, "display=\"none\""},
        {0, ""},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = store.newDocument(100, 100);
        ArtNode* mark = nullptr;
        ASSERT_EQ(hostapp::doc::CreateArt(*d, kVtgArtGroup, kVtgPlaceAboveAll, nullptr, mark),
                  kNoErr);
        mark->s.name = "mark";
        mark->s.attributes = c.attributes;
        NewPath(*d, mark, "line", 0);
        const std::string text = Write(*d);
        const size_t at = text.find("id=\"mark\"");
        const std::string tag = text.substr(at, text.find('>', at) - at);
        if (*c.written != '\0')
            EXPECT_NE(tag.find(c.written), std::string::npos) << tag;
        else
            EXPECT_EQ(tag.find("display"), std::string::npos) << tag;
        Document* back = nullptr;
        SvgError err;
        ASSERT_TRUE(ReadSvgText(store, text, "g.svg", back, err)) << err.message;
        const ArtNode* g = back->layers.front()->group->s.children.front();
        EXPECT_EQ(g->s.attributes & (kVtgArtGuide | kVtgArtHidden), c.attributes) << tag;
        EXPECT_EQ(Write(*back), text);
    }
    // Files written before: a guide without display shows, one with
    // display none is hidden.
    DocStore store;
    Document* d = nullptr;
    SvgError err;
    ASSERT_TRUE(ReadSvgText(store,
                            Svg("<path id=\"a\" vtg:guide=\"1\" d=\"M0 0L1 1\"/>"
                                "<path id=\"b\" vtg:guide=\"1\" display=\"none\" d=\"M0 0L1 1\"/>"),
                            "old.svg", d, err))
        << err.message;
    const auto& arts = d->layers.front()->group->s.children;
    ASSERT_EQ(arts.size(), 2u);
    EXPECT_EQ(arts[1]->s.attributes & (kVtgArtGuide | kVtgArtHidden), kVtgArtGuide);
    EXPECT_EQ(arts[0]->s.attributes & (kVtgArtGuide | kVtgArtHidden), kVtgArtGuide | kVtgArtHidden);
}

TEST(SvgSafety, ReadingRefusesWhatCannotBeWrittenBack) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        // Page sizes that would be written as 0.
        {Svg("", "viewBox=\"0 0 4.9e-324 10\""), "test.svg:1:1: page size out of range"},
        {Svg("", "viewBox=\"0 0 10 4e-7\""), "page size out of range"},
        {Svg("", "width=\"1e-9\" height=\"5\""), "page size out of range"},
        // Characters XML 1.0 cannot hold, raw or as references.
        {Svg("<path id=\"a&#1;b\" d=\"M0 0\"/>"),
         "test.svg:1:73: not well-formed XML: character reference '&#1;' names a character XML "
         "does not allow"},
        {Svg("<path id=\"a&#0;b\" d=\"M0 0\"/>"), "test.svg:1:73: not well-formed XML"},
        {Svg("<path id=\"a&#x110000;\" d=\"M0 0\"/>"), "names a character XML does not allow"},
        {Svg("<text>\x01</text>"), "test.svg:1:68: not well-formed XML: character U+0001"},
        {Svg("\n<path id=\"\xC3\x28\" d=\"M0 0\"/>"),
         "test.svg:2:11: not well-formed XML: malformed UTF-8"},
        {Svg("<text>\xED\xA0\x80</text>"), "malformed UTF-8"}, // a surrogate
        {Svg("<text>\xC0\xAF</text>"), "malformed UTF-8"},     // overlong
        {Svg("<!-- \xFF -->"), "malformed UTF-8"},
        // Entities this reader does not expand.
        {Svg("<text>&nbsp;</text>"),
         "test.svg:1:68: not well-formed XML: entity reference '&nbsp;' is not supported"},
        {"<!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n" + Svg("<text>&x;</text>"),
         "test.svg:2:68: not well-formed XML: entity reference '&x;' is not supported"},
        {Svg("<text>fish & chips</text>"), "'&' that starts no reference"},
        {Svg("<text>&#xZZ;</text>"), "bad character reference"},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = nullptr;
        SvgError err;
        EXPECT_FALSE(ReadSvgText(store, c.text, "test.svg", d, err)) << c.text;
        EXPECT_EQ(d, nullptr);
        EXPECT_NE(err.message.find(c.expected), std::string::npos) << c.text << "\n" << err.message;
        EXPECT_EQ(err.message.find('\n'), std::string::npos) << err.message;
    }
    // What is allowed reads and is written back as well-formed XML.
    const std::string good = "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
                             "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" +
                             Svg("<text id=\"t&amp;&#233;&#x1F600;\">a &lt;&gt;&quot;&apos; "
                                 "\xC3\xA9\t&#10;<![CDATA[ & ]]><!-- & --></text>",
                                 "viewBox=\"0 0 0.000001 10\"");
    DocStore store;
    Document* d = nullptr;
    SvgError err;
    ASSERT_TRUE(ReadSvgText(store, good, "good.svg", d, err)) << err.message;
    const std::string saved = Write(*d);
    Document* back = nullptr;
    ASSERT_TRUE(ReadSvgText(store, saved, "saved.svg", back, err)) << err.message << "\n" << saved;
    EXPECT_EQ(Write(*back), saved);
    EXPECT_NE(saved.find("viewBox=\"0 0 0.000001 10\""), std::string::npos) << saved;
}

TEST(SvgSafety, ReadingStopsAtTheSizeLimit) {
    DocStore store;
    Document* d = nullptr;
    SvgError err;
    // A device that never ends is read up to the limit only (a small limit
    // here; the program's is 256 MB).
    EXPECT_FALSE(hostapp::svg::ReadSvgFile(store, "/dev/zero", d, err, 3 << 20));
    EXPECT_EQ(err.message, "/dev/zero: the file is larger than the limit of 3 MB");
    const auto dir = std::filesystem::temp_directory_path() / "vtg_svg_limit_test";
    std::filesystem::create_directories(dir);
    // A file: one byte over is refused, the limit itself is read.
    const std::string exact = (dir / "exact.svg").string();
    const std::string body = Svg("<path d=\"M0 0 L5 5\"/>");
    std::ofstream(exact) << body;
    EXPECT_FALSE(hostapp::svg::ReadSvgFile(store, exact, d, err, body.size() - 1));
    EXPECT_EQ(err.message, exact + ": the file is larger than the limit of " +
                               std::to_string(body.size() - 1) + " bytes");
    EXPECT_TRUE(hostapp::svg::ReadSvgFile(store, exact, d, err, body.size())) << err.message;
    {
        const std::string text(hostapp::svg::kMaxFileSize + 1, ' ');
        EXPECT_FALSE(ReadSvgText(store, text, "big.svg", d, err));
        EXPECT_EQ(err.message, "big.svg: the file is larger than the limit of 256 MB");
    }
    // A fault in a file read from disk is placed on the file as it was.
    const std::string file = (dir / "bad.svg").string();
    std::ofstream(file) << Svg("<text x=\"&#10;&#10;\"/>\n\n  <path d=\"M0 0 L5\"/>");
    EXPECT_FALSE(hostapp::svg::ReadSvgFile(store, file, d, err));
    EXPECT_NE(err.message.find(file + ":3:3: broken path data"), std::string::npos) << err.message;
    std::filesystem::remove_all(dir);
}

// Documents the reader accepts, changed as a plug-in may change them
// (points moved anywhere, including beyond what a file can hold; copies
// sharing ids; names from arbitrary bytes), either save and reopen to the
// same bytes or are refused with an error naming the art.
TEST(SvgSafety, ChangedDocumentsSaveAndReopenOrAreRefused) {
    std::vector<std::string> files;
    for (const char* dir : {"/examples", "/tests/fixtures"})
        for (const auto& e : std::filesystem::recursive_directory_iterator(SourceDir() + dir))
            if (e.path().extension() == ".svg")
                files.push_back(e.path().string());
    ASSERT_FALSE(files.empty());
    std::mt19937 random(20);
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             1e300,
                             1e57,
                             -1e9,
                             1e9 + 1,
                             4.9e-324,
                             5e-7,
                             -0.0,
                             123456.7890123};
    int saved = 0, refused = 0;
    for (const std::string& file : files) {
        for (int round = 0; round < 8; ++round) {
            DocStore store;
            Document* d = nullptr;
            SvgError err;
            if (!hostapp::svg::ReadSvgFile(store, file, d, err))
                continue; // the refused inputs are the reader's tests
            std::vector<ArtNode*> arts;
            for (auto* l : d->layers)
                hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
                    arts.push_back(a);
                    return true;
                });
            for (int change = 0; change < 4 && !arts.empty(); ++change) {
                ArtNode* a = arts[random() % arts.size()];
                switch (random() % 5) {
                case 0:
                    if (!a->s.segments.empty()) {
                        PathSegment& s = a->s.segments[random() % a->s.segments.size()];
                        (random() % 2 == 0 ? s.anchor.x : s.out.y) = values[random() % 10];
                    }
                    break;
                case 1:
                    for (PathSegment& s : a->s.segments)
                        s.anchor.x += 1e8 * static_cast<double>(random() % 20);
                    break;
                case 2:
                    a->s.name = arts[random() % arts.size()]->s.name; // a copy's id
                    break;
                case 3:
                    a->s.name = std::string(1, static_cast<char>(random() % 256)) + "x";
                    break;
                default:
                    a->s.style.stroke.width = values[random() % 10];
                    break;
                }
            }
            std::string text;
            if (!hostapp::svg::WriteSvgText(*d, text, err)) {
                EXPECT_EQ(err.message.rfind("cannot save: ", 0), 0u) << err.message;
                EXPECT_EQ(err.message.find('\n'), std::string::npos) << err.message;
                ++refused;
                continue;
            }
            Document* back = nullptr;
            ASSERT_TRUE(ReadSvgText(store, text, "saved.svg", back, err))
                << file << ": " << err.message;
            std::string again;
            ASSERT_TRUE(hostapp::svg::WriteSvgText(*back, again, err)) << err.message;
            EXPECT_EQ(again, text) << file;
            const std::vector<std::string> ids = Ids(text);
            EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size()) << file;
            ++saved;
        }
    }
    EXPECT_GT(saved, 10);
    EXPECT_GT(refused, 10);
}

// What is saved follows what is seen: straight pieces are lines, and the
// result of live effects (which reopening makes again from the source) is
// written to a thousandth, without the source's corner flags.
TEST(SvgSafety, SavedSizeFollowsWhatIsSeen) {
    DocStore store;
    Document* d = store.newDocument(1000, 1000);
    ArtNode* src = NewPath(*d, nullptr, "src", 0);
    src->s.segments.clear();
    for (int i = 0; i < 100; ++i) {
        const VtgPoint p{10 + i * 3.123456, 500 + (i % 2) * 7.654321};
        src->s.segments.push_back({p, p, p, 1});
    }
    src->s.closed = false;
    src->s.effects.push_back({"VERTiGON5_Lens", {{"transform", {kVtgEntryInteger, 3, 0, ""}}}});
    ArtNode* result = hostapp::doc::CopyTree(*d, src);
    result->s.effects.clear();
    result->s.name.clear();
    for (PathSegment& g : result->s.segments) {
        g.in = {g.anchor.x - 1.0 / 3, g.anchor.y + 1.0 / 7};
        g.out = {g.anchor.x + 1.0 / 3, g.anchor.y - 1.0 / 7};
    }
    src->effectResult = result;
    const std::string text = Write(*d);
    const size_t split = text.find("vtg:part=\"source\"");
    const size_t shown = text.find("</g>", split);
    ASSERT_NE(shown, std::string::npos);
    const std::string source = text.substr(split, shown - split), seen = text.substr(shown);
    size_t lines = 0;
    for (size_t at = source.find(" L"); at != std::string::npos; at = source.find(" L", at + 1))
        ++lines;
    EXPECT_EQ(lines, 99u) << source;
    EXPECT_EQ(source.find(" C"), std::string::npos) << source;
    EXPECT_NE(source.find("L13.123456 492.345679"), std::string::npos) << source;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 'C'), 99) << seen;
    EXPECT_NE(seen.find("C10.333 500.143 12.79 492.203 13.123 492.346"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("vtg:corners"), std::string::npos);
    EXPECT_EQ(seen.find("vtg:ends"), std::string::npos);
    EXPECT_LT(text.size(), 9000u);
    // The source reopens as written: its pieces straight.
    Document* back = nullptr;
    SvgError err;
    ASSERT_TRUE(ReadSvgText(store, text, "seen.svg", back, err)) << err.message;
    const ArtNode* again = back->layers.front()->group->s.children.front();
    ASSERT_EQ(again->s.segments.size(), 100u);
    for (size_t i = 0; i < 100; ++i) {
        EXPECT_NEAR(again->s.segments[i].anchor.x, src->s.segments[i].anchor.x, 5e-7);
        EXPECT_NEAR(again->s.segments[i].out.y, src->s.segments[i].out.y, 5e-7);
        EXPECT_EQ(again->s.segments[i].out.x, again->s.segments[i].anchor.x);
        EXPECT_EQ(again->s.segments[i].corner, 1);
    }
}

} // namespace
