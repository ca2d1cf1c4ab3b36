// The live effects end to end through the host: adding and editing an
// instance with its dialog and preview, Cancel, Go Live, interpolation, the
// dictionary, reset, the saved file, the lens-area guide.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/suite_set.hpp"
#include "effects/effect_controllers.hpp"
#include "effects/effect_ctrlr.hpp"
#include "effects/lens/lens_ctrlr.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/svg/svg.hpp"
#include "platform/draw.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::Document;
using hostapp::doc::Entries;
using hostapp::doc::Entry;

constexpr const char* kLens = "VERTiGON5_Lens";
constexpr const char* kWave = "VERTiGON5_Wave";
constexpr const char* kWarp = "VERTiGON5_Warp";
constexpr ErrorCode kStop = 0x53544F50;

using vtgtest::Corner;

Entry Real(double v) {
    Entry e;
    e.type = kVtgEntryReal;
    e.real = v;
    return e;
}
Entry Int(int32_t v, int32_t type = kVtgEntryInteger) {
    Entry e;
    e.type = type;
    e.integer = v;
    return e;
}

bool SameGeometry(const ArtNode* a, const ArtNode* b) {
    if (a->s.segments.size() != b->s.segments.size() ||
        a->s.children.size() != b->s.children.size())
        return false;
    for (size_t i = 0; i < a->s.segments.size(); ++i)
        if (std::memcmp(&a->s.segments[i].anchor, &b->s.segments[i].anchor, sizeof(VtgPoint)) != 0)
            return false;
    for (size_t i = 0; i < a->s.children.size(); ++i)
        if (!SameGeometry(a->s.children[i], b->s.children[i]))
            return false;
    return true;
}

class EffectEdit : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 200);
        Select({square_});
    }

    // Queues gestures in the open dialog; each returns an error text or "".
    static void In(std::function<std::string(platform::WindowId)> step) {
        platform::QueueUserInput([step] {
            const std::string why = step(platform::CurrentModalDialog());
            EXPECT_EQ(why, "");
        });
    }
    static void Type(int id, const std::string& text) {
        In([=](platform::WindowId d) {
            return platform::user::Type(platform::GetItem(d, id), text);
        });
    }
    static void Click(int id) {
        In([=](platform::WindowId d) { return platform::user::Click(platform::GetItem(d, id)); });
    }

    const Entries& Params(ArtNode* a, size_t i = 0) { return a->s.effects.at(i).parameters; }

    ArtNode* square_ = nullptr;
};

TEST_F(EffectEdit, AddingALensPreviewsThenOkKeepsTheInstance) {
    const int redraws = doc_->redraws;
    const size_t steps = doc_->undoStack.size();
    Click(1780);      // fisheye
    Click(1823);      // a circle around the bounds: the square's edges lie inside
    Type(1785, "50"); // thickness 50 %
    Click(1);
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kLens), kNoErr);
    ASSERT_EQ(square_->s.effects.size(), 1u);
    EXPECT_EQ(square_->s.effects[0].name, kLens);
    EXPECT_EQ(Params(square_).at("transform"), Int(0));
    EXPECT_EQ(Params(square_).at("fishEyeAmount"), Real(0.5));
    EXPECT_EQ(Params(square_).at("group_f"), Int(1, kVtgEntryBoolean));
    EXPECT_GT(doc_->redraws, redraws); // the preview ran
    ASSERT_NE(square_->effectResult, nullptr);
    EXPECT_FALSE(SameGeometry(square_->effectResult, square_)); // a fisheye bulges the square
    EXPECT_EQ(doc_->undoStack.size(), steps + 1);
    EXPECT_EQ(doc_->undoStack.back().undoText, "VERTiGON6: レンズ 効果");
    // The source stays as it was; the layer holds only the square (no guide).
    EXPECT_EQ(square_->s.segments.size(), 4u);
    EXPECT_EQ(doc_->layers.front()->group->s.children.size(), 1u);
}

