#include "effects/fractalize/fractalize_ctrlr.hpp"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "live/live_actions.hpp"
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
constexpr const char* kFilterName = "フラクタル化 フィルター";

// The action's description: "gene" and the hidden "uneU" declared as
// integers, every other entry as a real, whatever type its value has.
constexpr auto P = ActionParam;
const VtgActionParam kActionParams[] = {
    P("gene", kVtgActionInteger, "ジェネレータ: "),
    P("rvsH", kVtgActionReal, "水平軸反転: "),
    P("rvsV", kVtgActionReal, "垂直軸反転: "),
    P("cnSz", kVtgActionReal, "一定サイズで: "),
    P("levl", kVtgActionReal, "レベル: "),
    P("dens", kVtgActionReal, "最大数量／インチ: "),
    P("genH", kVtgActionReal, "高さ: "),
    P("skSz", kVtgActionReal, "スキップサイズ: "),
    P("shPs", kVtgActionReal, "シフトサイズ／スキップ: "),
    P("unvF", kVtgActionReal, "ひずみ: "),
    P("unev", kVtgActionReal, "ひずみ: "),
    P("geIn", kVtgActionReal, "ジェネレータ・インスタンスに作用する: "),
    P("uneU", kVtgActionInteger, ""),
};
constexpr const char* kUnitDensity = "#Rsl";

// A value block of the host, disposed on every path.
class HostValueBlock {
public:
    HostValueBlock() {
        if ((error_ = sAction->NewValueBlock(&block_)) != kNoErr)
            block_ = nullptr;
    }
    ~HostValueBlock() {
        if (block_ != nullptr)
            sAction->DisposeValueBlock(block_);
    }
    HostValueBlock(const HostValueBlock&) = delete;
    HostValueBlock& operator=(const HostValueBlock&) = delete;
    ValueBlockHandle get() const { return block_; }
    ErrorCode error() const { return error_; }

private:
    ValueBlockHandle block_ = nullptr;
    ErrorCode error_ = kNoErr;
};

// An optional value: absent leaves the field as it is.
ErrorCode Optional(ErrorCode err) {
    return err == kActionKeyMissingErr ? kNoErr : err;
}

bool InRange(double v, double low, double high) {
    return std::isfinite(v) && v >= low && v <= high;
}

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

// --- the filter -----------------------------------------------------------------

const char* FractalizeEffectCtrlr::DialogName() const {
    return filterDialog_ ? kFilterName : info_.name;
}

const char* FractalizeEffectCtrlr::HelpPage() const {
    return filterDialog_ ? "filter_fractalize" : info_.helpPage;
}

ErrorCode FractalizeEffectCtrlr::FractalizeSelection(const FractalizeParams& p) {
    const VtgArtMatch match{kVtgArtPath, kVtgArtSelected, kVtgArtSelected};
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (ErrorCode err = sDocument->GetMatchingArt(&match, 1, &list, &count))
        return err;
    ErrorCode err = count > 0 ? kNoErr : kNoSelection;
    const std::vector<PathSegment> generator = ReadGenerator(p);
    for (int32_t i = 0; i < count && err == kNoErr; ++i)
        err = FractalizePath(p, generator, list[i]);
    if (list != nullptr)
        sMemory->FreeBlock(list);
    return err;
}

ErrorCode FractalizeEffectCtrlr::UpdatePreview() {
    if (!filterDialog_)
        return EffectCtrlr::UpdatePreview();
    // The last preview goes, and the filter runs again with the kept seed
    // (a new one after "乱数列変更", kept from then on).
    sUndo->RevertPending();
    if (newSeedPending_)
        TakeNewSeed();
    newSeedPending_ = false;
    sMath->SeedRandom(lastSeed_);
    ErrorCode err = FractalizeSelection(*static_cast<const FractalizeParams*>(params_));
    // A run that stopped halfway shows nothing; OK then reports it.
    if (err != kNoErr)
        sUndo->RevertPending();
    sDocument->Redraw();
    return err;
}

ErrorCode FractalizeEffectCtrlr::RunFilterDialog() {
    std::memcpy(saved_.data(), params_, saved_.size());
    liveEdit_ = false;
    editMessage_ = nullptr;
    previewResult_ = 0;
    newSeedPending_ = false;
    sMath->SeedRandom(TakeNewSeed());
    filterDialog_ = true;
    const int result = RunDialog();
    filterDialog_ = false;
    if (result != 0)
        std::memcpy(params_, saved_.data(), saved_.size());
    // The run that follows uses the seed the dialog showed.
    reuseSeed_ = true;
    sUndo->RevertPending();
    sDocument->Redraw();
    return result == 0 ? kNoErr : kUserStopped;
}

ErrorCode FractalizeEffectCtrlr::FilterGetParameters() {
    const VtgArtMatch match{kVtgArtPath, kVtgArtSelected, kVtgArtSelected};
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (ErrorCode err = sDocument->GetMatchingArt(&match, 1, &list, &count))
        return err;
    if (list != nullptr)
        sMemory->FreeBlock(list);
    if (count == 0)
        return kNoSelection;
    return RunFilterDialog();
}

