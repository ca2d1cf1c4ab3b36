#include "effects/fractalize/fractalize_ctrlr.hpp"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "platform/window.hpp"

namespace vtg {
namespace {

using K = EffectKey;
using PF = FractalizeParams;

const EffectKey kFractalizeKeys[] = {
    {"generator", K::Type::Integer, offsetof(PF, generator), K::Blend::Choice},
    {"reverseH", K::Type::Boolean, offsetof(PF, reverseH), K::Blend::Choice},
    {"reverseV", K::Type::Boolean, offsetof(PF, reverseV), K::Blend::Choice},
    {"genHeight", K::Type::Real, offsetof(PF, genHeight), K::Blend::Mix, true, 0},
    {"level", K::Type::Integer, offsetof(PF, level), K::Blend::Choice},
    {"density", K::Type::Real, offsetof(PF, density), K::Blend::Mix},
    {"uneven_f", K::Type::Boolean, offsetof(PF, uneven_f), K::Blend::Choice},
    {"uneven", K::Type::Real, offsetof(PF, uneven), K::Blend::Mix, true, 0},
    {"unevenGen_f", K::Type::Boolean, offsetof(PF, unevenGen_f), K::Blend::Choice},
    {"unevenUnit", K::Type::Integer, offsetof(PF, unevenUnit), K::Blend::Choice},
    {"constantSize", K::Type::Boolean, offsetof(PF, constantSize), K::Blend::Choice},
    {"gapSpaceRatio", K::Type::Real, offsetof(PF, gapSpaceRatio), K::Blend::Mix},
    {"shiftGapRatio", K::Type::Real, offsetof(PF, shiftGapRatio), K::Blend::Mix},
};

constexpr const char* kSeedTag = "randSeed";
constexpr const char* kTooManyMessage =
    "「フラクタル化」を実行するにはアンカーポイントが多すぎます。"
    "レベルを下げるかセグメントを減らしてください。";
constexpr const char* kOldUnevenMessage =
    "旧「VERTiGON4: フラクタル化 効果」オブジェクトで「ひずみ」設定のあるものについて、"
    "VERTiGON6ではそれを元の大きさのようには再現できません。\n"
    "新しい仕様についてはヘルプをご覧ください。";
bool gOldUnevenShown = false;

// The instance's stored seed, when its tag holds a decimal number.
bool ReadSeedTag(ArtHandle art, int32_t& seed) {
    char text[32] = {};
    if (sDictionary->GetArtTag(art, kSeedTag, text, sizeof text) != kNoErr)
        return false;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > INT32_MAX)
        return false;
    seed = static_cast<int32_t>(v);
    return true;
}

} // namespace

const EffectInfo kFractalizeEffectInfo = {kEffectFractalize,
                                          &kFractalizeType,
                                          kFractalizeKeys,
                                          "__QrLw_VERTiGON4Fractalize_v46_PrefsPrefix__",
                                          "フラクタル化 効果",
                                          "effect_fractalize",
                                          false};

FractalizeEffectCtrlr::FractalizeEffectCtrlr(FractalizeParams* params)
    : EffectCtrlr(kFractalizeEffectInfo, params) {}

int32_t FractalizeEffectCtrlr::TakeNewSeed() {
    int32_t seed = NewSeed() & 0x7FFFFFFF;
    if (seed == lastSeed_)
        seed = (seed + 1) & 0x7FFFFFFF;
    lastSeed_ = seed;
    return seed;
}

ErrorCode FractalizeEffectCtrlr::Apply(const void* record, ArtHandle art) {
    const auto& p = *static_cast<const FractalizeParams*>(record);
    return FractalizeArt(p, ReadGenerator(p), art);
}

std::unique_ptr<EffectDialogController> FractalizeEffectCtrlr::MakeDialog() {
    return std::make_unique<FractalizeDialogController>(*this);
}

ErrorCode FractalizeEffectCtrlr::EditParameters(LiveEffectEditMessage* message) {
    newSeedPending_ = false;
    return EffectCtrlr::EditParameters(message);
}

ErrorCode FractalizeEffectCtrlr::NewSeedPreview() {
    newSeedPending_ = true;
    return UpdatePreview();
}

