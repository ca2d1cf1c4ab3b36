// The gallery's pictures: the viewBox fitted to all art (also art outside
// the page), and clipping groups clipped as a viewer shows them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/gallery.hpp"
#include "host/doc/art.hpp"
#include "host/doc/document.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::Document;

PathSegment Corner(double x, double y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

ArtNode* Square(Document& d, ArtNode* into, double x, double y, double size, double stroke) {
    ArtNode* a = nullptr;
    EXPECT_EQ(hostapp::doc::CreateArt(d, kVtgArtPath, kVtgPlaceInsideOnBottom, into, a), kNoErr);
    a->s.segments = {Corner(x, y), Corner(x + size, y), Corner(x + size, y + size),
                     Corner(x, y + size)};
    a->s.closed = true;
    a->s.style = hostapp::doc::DefaultPathStyle();
    a->s.style.stroke.on = stroke > 0 ? 1 : 0;
    a->s.style.stroke.width = stroke;
    return a;
}

struct Box {
    double x = 0, y = 0, w = 0, h = 0;
};

Box ViewBox(const std::string& svg) {
    Box b;
    const std::size_t at = svg.find("viewBox=\"");
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) {
        EXPECT_EQ(std::sscanf(svg.c_str() + at + 9, "%lf %lf %lf %lf", &b.x, &b.y, &b.w, &b.h), 4);
    }
    return b;
}

class GalleryPicture : public ::testing::Test {
protected:
    hostapp::doc::DocStore store_;
    Document* doc_ = store_.newDocument(100, 100);
};

TEST_F(GalleryPicture, ViewBoxHoldsArtOutsideThePageAndStaysSquare) {
    // A square reaching past the left and bottom edges, with a 10 pt stroke.
    Square(*doc_, nullptr, -50, -20, 60, 10);
    const std::string svg = app::FittedSvg(*doc_);
    const Box b = ViewBox(svg);
    EXPECT_EQ(b.w, b.h);
    // In SVG space the square runs from x -55 to 15 and y 55 to 125.
    EXPECT_LE(b.x, -55);
    EXPECT_GE(b.x + b.w, 15);
    EXPECT_LE(b.y, 55);
    EXPECT_GE(b.y + b.h, 125);
    EXPECT_LE(b.w, 70 * 1.2 + 10); // a margin, not the page
    EXPECT_NE(svg.find("width=\"" + std::to_string(static_cast<int>(b.w))), std::string::npos);
}

TEST_F(GalleryPicture, EmptyDocumentKeepsItsPage) {
    const Box b = ViewBox(app::FittedSvg(*doc_));
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 0);
    EXPECT_EQ(b.w, 100);
    EXPECT_EQ(b.h, 100);
}

TEST_F(GalleryPicture, ClippingGroupsGetAClipPath) {
    ArtNode* group = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
              kNoErr);
    hostapp::doc::SetAttributes(group, kVtgArtClipping, true);
    Square(*doc_, group, 0, 0, 80, 4);
    ArtNode* clip = Square(*doc_, group, 20, 20, 40, 0);
    clip->s.style.clip = 1;
    hostapp::doc::SetAttributes(clip, kVtgArtClipping, true);
    clip->s.style.fill.on = 0;
    const std::string svg = app::FittedSvg(*doc_);
    const std::size_t def = svg.find("<clipPath id=\"vtg-clip-1\"");
    ASSERT_NE(def, std::string::npos) << svg;
    EXPECT_NE(svg.find("clip-path=\"url(#vtg-clip-1)\""), std::string::npos);
    EXPECT_EQ(svg.find("vtg-clip-2"), std::string::npos);
    // The clip path holds the clipping square's outline, and the picture
    // shows what the clip leaves.
    EXPECT_NE(svg.find("d=\"M20 80", def), std::string::npos) << svg;
    const Box b = ViewBox(svg);
    EXPECT_LE(b.x, 20);
    EXPECT_GE(b.x + b.w, 60);
    EXPECT_LT(b.w, 60);
}

} // namespace