// Every number field of the warp dialog: an infinity or an overflow is
// limited to the nearer end of the field's range; NaN is refused and the
// field shows its value again. OK stores what the fields show.
TEST_F(EffectEdit, InfinitiesClampAndNaNIsRefusedInEveryNumberField) {
    struct Case {
        int edit;
        const char* typed;
        const char* shown;
    } cases[] = {
        {1755, "inf", "20000.000"},     {1755, "-inf", "0.000"},
        {1755, "1e400", "20000.000"},   {1755, "1e308", "20000.000"},
        {1755, "-1e400", "0.000"},      {1757, "inf", "20000.000"},
        {1757, "-inf", "-20000.000"},   {1757, "1e400", "20000.000"},
        {1757, "-1e308", "-20000.000"}, {1760, "INFINITY", "20000.000"},
        {1760, "-1e400", "-20000.000"}, {1760, "25", "25.000"},
        {1760, "nan", "25.000"},        {1757, "12", "12.000"},
        {1757, "-nan", "12.000"},       {1755, "7", "7.000"},
        {1755, "NAN", "7.000"},
    };
    std::vector<std::string> shown;
    for (const Case& c : cases) {
        In([&shown, c](platform::WindowId d) {
            const std::string why = platform::user::Type(platform::GetItem(d, c.edit), c.typed);
            shown.push_back(platform::GetText(platform::GetItem(d, c.edit)));
            return why;
        });
    }
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kWarp), kNoErr);
    ASSERT_EQ(shown.size(), std::size(cases));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], cases[i].shown) << cases[i].edit << " " << cases[i].typed;
    EXPECT_EQ(Params(square_).at("marginRatio"), Real(0.07));
    EXPECT_EQ(Params(square_).at("bendRatio"), Real(0.12));
}

TEST_F(EffectEdit, CancelAfterPreviewsLeavesDocumentAndBlockAsTheyWere) {
    const vtg::WaveEffectParams before = vtg::gGlobals->waveParams;
    const size_t steps = doc_->undoStack.size();
    Type(1772, "80");
    Click(1763 + 3);
    Type(1770, "3");
    Click(2);
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kWave), kStop);
    EXPECT_TRUE(square_->s.effects.empty());
    EXPECT_EQ(square_->effectResult, nullptr);
    EXPECT_EQ(doc_->undoStack.size(), steps);
    EXPECT_TRUE(doc_->pending.empty());
    EXPECT_EQ(std::memcmp(&before, &vtg::gGlobals->waveParams, sizeof before), 0);
}

TEST_F(EffectEdit, EditingAgainAndCancellingChangesNothing) {
    Type(1757, "40");
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kWarp), kNoErr);
    const Entries saved = Params(square_);
    const std::vector<PathSegment> result = square_->effectResult->s.segments;
    Type(1757, "-90");
    Click(1752 + 1);
    Click(2);
    EXPECT_EQ(hostapp::effects::EditEffect(host(), ""), kStop);
    EXPECT_EQ(Params(square_), saved);
    ASSERT_NE(square_->effectResult, nullptr);
    EXPECT_EQ(square_->effectResult->s.segments.size(), result.size());
    // Editing again with OK changes the instance in place.
    Type(1757, "10");
    Click(1);
    EXPECT_EQ(hostapp::effects::EditEffect(host(), kWarp), kNoErr);
    ASSERT_EQ(square_->s.effects.size(), 1u);
    EXPECT_EQ(Params(square_).at("bendRatio"), Real(0.1));
}

TEST_F(EffectEdit, TheDialogShowsTheInstanceAndTheCommonControls) {
    Type(1772, "25");
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kWave), kNoErr);
    std::string title, ok, bend, note, edges;
    In([&](platform::WindowId d) {
        title = platform::GetText(d);
        ok = platform::GetText(platform::GetItem(d, 1));
        bend = platform::GetText(platform::GetItem(d, 1772));
        note = platform::GetText(platform::GetItem(d, 1942));
        edges = platform::GetText(platform::GetItem(d, 1947));
        return platform::user::Click(platform::GetItem(d, 1947));
    });
    std::string after;
    In([&](platform::WindowId d) {
        after = platform::GetText(platform::GetItem(d, 1947));
        return std::string();
    });
    Click(2);
    EXPECT_EQ(hostapp::effects::EditEffect(host(), kWave), kStop);
    EXPECT_EQ(title, "VERTiGON6: マルチウェーブ 効果");
    EXPECT_EQ(ok, "OK *");
    EXPECT_EQ(std::stod(bend), 25);
    EXPECT_NE(note.find("アピアランスを分割"), std::string::npos);
    EXPECT_EQ(edges, "境界線を隠す");
    EXPECT_EQ(after, "境界線を表示");
    EXPECT_EQ(doc_->view->edges, true); // restored when the dialog closed
}