ErrorCode FractalizeEffectCtrlr::FilterGo() {
    const int32_t seed = reuseSeed_ ? lastSeed_ : TakeNewSeed();
    reuseSeed_ = false;
    sMath->SeedRandom(seed);
    if (ErrorCode err = FractalizeSelection(*static_cast<const FractalizeParams*>(params_)))
        return err;
    return RecordAction();
}

ErrorCode FractalizeEffectCtrlr::RecordAction() const {
    int32_t recording = 0;
    if (sAction == nullptr)
        return kNoErr;
    if (ErrorCode err = sAction->InRecordMode(&recording))
        return err;
    if (recording == 0)
        return kNoErr;
    HostValueBlock block;
    if (block.error() != kNoErr)
        return block.error();
    const auto& p = *static_cast<const FractalizeParams*>(params_);
    const uint32_t g = p.generator >= 1 && p.generator <= kGeneratorCount ? p.generator : 1;
    ActionWriter out(block.get());
    out.Enum(ActionKey("gene"), kGeneratorNames[g - 1], static_cast<int32_t>(g) - 1);
    out.Boolean(ActionKey("rvsH"), p.reverseH);
    out.Boolean(ActionKey("rvsV"), p.reverseV);
    out.Boolean(ActionKey("cnSz"), p.constantSize);
    out.Integer(ActionKey("levl"), static_cast<int32_t>(p.level));
    out.Real(ActionKey("dens"), kUnitDensity, p.density);
    out.Real(ActionKey("genH"), kUnitPercent, p.genHeight);
    out.Real(ActionKey("skSz"), kUnitPercent, p.gapSpaceRatio);
    out.Real(ActionKey("shPs"), kUnitPercent, p.shiftGapRatio);
    out.Boolean(ActionKey("unvF"), p.uneven_f);
    out.Real(ActionKey("unev"), kUnitPercent, p.uneven);
    out.Boolean(ActionKey("geIn"), p.unevenGen_f);
    out.Integer(ActionKey("uneU"), static_cast<int32_t>(p.unevenUnit));
    if (out.error() != kNoErr)
        return out.error();
    return sAction->RecordEvent(kFractalizeActionName, block.get());
}

ErrorCode FractalizeEffectCtrlr::PlayAction(ValueBlockHandle values, bool showDialog) {
    auto* record = static_cast<FractalizeParams*>(params_);
    FractalizeParams p = *record;
    const ActionReader in(values);
    int32_t gene = 0, level = 0, unit = 0;
    if (ErrorCode err = in.Enum(ActionKey("gene"), gene))
        return err;
    if (ErrorCode err = in.Integer(ActionKey("levl"), level))
        return err;
    if (ErrorCode err = in.Real(ActionKey("dens"), p.density))
        return err;
    if (ErrorCode err = in.Real(ActionKey("genH"), p.genHeight))
        return err;
    if (ErrorCode err = in.Real(ActionKey("unev"), p.uneven))
        return err;
    struct Switch {
        uint32_t key;
        int32_t* field;
    } switches[] = {{ActionKey("rvsH"), &p.reverseH},
                    {ActionKey("rvsV"), &p.reverseV},
                    {ActionKey("cnSz"), &p.constantSize},
                    {ActionKey("unvF"), &p.uneven_f},
                    {ActionKey("geIn"), &p.unevenGen_f}};
    for (const Switch& s : switches) {
        int32_t v = *s.field;
        if (ErrorCode err = Optional(in.Boolean(s.key, v)))
            return err;
        *s.field = v != 0 ? 1 : 0;
    }
    if (ErrorCode err = Optional(in.Real(ActionKey("skSz"), p.gapSpaceRatio)))
        return err;
    if (ErrorCode err = Optional(in.Real(ActionKey("shPs"), p.shiftGapRatio)))
        return err;
    if (ErrorCode err = Optional(in.Integer(ActionKey("uneU"), unit)))
        return err;
    // Values the dialog could not have set leave everything as it was.
    if (gene < 0 || gene >= kGeneratorCount || level < 1 || level > 14 ||
        !InRange(p.density, 0, 144) || !InRange(p.genHeight, -20000, 20000) ||
        !InRange(p.uneven, 0, 4000) || !InRange(p.gapSpaceRatio, 0, 100) ||
        !InRange(p.shiftGapRatio, 0, 100))
        return kBadParameterErr;
    p.generator = static_cast<uint32_t>(gene) + 1;
    p.level = static_cast<uint32_t>(level);
    p.unevenUnit = 0;
    *record = p;
    if (showDialog) {
        if (ErrorCode err = FilterGetParameters())
            return err;
    } else {
        reuseSeed_ = false;
    }
    return FilterGo();
}

ErrorCode RegisterFractalizeAction(PluginRef plugin) {
    if (sAction == nullptr || gGlobals == nullptr)
        return kNoErr;
    int16_t& word = gGlobals->actionIndexes[0];
    word = 0;
    ActionHandle handle = nullptr;
    return sAction->RegisterAction(plugin, kFractalizeActionName, "フラクタル化", 1, &word,
                                   kActionParams, static_cast<int32_t>(std::size(kActionParams)),
                                   &handle);
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
    platform::SetText(dialog_, std::string("VERTiGON6: ") + owner_.DialogName());
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