ErrorCode FractalizeEffectCtrlr::GoLive(LiveEffectGoMessage* m) {
    if (m == nullptr || !HasKey(m->parameters, "generator"))
        return kNoErr;
    FractalizeParams p = *static_cast<const FractalizeParams*>(params_);
    // Missing switches and shares count as off.
    p.reverseH = p.reverseV = p.uneven_f = p.unevenGen_f = p.constantSize = 0;
    p.gapSpaceRatio = p.shiftGapRatio = 0;
    ReadEffectDictionary(m->parameters, info_.keys, &p);
    p.unevenUnit = 0;
    if (!HasKey(m->parameters, "uneven_f")) {
        // An instance of the older version: unevenness was on when it had some.
        p.uneven_f = p.uneven != 0 ? 1 : 0;
        if (p.uneven_f != 0 && !gOldUnevenShown) {
            gOldUnevenShown = true;
            sUser->ErrorAlert(kOldUnevenMessage);
        }
    }
    int32_t seed = 0;
    if (p.uneven_f != 0) {
        // The instance keeps its seed on every redraw; only "乱数列変更"
        // (once) or an instance without one draws a new seed.
        if (newSeedPending_ || !ReadSeedTag(m->art, seed))
            seed = TakeNewSeed();
        newSeedPending_ = false;
        sMath->SeedRandom(seed);
    }
    ErrorCode err = FractalizeArt(p, ReadGenerator(p), m->art);
    previewResult_ = err;
    if (err == kTooManySegments) {
        sUser->ErrorAlert(kTooManyMessage);
        return kNoErr;
    }
    if (err == kNoErr && p.uneven_f != 0) {
        const std::string text = std::to_string(seed);
        err = sDictionary->SetArtTag(m->art, kSeedTag, text.c_str());
    }
    return err;
}

// --- the dialog ---------------------------------------------------------------------

void FractalizeDialogController::InitControls() {
    auto* p = static_cast<FractalizeParams*>(owner_.params());
    AddCheck(kReverseH, &p->reverseH);
    AddCheck(kReverseV, &p->reverseV);
    AddCheck(kConstantSize, &p->constantSize);
    AddCheck(kUnevenCheck, &p->uneven_f);
    AddCheck(kUnevenGenerator, &p->unevenGen_f);
    using LK = LinkedValue::Kind;
    linker_.Add(Link(LK::Number, kDensityEdit, kDensitySpin, 0, 0, 144, 1, &p->density));
    linker_.Add(Link(LK::Number, kHeightEdit, kHeightSpin, 0, -20000, 20000, 1, &p->genHeight));
    linker_.Add(Link(LK::Number, kGapEdit, kGapSpin, 0, 0, 100, 1, &p->gapSpaceRatio));
    linker_.Add(Link(LK::Number, kShiftEdit, kShiftSpin, 0, 0, 100, 1, &p->shiftGapRatio));
    linker_.Add(Link(LK::Number, kUnevenEdit, kUnevenSpin, 0, 0, 4000, 1, &p->uneven));
    for (int id : {kDensitySpin, kHeightSpin, kGapSpin, kShiftSpin, kUnevenSpin})
        platform::SetRange(item(id), INT_MIN, INT_MAX);
    platform::SetText(dialog_, std::string("VERTiGON6: ") + owner_.info().name);
}

void FractalizeDialogController::ShowChoices() {
    auto* p = static_cast<FractalizeParams*>(owner_.params());
    const uint32_t g = p->generator >= 1 && p->generator <= kGeneratorCount ? p->generator : 1;
    platform::SetSelection(item(kGenerator), static_cast<int>(g) - 1);
    const uint32_t level = p->level >= 1 && p->level <= 14 ? p->level : 1;
    platform::SetSelection(item(kLevel), static_cast<int>(level) - 1);
    platform::Enable(item(kReverseV), GeneratorAsymmetric(g));
    platform::SetText(item(kUnevenUnit), p->unevenUnit != 0 ? "%" : "pt");
}

void FractalizeDialogController::Refresh() {
    EffectDialogController::Refresh();
    ShowChoices();
}

void FractalizeDialogController::ChoiceChanged(int) {
    ShowChoices();
}

bool FractalizeDialogController::OnCommand(int id, int notify) {
    auto* p = static_cast<FractalizeParams*>(owner_.params());
    switch (id) {
    case kGenerator:
    case kLevel: {
        if (notify != platform::kNotifySelChange)
            return false;
        const int at = platform::GetSelection(item(id));
        if (at < 0)
            return true;
        if (id == kGenerator)
            p->generator = static_cast<uint32_t>(at + 1);
        else
            p->level = static_cast<uint32_t>(at + 1);
        ShowChoices();
        Changed();
        return true;
    }
    case kUnevenUnit:
        p->unevenUnit = p->unevenUnit != 0 ? 0 : 1;
        ShowChoices();
        return true;
    case kNewSeed:
        if (owner_.preview())
            fractalize_.NewSeedPreview();
        return true;
    default:
        return false;
    }
}

} // namespace vtg