TEST_F(EffectEdit, ResetFromTheDialogGivesTheDefaultSetting) {
    vtg::gGlobals->lensParams.lupeAmount = 7;
    vtg::gGlobals->lensParams.lensKind = 1;
    Click(1821);
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kLens), kNoErr);
    EXPECT_EQ(Params(square_).at("lupeAmount"), Real(2));
    EXPECT_EQ(vtg::gGlobals->lensParams.lupeAmount, 2);
}

TEST_F(EffectEdit, ThePresetButtonOpensItsMenuInEveryEffect) {
    for (const char* effect : {kLens, kWave, kWarp, "VERTiGON4"}) {
        SCOPED_TRACE(effect);
        std::vector<std::string> texts;
        platform::Point at{-1, -1}, button{-2, -2};
        Click(1433);
        In([&](platform::WindowId d) {
            if (const std::vector<platform::MenuItem>* menu = platform::CurrentPopupMenu())
                for (const platform::MenuItem& m : *menu)
                    texts.push_back(m.text);
            at = platform::PopupMenuPosition();
            const platform::Rect r = platform::RectIn(platform::GetItem(d, 1433), d);
            button = {platform::GetRect(d).left + r.left, platform::GetRect(d).top + r.top};
            return platform::user::DismissMenu();
        });
        Click(2);
        EXPECT_EQ(hostapp::effects::AddEffect(host(), effect), kStop);
        EXPECT_EQ(texts, (std::vector<std::string>{"初期設定", "", "プリセットを編集...", "",
                                                   "このプラグインについて..."}));
        EXPECT_EQ(at.x, button.x);
        EXPECT_EQ(at.y, button.y);
        EXPECT_EQ(platform::CurrentPopupMenu(), nullptr);
    }
    // "初期設定" from the menu resets the dialog to the default setting.
    vtg::gGlobals->lensParams.lupeAmount = 7;
    vtg::gGlobals->lensParams.lensKind = 1;
    Click(1433);
    In([](platform::WindowId) { return platform::user::ChooseMenuItem("初期設定"); });
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kLens), kNoErr);
    EXPECT_EQ(vtg::gGlobals->lensParams.lupeAmount, 2);
    // Separators, unknown items and a closed menu refuse.
    EXPECT_EQ(platform::user::ChooseMenuItem("初期設定"), "no pop-up menu is open");
    EXPECT_EQ(platform::user::DismissMenu(), "no pop-up menu is open");
    Click(1433);
    In([](platform::WindowId) {
        EXPECT_NE(platform::user::ChooseMenuItem("0"), "");
        EXPECT_NE(platform::user::ChooseMenuItem("nothing"), "");
        return platform::user::ChooseMenuItem("40036");
    });
    Click(2);
    EXPECT_EQ(hostapp::effects::EditEffect(host(), kLens), kStop);
}

TEST_F(EffectEdit, AStoredPositionOffTheScreenCentresTheDialog) {
    const VtgPoint far{100000, 20};
    ASSERT_EQ(
        vtg::sPreferences->PutPoint("__QrLw_VERTiGON4Lens_v5_PrefsPrefix__", "Location", &far),
        kNoErr);
    platform::Rect at;
    In([&](platform::WindowId d) {
        at = platform::GetRect(d);
        return std::string();
    });
    Click(2);
    hostapp::effects::AddEffect(host(), kLens);
    const platform::Rect screen = platform::GetRect(platform::HostMainWindow());
    EXPECT_EQ(at.left, (screen.width() - 772) / 2);
}

