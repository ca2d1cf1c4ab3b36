// geometry_fixture.hpp - a host whose suites the geometry routines reach
// through the plug-in's suite pointers, with helpers to build paths.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "core/suite_set.hpp"
#include "geometry/path_model.hpp"
#include "host/host.hpp"

namespace vtgtest {

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<hostapp::Host>();
        Acquire(kMemorySuiteName, kMemorySuiteVersion, vtg::sMemory);
        Acquire(kBezierSuiteName, kBezierSuiteVersion, vtg::sBezier);
        Acquire(kMathSuiteName, kMathSuiteVersion, vtg::sMath);
    }
    void TearDown() override {
        for (auto& held : held_) {
            host_->broker().release(held.name, held.version);
            *held.slot = nullptr;
        }
        held_.clear();
        host_.reset();
    }

    template <typename T> void Acquire(const char* name, int32_t version, const T*& slot) {
        const void* table = nullptr;
        ASSERT_EQ(host_->broker().acquire(name, version, &table), kNoErr) << name;
        slot = static_cast<const T*>(table);
        held_.push_back({name, version, reinterpret_cast<const void**>(&slot)});
    }

    int LiveBlocks() const { return host_->memory().total().blocks; }
    hostapp::Host& host() { return *host_; }

    std::unique_ptr<hostapp::Host> host_;

private:
    struct Held {
        const char* name;
        int32_t version;
        const void** slot;
    };
    std::vector<Held> held_;
};

inline PathSegment Corner(double x, double y) {
    return PathSegment{{x, y}, {x, y}, {x, y}, 1};
}

inline PathSegment Smooth(double x, double y, double dx, double dy) {
    return PathSegment{{x, y}, {x - dx, y - dy}, {x + dx, y + dy}, 0};
}

// A zig-zag polyline of n corner segments along x.
inline std::vector<PathSegment> Polyline(int n, double step = 10) {
    std::vector<PathSegment> s;
    s.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        s.push_back(Corner(i * step, (i % 2) * step));
    return s;
}

// A wavy smooth path of n segments.
inline std::vector<PathSegment> SmoothPath(int n, double step = 10) {
    std::vector<PathSegment> s;
    s.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        s.push_back(Smooth(i * step, 5 * std::sin(i * 0.7), step / 3, 1.5 * std::cos(i * 0.7)));
    return s;
}

// n smooth segments on a circle of radius r, handles along the tangents.
inline std::vector<PathSegment> RoundPath(int n, double r) {
    std::vector<PathSegment> s;
    const double step = 2 * M_PI / n, k = r * 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < n; ++i) {
        const double a = i * step, c = std::cos(a), d = std::sin(a);
        s.push_back(Smooth(r * c, r * d, -d * k, c * k));
    }
    return s;
}

// Field by field: the padding after `corner` carries no value.
inline bool SameSegment(const PathSegment& a, const PathSegment& b) {
    return a.anchor.x == b.anchor.x && a.anchor.y == b.anchor.y && a.in.x == b.in.x &&
           a.in.y == b.in.y && a.out.x == b.out.x && a.out.y == b.out.y && a.corner == b.corner;
}

inline bool SameSegments(const PathSegment* a, const PathSegment* b, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!SameSegment(a[i], b[i]))
            return false;
    return true;
}

inline bool SameSegments(const std::vector<PathSegment>& a, const std::vector<PathSegment>& b) {
    return a.size() == b.size() && SameSegments(a.data(), b.data(), a.size());
}

inline VtgPoint CurvePoint(const PathSegment& a, const PathSegment& b, double t) {
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * t * u * u, w2 = 3 * t * t * u, w3 = t * t * t;
    return VtgPoint{w0 * a.anchor.x + w1 * a.out.x + w2 * b.in.x + w3 * b.anchor.x,
                    w0 * a.anchor.y + w1 * a.out.y + w2 * b.in.y + w3 * b.anchor.y};
}

inline bool SamePoint(VtgPoint a, VtgPoint b, double eps = 1e-9) {
    return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

} // namespace vtgtest

namespace vtgtest {

// A host with an open document whose art the tests build through the host's
// own art and path suites.
class DocTest : public GeometryTest {
protected:
    void SetUp() override {
        GeometryTest::SetUp();
        Acquire(kArtSuiteName, kArtSuiteVersion, vtg::sArt);
        Acquire(kPathSuiteName, kPathSuiteVersion, vtg::sPath);
        document_ = host().docs().newDocument(612, 792);
        layerGroup_ = hostapp::doc::DocStore::handle(document_->layers.front()->group);
    }

    // A new art of `kind` as the back-most child of `parent` (null: the layer).
    ArtHandle Add(int32_t kind, ArtHandle parent = nullptr) {
        ArtHandle art = nullptr;
        EXPECT_EQ(vtg::sArt->NewArt(kind, kVtgPlaceInsideOnBottom,
                                    parent != nullptr ? parent : layerGroup_, &art),
                  kNoErr);
        return art;
    }

    ArtHandle AddPath(const std::vector<PathSegment>& segs, ArtHandle parent = nullptr,
                      bool closed = false) {
        ArtHandle path = Add(kVtgArtPath, parent);
        EXPECT_EQ(
            vtg::sPath->SetPathSegments(path, 0, static_cast<int16_t>(segs.size()), segs.data()),
            kNoErr);
        EXPECT_EQ(vtg::sPath->SetPathSegmentCount(path, static_cast<int16_t>(segs.size())), kNoErr);
        EXPECT_EQ(vtg::sPath->SetPathClosed(path, closed ? 1 : 0), kNoErr);
        return path;
    }

    std::vector<PathSegment> SegmentsOf(ArtHandle path) {
        int16_t n = 0;
        EXPECT_EQ(vtg::sPath->GetPathSegmentCount(path, &n), kNoErr);
        std::vector<PathSegment> s(static_cast<size_t>(n));
        if (n > 0) {
            EXPECT_EQ(vtg::sPath->GetPathSegments(path, 0, n, s.data()), kNoErr);
        }
        return s;
    }

    std::vector<ArtHandle> ChildrenOf(ArtHandle container) {
        std::vector<ArtHandle> out;
        ArtHandle c = nullptr;
        vtg::sArt->GetArtFirstChild(container, &c);
        while (c != nullptr) {
            out.push_back(c);
            vtg::sArt->GetArtNextSibling(c, &c);
        }
        return out;
    }

    // A second layer with its own root group.
    ArtHandle AddLayerGroup(const char* name) {
        hostapp::doc::LayerNode* l = host().docs().newLayer(*document_, name);
        document_->layers.push_back(l);
        return hostapp::doc::DocStore::handle(l->group);
    }

    hostapp::doc::Document* document_ = nullptr;
    ArtHandle layerGroup_ = nullptr;
};

} // namespace vtgtest
