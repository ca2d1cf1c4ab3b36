// document_fixture.hpp - a started host with the plug-in, a fresh settings
// profile and one open 400 x 400 document, with helpers that add squares
// and set the selection as a user would.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "host/doc/art.hpp"
#include "host/preferences.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/plugin_host.hpp"

namespace vtgtest {

inline PathSegment Corner(double x, double y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

class DocumentTest : public PluginHostTest {
protected:
    using ArtNode = hostapp::doc::ArtNode;

    void SetUp() override {
        // A fresh profile: no settings or dialog positions of earlier runs.
        profile_ = std::filesystem::temp_directory_path() /
                   ("vtg_doc_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_suite()->name() + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(profile_);
        std::filesystem::create_directories(profile_);
        ::setenv("USERPROFILE", profile_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", profile_.c_str(), 1);
        hostapp::Preferences::instance().reload();
        PluginHostTest::SetUp();
        platform::ResetWindowSystem();
        platform::ClearUserInput();
        platform::ReleaseAllKeys();
        ASSERT_EQ(host().startup(), kNoErr);
        doc_ = host().docs().newDocument(400, 400);
        host().notify(kNotifyDocumentOpened, nullptr);
        ASSERT_TRUE(vtg::gGlobals != nullptr && vtg::gGlobals->initialised != 0);
    }
    void TearDown() override {
        platform::ClearUserInput();
        PluginHostTest::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(profile_, ec);
    }

    // A closed square path at the bottom of `into` (the layer when null).
    ArtNode* AddSquare(const std::string& id, double x, double y, double size,
                       ArtNode* into = nullptr) {
        ArtNode* a = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtPath, kVtgPlaceInsideOnBottom, into, a),
                  kNoErr);
        a->s.segments = {Corner(x, y), Corner(x + size, y), Corner(x + size, y + size),
                         Corner(x, y + size)};
        a->s.closed = true;
        a->s.name = id;
        hostapp::doc::Commit(*doc_);
        return a;
    }
    // Selects exactly `arts` (the host lists their descendants after them).
    void Select(const std::vector<ArtNode*>& arts) {
        hostapp::doc::Commit(*doc_);
        hostapp::doc::SelectNone(*doc_);
        for (ArtNode* a : arts)
            hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
        doc_->pending = {};
    }
    std::vector<ArtNode*> TopLevel() const { return doc_->layers[0]->group->s.children; }

    std::filesystem::path profile_;
    hostapp::doc::Document* doc_ = nullptr;
};

} // namespace vtgtest