TEST_F(EffectEdit, GoLiveWithoutTheFirstKeyLeavesTheArt) {
    square_->s.effects.push_back({kLens, {{"fishEyeAmount", Real(1)}}});
    EXPECT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    ASSERT_NE(square_->effectResult, nullptr);
    EXPECT_TRUE(SameGeometry(square_->effectResult, square_));
    // A style no effect knows (a foreign dictionary) leaves the art too.
    square_->s.effects[0] = {kWave, {{"transform", Int(9)}, {"bendRatio", Real(1)}}};
    EXPECT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    EXPECT_TRUE(SameGeometry(square_->effectResult, square_));
}

TEST_F(EffectEdit, EffectsRunInOrderOnACopy) {
    square_->s.effects.push_back({kWarp, {{"transform", Int(6)}, {"bendRatio", Real(0.3)}}});
    square_->s.effects.push_back({kLens, {{"transform", Int(2)}, {"twirlAmount", Real(1)}}});
    EXPECT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    ASSERT_NE(square_->effectResult, nullptr);
    EXPECT_GT(square_->effectResult->s.segments.size(), 4u);
    EXPECT_EQ(square_->s.segments.size(), 4u);
    EXPECT_TRUE(doc_->pending.empty()); // the copy's changes are no undo step
}

TEST_F(EffectEdit, RenderingAgainFollowsTheSourceAndReusesTheResultRecords) {
    square_->s.effects.push_back({kWarp, {{"transform", Int(6)}, {"bendRatio", Real(0.3)}}});
    ASSERT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    ArtNode* first = square_->effectResult;
    const std::vector<PathSegment> before = first->s.segments;
    // The same shape moved: the result records are refilled from the source.
    for (PathSegment& seg : square_->s.segments) {
        seg.anchor.x += 50;
        seg.in.x += 50;
        seg.out.x += 50;
    }
    ASSERT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    EXPECT_EQ(square_->effectResult, first);
    ASSERT_EQ(first->s.segments.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_NEAR(first->s.segments[i].anchor.x, before[i].anchor.x + 50, 1e-9);
    EXPECT_TRUE(first->s.effects.empty());
    EXPECT_EQ(first->s.name, "");
    // Without effects the art shows itself again.
    square_->s.effects.clear();
    ASSERT_EQ(hostapp::effects::RenderArt(host(), square_), kNoErr);
    EXPECT_EQ(square_->effectResult, nullptr);
}

TEST_F(EffectEdit, InterpolationBlendsRealsAndTakesChoicesFromTheStart) {
    const Entries s = {{"transform", Int(1)},
                       {"orientation", Int(0)},
                       {"cycle", Real(4)},
                       {"bendRatio", Real(0.8)},
                       {"centerRatio", Real(0.2)}};
    const Entries e = {{"transform", Int(1)},
                       {"orientation", Int(1)},
                       {"cycle", Real(2)},
                       {"bendRatio", Real(0.4)},
                       {"centerRatio", Real(0)}};
    struct Case {
        double p, cycle, bend;
    } cases[] = {{0, 2, 0.4}, {0.5, 3, 0.6}, {1, 4, 0.8}};
    for (const Case& c : cases) {
        Entries out;
        ASSERT_EQ(hostapp::effects::Interpolate(host(), kWave, s, e, c.p, out), kNoErr);
        EXPECT_DOUBLE_EQ(out.at("cycle").real, c.cycle) << c.p;
        EXPECT_DOUBLE_EQ(out.at("bendRatio").real, c.bend) << c.p;
        EXPECT_EQ(out.at("orientation").integer, 0);
    }
    // Different styles: the end set is the start's style blended towards 0.
    Entries other = e;
    other["transform"] = Int(3);
    Entries out;
    ASSERT_EQ(hostapp::effects::Interpolate(host(), kWave, s, other, 0.5, out), kNoErr);
    EXPECT_EQ(out.at("transform").integer, 1);
    EXPECT_DOUBLE_EQ(out.at("bendRatio").real, 0.4);
    // One set absent: a neutral copy of the other; none: nothing written.
    ASSERT_EQ(hostapp::effects::Interpolate(
                  host(), kLens, {}, {{"transform", Int(1)}, {"lupeAmount", Real(3)}}, 0.5, out),
              kNoErr);
    EXPECT_DOUBLE_EQ(out.at("lupeAmount").real, 2); // (3 + 1) / 2
    ASSERT_EQ(hostapp::effects::Interpolate(host(), kWarp, {}, {}, 0.5, out), kNoErr);
    EXPECT_TRUE(out.empty());
    // Warp: perspective when either set has it.
    ASSERT_EQ(hostapp::effects::Interpolate(
                  host(), kWarp,
                  {{"transform", Int(2)}, {"perspective_f", Int(0, kVtgEntryBoolean)}},
                  {{"transform", Int(2)}, {"perspective_f", Int(1, kVtgEntryBoolean)}}, 0.3, out),
              kNoErr);
    EXPECT_EQ(out.at("perspective_f").integer, 1);
}

TEST_F(EffectEdit, DictionaryRoundTripKeepsEveryField) {
    vtg::LensEffectParams p = vtg::gGlobals->lensParams;
    p.lensKind = 2;
    p.twirlAmount = 1.25;
    p.twirlCycle = 7;
    p.opticalAmount = {0.3, 0.4};
    p.group_f = 0;
    p.lensShape = 1;
    p.centerRatio = {-0.5, 0.25};
    p.sizeRatio = {1.5, 0.75};
    DictionaryHandle d = nullptr;
    ASSERT_EQ(vtg::sDictionary->NewDictionary(&d), kNoErr);
    ASSERT_EQ(vtg::WriteEffectDictionary(d, vtg::kLensEffectInfo.keys, &p), kNoErr);
    int32_t type = 0;
    vtg::sDictionary->GetEntryType(d, "lensStyle", &type);
    EXPECT_EQ(type, kVtgEntryInteger);
    vtg::sDictionary->GetEntryType(d, "group_f", &type);
    EXPECT_EQ(type, kVtgEntryBoolean);
    vtg::LensEffectParams q = vtg::gGlobals->lensParams;
    vtg::ReadEffectDictionary(d, vtg::kLensEffectInfo.keys, &q);
    EXPECT_EQ(std::memcmp(&p, &q, sizeof p), 0);
    // Entries of the wrong type and values that are no numbers keep the field.
    vtg::sDictionary->SetString(d, "twirlCycle", "seven");
    vtg::sDictionary->SetReal(d, "twirlAmount", NAN);
    vtg::LensEffectParams r = p;
    r.twirlCycle = 3;
    r.twirlAmount = 0.5;
    vtg::ReadEffectDictionary(d, vtg::kLensEffectInfo.keys, &r);
    EXPECT_EQ(r.twirlCycle, 3);
    EXPECT_EQ(r.twirlAmount, 0.5);
    vtg::sDictionary->DisposeDictionary(d);
}

TEST_F(EffectEdit, TheSavedFileReopensWithItsEffectEditable) {
    Click(1780 + 1);
    Type(1788, "250");
    Click(1);
    ASSERT_EQ(hostapp::effects::AddEffect(host(), kLens), kNoErr);
    const std::string text = hostapp::svg::WriteSvgText(*doc_);
    EXPECT_NE(text.find("vtg:kind=\"effected\""), std::string::npos);
    EXPECT_NE(text.find("<vtg:effect name=\"VERTiGON5_Lens\">"), std::string::npos);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), text, "again.svg", reopened, error))
        << error.message;
    ArtNode* again = reopened->layers.front()->group->s.children.front();
    EXPECT_EQ(again->s.name, "square");
    ASSERT_EQ(again->s.effects.size(), 1u);
    EXPECT_EQ(again->s.effects[0].parameters, Params(square_));
    EXPECT_EQ(reopened->layers.front()->group->s.children.size(), 1u); // the result is not art
    EXPECT_EQ(hostapp::effects::RenderDocument(host(), *reopened), kNoErr);
    ASSERT_NE(again->effectResult, nullptr);
    EXPECT_TRUE(SameGeometry(again->effectResult, square_->effectResult));
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), text);
}

