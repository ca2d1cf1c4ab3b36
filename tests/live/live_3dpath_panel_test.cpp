// Live 3D Path's panel as a user drives it: each variant keeps its own
// "Last Setting" in its own preset file, the rows follow the variant, the
// radio buttons follow the enabling by variant, and switching the variant
// with a 3D object selected makes it again with the new variant.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "live/live_object.hpp"
#include "live/path3d/path3d_ctrlr.hpp"
#include "params/live_storage.hpp"
#include "params/preset_library.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using V = vtg::Path3DPGViewController;

class Path3DPanel : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 100);
        Select({square_});
        ASSERT_EQ(host().chooseMenu("VERTiGON6_00"), kNoErr);
        ASSERT_NE(plugin()->liveController(), nullptr);
        ASSERT_EQ(plugin()->liveController()->kind(), vtg::kKind3DPath);
        view_ = plugin()->liveController()->view()->window();
        ui_.address(view_);
    }
    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    vtg::_3DTFilterParams& panel() const {
        return *static_cast<vtg::_3DTFilterParams*>(plugin()->liveController()->record());
    }
    platform::WindowId item(int id) const { return platform::GetItem(view_, id); }

    ArtNode* square_ = nullptr;
    platform::WindowId view_ = 0;
    vtgtest::UiDriver ui_;
};

TEST_F(Path3DPanel, EachVariantKeepsItsOwnLastSetting) {
    // Twist: a value typed, then Sphere chosen and back.
    ASSERT_EQ(ui_.choose(V::kVariant, 1), "");
    EXPECT_EQ(panel().variant, 1);
    EXPECT_STREQ(panel().header.presetFile, "VERTiGON4_PST_3DTwist.txt");
    EXPECT_DOUBLE_EQ(panel().param1, 180); // the twist's defaults
    EXPECT_TRUE(platform::IsEnabled(item(1441)));
    EXPECT_FALSE(platform::IsEnabled(item(1445))); // twist uses one row
    EXPECT_EQ(platform::GetText(item(1440)), "角度(°):");
    ASSERT_EQ(ui_.text(1441, "270"), "");
    EXPECT_DOUBLE_EQ(panel().param1, 270);
    ASSERT_EQ(ui_.choose(V::kVariant, 8), "");
    EXPECT_EQ(panel().variant, 8);
    EXPECT_STREQ(panel().header.presetFile, "VERTiGON4_PST_3DSphere.txt");
    EXPECT_DOUBLE_EQ(panel().param1, 360); // the sphere's defaults, not 270
    EXPECT_DOUBLE_EQ(panel().centreRatio.y, 2.0);
    EXPECT_TRUE(platform::IsChecked(item(V::kAfter)));
    ASSERT_EQ(ui_.choose(V::kVariant, 1), "");
    EXPECT_DOUBLE_EQ(panel().param1, 270); // the twist's last setting again
    // The twist's file holds it.
    std::vector<std::string> names;
    EXPECT_EQ(vtg::ListPresetNames(&panel(), names), kNoErr);
    // Rotate disables the rows and the post-rotation, and turns to xyz.
    ASSERT_EQ(ui_.choose(V::kVariant, 0), "");
    EXPECT_FALSE(platform::IsEnabled(item(1441)));
    EXPECT_FALSE(platform::IsEnabled(item(1466)));
    EXPECT_TRUE(platform::IsChecked(item(V::kBefore)));
    EXPECT_EQ(panel().transformed, 0);
    EXPECT_EQ(vtg::gGlobals->threeD.panelTransformed, 0);
}

TEST_F(Path3DPanel, TypedValuesAreLimitedToTheVariantsRange) {
    ASSERT_EQ(ui_.choose(V::kVariant, 4), ""); // spin: cycles 1 .. 4000
    ASSERT_EQ(ui_.text(1445, "0"), "");
    EXPECT_DOUBLE_EQ(panel().param2, 1);
    ASSERT_EQ(ui_.text(1457, "1e400"), "");
    EXPECT_DOUBLE_EQ(panel().perspective, 100);
    ASSERT_EQ(ui_.text(1437, "-999"), "");
    EXPECT_DOUBLE_EQ(panel().preRotation[0], -360);
    ASSERT_EQ(ui_.text(1475, "50000"), "");
    EXPECT_DOUBLE_EQ(panel().centreRatio.x, 200);
}

TEST_F(Path3DPanel, SwitchingTheVariantRemakesTheSelectedObject) {
    ASSERT_EQ(ui_.choose(V::kVariant, 1), "");
    ASSERT_EQ(ui_.click(1421), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    Select({live});
    ASSERT_EQ(plugin()->liveController()->SyncPanelWithSelection(false), kNoErr);
    ASSERT_EQ(ui_.choose(V::kVariant, 11), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ASSERT_EQ(TopLevel().size(), 1u);
    ArtNode* remade = TopLevel().at(0);
    ASSERT_EQ(remade->s.kind, kVtgArtPlugin);
    vtg::SetCurrentKind(vtg::kKind3DPath);
    vtg::_3DTFilterParams stored{};
    ASSERT_EQ(vtg::LoadParamBlock(DocStore::handle(remade), &stored), kNoErr);
    EXPECT_EQ(stored.variant, 11);
}

} // namespace