TEST_F(EffectEdit, LensAreaGuideIsGoneAfterOkAndAfterCancel) {
    // The guide is drawn while the dialog is open and deleted exactly once
    // when it closes; Cancel deletes it before the preview is undone.
    for (int button : {1, 2}) {
        size_t during = 0;
        Click(1780);
        Type(1785, "30");
        In([&](platform::WindowId) {
            during = doc_->layers.front()->group->s.children.size();
            return std::string();
        });
        Click(1818); // hide the area
        Click(1818); // and show it again
        Click(button);
        hostapp::effects::AddEffect(host(), kLens);
        EXPECT_EQ(during, 2u) << button;
        const auto& children = doc_->layers.front()->group->s.children;
        EXPECT_EQ(children.size(), 1u) << button;
        auto* lens = dynamic_cast<vtg::LensEffectCtrlr*>(vtg::EffectController(vtg::kEffectLens));
        ASSERT_NE(lens, nullptr);
        EXPECT_EQ(lens->areaPath(), nullptr);
        for (const std::string& line : host().logLines())
            EXPECT_EQ(line.find("DEAD"), std::string::npos) << line;
        square_->s.effects.clear();
    }
}

TEST_F(EffectEdit, TwoTopLevelObjectsAskAndNoStops) {
    // The selection list starts with the container (the layer); two entries
    // whose parent it is are separate objects, and the edit asks first.
    ArtNode* other = AddSquare("other", 10, 10, 20);
    Select({square_, other});
    host().user().queue({hostapp::Answer::Kind::No, ""});
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kWave), kStop);
    EXPECT_TRUE(square_->s.effects.empty());
    EXPECT_TRUE(other->s.effects.empty());
    ASSERT_TRUE(host().user().lastAlert().has_value());
    EXPECT_NE(host().user().lastAlert()->find("同一グループまたは複合パス"), std::string::npos);
    // Yes goes on to the dialog; OK gives both objects their instance.
    host().user().queue({hostapp::Answer::Kind::Yes, ""});
    Click(1);
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kWave), kNoErr);
    EXPECT_EQ(square_->s.effects.size(), 1u);
    EXPECT_EQ(other->s.effects.size(), 1u);
    // A group and its members are one object: no question.
    ArtNode* group = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
              kNoErr);
    AddSquare("a", 10, 10, 20, group);
    AddSquare("b", 40, 10, 20, group);
    Select({group});
    const size_t alerts = host().user().alerts().size();
    Click(2);
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kWave), kStop);
    EXPECT_EQ(host().user().alerts().size(), alerts);
}

// Every picture button of the effect dialogs paints its bitmap inside its
// edge; the chosen style or kind is drawn pressed.
TEST_F(EffectEdit, PictureButtonsPaintTheirBitmaps) {
    struct Row {
        int first, count, bitmap; // buttons first .. first + count - 1 show bitmap, bitmap + 1, ...
    };
    struct Case {
        const char* effect;
        std::vector<Row> rows;
        int pressed; // the button of the default choice
    };
    const Case cases[] = {
        {kWave, {{1763, 5, 626}, {1433, 1, 821}}, 1763},
        {kLens, {{1780, 4, 631}, {1433, 1, 821}}, 1780},
        {kWarp, {{1730, 1, 602}, {1731, 21, 605}, {1433, 1, 821}}, 1730},
    };
    for (const Case& c : cases) {
        In([&](platform::WindowId d) {
            for (const Row& row : c.rows)
                for (int i = 0; i < row.count; ++i) {
                    const int id = row.first + i;
                    const platform::WindowId b = platform::GetItem(d, id);
                    platform::Redraw(b);
                    const platform::DrawContext* dc = platform::LastPaint(b);
                    if (dc == nullptr)
                        return "no picture of " + std::to_string(id);
                    const platform::Rect r = platform::GetClientRect(b);
                    int edges = 0, bitmaps = 0;
                    for (const platform::DrawOp& op : dc->ops()) {
                        if (op.kind == platform::DrawOp::Kind::Edge) {
                            ++edges;
                            EXPECT_EQ(op.sunken, id == c.pressed) << c.effect << " " << id;
                        }
                        if (op.kind == platform::DrawOp::Kind::Bitmap) {
                            ++bitmaps;
                            EXPECT_EQ(op.bitmapId, row.bitmap + i) << c.effect << " " << id;
                            EXPECT_TRUE(op.halftone);
                            EXPECT_EQ(op.rect.left, 2);
                            EXPECT_EQ(op.rect.top, 2);
                            EXPECT_EQ(op.rect.right, r.width() - 2);
                            EXPECT_EQ(op.rect.bottom, r.height() - 2);
                        }
                    }
                    EXPECT_EQ(edges, 1) << c.effect << " " << id;
                    EXPECT_EQ(bitmaps, 1) << c.effect << " " << id;
                }
            return std::string();
        });
        Click(2);
        EXPECT_EQ(hostapp::effects::AddEffect(host(), c.effect), kStop) << c.effect;
        EXPECT_TRUE(platform::ModalError().empty()) << platform::ModalError();
    }
}

TEST_F(EffectEdit, NothingSelectedAndUnknownEffects) {
    Select({});
    EXPECT_EQ(hostapp::effects::AddEffect(host(), kLens), hostapp::effects::kNoSelectionErr);
    EXPECT_EQ(hostapp::effects::AddEffect(host(), "NoSuchEffect"), kNotFoundErr);
    Select({square_});
    EXPECT_EQ(hostapp::effects::EditEffect(host(), kLens), hostapp::effects::kNoSelectionErr);
}

} // namespace

namespace {

// An accepted edit with Alt held offers to expand the appearance; agreed,
// the host's "expandStyle" turns the square into plain art showing the
// lens, in the edit's one undo step.
TEST_F(EffectEdit, ExpandAppearanceMakesTheEffectPlainArtInOneStep) {
    struct Case {
        bool alt;
        hostapp::Answer::Kind answer;
        bool expanded;
    } cases[] = {{false, hostapp::Answer::Kind::Ok, false},
                 {true, hostapp::Answer::Kind::Cancel, false},
                 {true, hostapp::Answer::Kind::Ok, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.alt) + " " + std::to_string(c.expanded));
        const size_t steps = doc_->undoStack.size();
        const std::vector<PathSegment> before = square_->s.segments;
        platform::SetKeyDown(platform::Modifier::Alt, c.alt);
        host().user().queue({c.answer, {}});
        Click(1780);
        Click(1823);
        Type(1785, "50");
        Click(1);
        EXPECT_EQ(hostapp::effects::AddEffect(host(), kLens), kNoErr);
        platform::SetKeyDown(platform::Modifier::Alt, false);
        EXPECT_EQ(doc_->undoStack.size(), steps + 1);
        ASSERT_EQ(TopLevel().size(), 1u);
        ArtNode* shown = TopLevel()[0];
        EXPECT_EQ(shown->s.name, "square");
        if (c.expanded) {
            EXPECT_FALSE(square_->s.alive);
            EXPECT_TRUE(shown->s.effects.empty());
            EXPECT_NE(shown->s.attributes & kVtgArtSelected, 0);
            // The lens moved the points: what showed is now the art itself.
            EXPECT_FALSE(SameGeometry(shown, square_));
            const std::string saved = hostapp::svg::WriteSvgText(*doc_);
            EXPECT_EQ(saved.find("vtg:effect"), std::string::npos);
        } else {
            EXPECT_EQ(shown, square_);
            EXPECT_EQ(shown->s.effects.size(), 1u);
        }
        // One undo brings back the plain square.
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        ASSERT_EQ(TopLevel().size(), 1u);
        EXPECT_EQ(TopLevel()[0], square_);
        EXPECT_TRUE(square_->s.alive);
        EXPECT_TRUE(square_->s.effects.empty());
        EXPECT_EQ(square_->s.segments.size(), before.size());
        Select({square_});
        while (host().user().pending() != 0)
            host().user().take();
    }
    EXPECT_TRUE(host().invokedCommands().size() == 1u);
}

} // namespace
