// The shape every live-object kind shares: regeneration and the walks over
// the selection.
#include "live/live_object.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/menus.hpp"
#include "core/plugin.hpp"
#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_context_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "host/api/vtg_undo_suite.h"
#include "host/api/vtg_user_suite.h"
#include "live/border/border_generator.hpp"
#include "live/circle/circle_generator.hpp"
#include "live/cutout/cutout_generator.hpp"
#include "live/emboss/emboss_generator.hpp"
#include "live/explosion/explosion_generator.hpp"
#include "live/frame/frame_generator.hpp"
#include "live/galaxy/galaxy_generator.hpp"
#include "live/generation/generation_generator.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/neon/neon_generator.hpp"
#include "live/path3d/path3d_object.hpp"
#include "live/reflections/reflections_generator.hpp"
#include "params/live_storage.hpp"
#include "params/param_types.hpp"

namespace vtg {

namespace {

ErrorCode GenerateCircleOps(ArtHandle group, ArtHandle source, const void* record) {
    return GenerateCircle(group, source, *static_cast<const CirclePGParams*>(record));
}
void AdjustCircle(void* record) {
    ChooseCircleSeed(*static_cast<CirclePGParams*>(record));
}

std::int64_t CircleCopiesOps(const void* record) {
    return CircleCopies(*static_cast<const CirclePGParams*>(record));
}

const LiveKindOps kCircleOps{GenerateCircleOps, AdjustCircle, nullptr, nullptr, CircleCopiesOps};

// A record of a kind on the heap, big enough for the kind's block.
class Record {
public:
    explicit Record(LiveObjectKind kind)
        : storage_((KindBlockSize(kind) + sizeof(double) - 1) / sizeof(double) + 1) {}
    void* data() { return storage_.data(); }

private:
    // Doubles keep the record aligned for every field it holds.
    std::vector<double> storage_;
};

// The host's selection list, freed on every path. Without a document nothing
// is selected; any other failure of the host is kept in error() for the
// walk to end with, never read as an empty selection.
class Selection {
public:
    Selection() {
        error_ = sDocument->GetSelectedArt(&list_, &count_);
        if (error_ != kNoErr) {
            list_ = nullptr;
            count_ = 0;
            if (error_ == kNoDocumentErr)
                error_ = kNoErr;
        }
    }
    ~Selection() {
        if (list_ != nullptr)
            sMemory->FreeBlock(list_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ErrorCode error() const { return error_; }
    int32_t count() const { return count_; }
    ArtHandle operator[](int32_t i) const { return list_[i]; }

private:
    ArtHandle* list_ = nullptr;
    int32_t count_ = 0;
    ErrorCode error_ = kNoErr;
};

// A host application context around a walk.
class AppContext {
public:
    AppContext() {
        if (sContext != nullptr && sBasic != nullptr)
            pushed_ = sContext->PushAppContext(
                          GlobalPlugin() != nullptr ? GlobalPlugin()->pluginRef() : nullptr,
                          &context_) == kNoErr;
    }
    ~AppContext() {
        if (pushed_)
            sContext->PopAppContext(context_);
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

private:
    ContextHandle context_ = nullptr;
    bool pushed_ = false;
};

bool WalkSuites() {
    return sArt != nullptr && sDocument != nullptr && sMemory != nullptr &&
           sPluginGroup != nullptr && sUndo != nullptr;
}

// The kind of a live object, kNoKind for another plug-in's art.
ErrorCode KindOfArt(ArtHandle art, LiveObjectKind& kind) {
    kind = kNoKind;
    PluginGroupHandle group = nullptr;
    if (ErrorCode err = sPluginGroup->GetArtPluginGroup(art, &group))
        return err;
    kind = KindOfGroup(group);
    return kNoErr;
}

ErrorCode IsClipping(ArtHandle art, bool& clipping) {
    int32_t attributes = 0;
    ErrorCode err = sArt->GetArtAttributes(art, kVtgArtClipping, &attributes);
    clipping = err == kNoErr && attributes != 0;
    return err;
}

// Counts the descendants of a container (groups and compound paths are
// descended); true in `other` when one of them is another kind's live object.
ErrorCode CountDescendants(ArtHandle art, LiveObjectKind kind, int32_t& count, bool& other) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    for (; child != nullptr && !other;) {
        ++count;
        int32_t k = 0;
        if (ErrorCode err = sArt->GetArtKind(child, &k))
            return err;
        LiveObjectKind childKind = kNoKind;
        if (k == kVtgArtPlugin)
            if (ErrorCode err = KindOfArt(child, childKind))
                return err;
        if (k == kVtgArtPlugin && childKind != kind)
            other = true;
        else if (k == kVtgArtGroup || k == kVtgArtCompoundPath)
            if (ErrorCode err = CountDescendants(child, kind, count, other))
                return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

ErrorCode MakeLiveObject(LiveObjectKind kind, ArtHandle source, const void* record) {
    ArtHandle art = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPlugin, kVtgPlaceAbove, source, &art))
        return err;
    if (ErrorCode err = sPluginGroup->SetArtPluginGroup(art, gGlobals->groups[kind]))
        return err;
    Record copy(kind);
    std::memcpy(copy.data(), record, KindBlockSize(kind));
    if (const LiveKindOps* ops = LiveKindOperations(kind); ops != nullptr && ops->adjustOnWrite)
        ops->adjustOnWrite(copy.data());
    SetCurrentKind(kind);
    if (ErrorCode err = StoreParamBlock(art, copy.data()))
        return err;
    const LiveKindOps* ops = LiveKindOperations(kind);
    if (ops == nullptr || !ops->keepLock) {
        if (ErrorCode err = sArt->SetArtAttributes(source, kVtgArtLocked, 1))
            return err;
        if (ErrorCode err = sArt->SetArtAttributes(source, kVtgArtLocked, 0))
            return err;
    }
    ArtHandle edit = nullptr;
    if (ErrorCode err = sPluginGroup->GetEditArt(art, &edit))
        return err;
    return sArt->MoveArt(source, kVtgPlaceInsideOnBottom, edit);
}

// The kind's refinement of Apply's rules: true in `skip` for a source the
// kind leaves alone.
ErrorCode Refused(LiveObjectKind kind, ArtHandle art, int32_t artKind, bool& skip) {
    skip = false;
    const LiveKindOps* ops = LiveKindOperations(kind);
    if (ops == nullptr || ops->refineApply == nullptr)
        return kNoErr;
    return ops->refineApply(art, artKind, skip);
}

// The Apply walk without its Release, recording and undo text.
ErrorCode ApplyWalk(LiveObjectKind kind, const void* record) {
    if (const LiveKindOps* ops = LiveKindOperations(kind); ops != nullptr && ops->apply)
        return ops->apply(record);
    Selection selection;
    if (selection.error() != kNoErr)
        return selection.error();
    for (int32_t i = 1; i < selection.count(); ++i) {
        ArtHandle art = selection[i];
        ArtHandle parent = nullptr;
        int32_t valid = 0;
        if (ErrorCode err = sArt->IsValidArt(art, &valid))
            return err;
        if (valid == 0)
            continue; // made into a live object with its group already
        if (ErrorCode err = sArt->GetArtParent(art, &parent))
            return err;
        if (parent == nullptr)
            continue;
        int32_t k = 0;
        if (ErrorCode err = sArt->GetArtKind(art, &k))
            return err;
        switch (k) {
        case kVtgArtGroup:
        case kVtgArtCompoundPath: {
            int32_t layerGroup = 0;
            if (ErrorCode err = sArt->IsLayerGroup(art, &layerGroup))
                return err;
            if (layerGroup != 0)
                continue;
            bool skip = false;
            if (ErrorCode err = Refused(kind, art, k, skip))
                return err;
            if (skip)
                continue;
            int32_t count = 0;
            bool other = false;
            if (ErrorCode err = CountDescendants(art, kind, count, other))
                return err;
            if (other) {
                sUser->ErrorAlert(kOtherLiveObjectMessage);
                return kNoErr;
            }
            // The selected descendants follow their group in the list.
            int32_t j = i + 1;
            while (j < selection.count()) {
                ArtHandle p = nullptr;
                bool inside = false;
                if (ErrorCode err = sArt->GetArtParent(selection[j], &p))
                    return err;
                for (; p != nullptr && !inside;)
                    if (p == art)
                        inside = true;
                    else if (ErrorCode err = sArt->GetArtParent(p, &p))
                        return err;
                if (!inside)
                    break;
                ++j;
            }
            i = j - 1;
            if (ErrorCode err = MakeLiveObject(kind, art, record))
                return err;
            break;
        }
        case kVtgArtPath:
        case kVtgArtTextFrame: {
            bool clipping = false;
            if (k == kVtgArtPath)
                if (ErrorCode err = IsClipping(art, clipping))
                    return err;
            if (clipping)
                continue;
            bool skip = false;
            if (ErrorCode err = Refused(kind, art, k, skip))
                return err;
            if (skip)
                continue;
            if (ErrorCode err = MakeLiveObject(kind, art, record))
                return err;
            break;
        }
        case kVtgArtPlugin: {
            LiveObjectKind artKind = kNoKind;
            if (ErrorCode err = KindOfArt(art, artKind))
                return err;
            if (artKind == kind)
                continue;
            sUser->ErrorAlert(kOtherLiveObjectMessage);
            return kNoErr;
        }
        default:
            break;
        }
    }
    return kNoErr;
}

// The children of a container, front-most first.
ErrorCode ChildrenOf(ArtHandle container, std::vector<ArtHandle>& children) {
    children.clear();
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(container, &child))
        return err;
    for (; child != nullptr;) {
        children.push_back(child);
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

// Makes a live object's result from its edit art, on top of whatever the
// result group holds.
ErrorCode GenerateResult(const LiveKindOps& ops, ArtHandle edit, ArtHandle result,
                         const void* record) {
    if (ops.update != nullptr)
        return ops.update(edit, result, record);
    if (ops.generate == nullptr)
        return kNoErr;
    ArtHandle target = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, result, &target))
        return err;
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(edit, &first))
        return err;
    if (first == nullptr)
        return kNoErr; // nothing to generate from: the result stays empty
    // The generator reads the duplicate in plain paths (text as outlines).
    ArtHandle converted = nullptr;
    if (ErrorCode err = sArt->DuplicateArt(first, kVtgPlaceBelow, first, &converted))
        return err;
    if (ErrorCode err = ConvertToPaths(converted)) {
        sArt->DeleteArt(converted);
        return err;
    }
    ErrorCode err = ops.generate(target, converted, record);
    ArtHandle next = nullptr;
    if (err == kNoErr && !ops.firstSourceOnly)
        err = sArt->GetArtNextSibling(converted, &next);
    while (err == kNoErr && next != nullptr) {
        err = ops.generate(target, next, record);
        if (err == kNoErr)
            err = sArt->GetArtNextSibling(next, &next);
    }
    ErrorCode deleted = sArt->DeleteArt(converted);
    return err != kNoErr ? err : deleted;
}

// Runs `each` on every selected live object of `kind`.
template <typename F> ErrorCode ForEachSelectedLiveObject(LiveObjectKind kind, F&& each) {
    Selection selection;
    if (selection.error() != kNoErr)
        return selection.error();
    for (int32_t i = 1; i < selection.count(); ++i) {
        ArtHandle art = selection[i];
        int32_t k = 0, valid = 0;
        if (ErrorCode err = sArt->IsValidArt(art, &valid))
            return err;
        if (valid == 0)
            continue;
        if (ErrorCode err = sArt->GetArtKind(art, &k))
            return err;
        LiveObjectKind artKind = kNoKind;
        if (k == kVtgArtPlugin)
            if (ErrorCode err = KindOfArt(art, artKind))
                return err;
        if (k != kVtgArtPlugin || artKind != kind)
            continue;
        if (ErrorCode err = each(art))
            return err;
    }
    return kNoErr;
}

} // namespace

LiveObjectKind KindOfGroup(PluginGroupHandle group) {
    if (group == nullptr || gGlobals == nullptr)
        return kNoKind;
    for (int kind = 0; kind < kLiveObjectKindCount; ++kind)
        if (gGlobals->groups[kind] == group)
            return static_cast<LiveObjectKind>(kind);
    return kNoKind;
}

const LiveKindOps* LiveKindOperations(LiveObjectKind kind) {
    switch (kind) {
    case kKindCircle:
        return &kCircleOps;
    case kKindBorder:
        return &BorderKindOps();
    case kKindGalaxy:
        return &GalaxyKindOps();
    case kKindExplosion:
        return &ExplosionKindOps();
    case kKindCutout:
        return &CutoutKindOps();
    case kKindShadow:
        return &ShadowKindOps();
    case kKindEmboss:
        return &EmbossKindOps();
    case kKindGeneration:
        return &GenerationKindOps();
    case kKindReflections:
        return &ReflectionsKindOps();
    case kKind3DPath:
        return &Path3DKindOps();
    case kKindNeon:
        return &NeonKindOps();
    case kKindFrame:
        return &FrameKindOps();
    default:
        return nullptr;
    }
}

std::size_t KindBlockSize(LiveObjectKind kind) {
    const PresetType* type = PresetTypeOfKind(kind);
    return type != nullptr ? type->blockSize : 0;
}

void SetKindDefaults(LiveObjectKind kind, void* record) {
    if (const PresetType* type = PresetTypeOfKind(kind); type != nullptr)
        InitParamBlock(*type, record);
}

void SetCurrentKind(LiveObjectKind kind) {
    if (gGlobals != nullptr)
        gGlobals->currentKind = kind;
    CurrentPresetContext().currentKind = kind;
}

ErrorCode ConvertToPaths(ArtHandle& art) {
    if (sArtConverter == nullptr)
        return kNoErr;
    ArtHandle converted = art;
    if (ErrorCode err = sArtConverter->ConvertToPaths(art, &converted))
        return err;
    art = converted;
    return kNoErr;
}

ErrorCode UpdateLiveObject(ArtHandle art) {
    if (!WalkSuites() || gGlobals == nullptr)
        return kSuiteNotFoundErr;
    PluginGroupHandle group = nullptr;
    if (ErrorCode err = sPluginGroup->GetArtPluginGroup(art, &group))
        return err;
    ErrorCode migrationError = kNoErr;
    const int migrated = MigrateLegacyLiveObject(art, group, &migrationError);
    if (migrated == 1)
        return migrationError;
    const LiveObjectKind kind = KindOfGroup(group);
    SetCurrentKind(kind);
    const LiveKindOps* ops = LiveKindOperations(kind);
    if (kind == kNoKind || ops == nullptr || (ops->paused != nullptr && ops->paused()))
        return kNoErr;

    Record record(kind);
    SetKindDefaults(kind, record.data());
    if (ErrorCode err = LoadParamBlock(art, record.data()))
        return err;
    ArtHandle edit = nullptr, result = nullptr;
    if (ErrorCode err = sPluginGroup->GetEditArt(art, &edit))
        return err;
    if (ErrorCode err = sPluginGroup->GetResultArt(art, &result))
        return err;
    // A result that could not be built within bounds is refused before the
    // old one is cleared: the document stays as it was.
    if (ops->copiesPerSource != nullptr) {
        const std::int64_t copies = ops->copiesPerSource(record.data());
        if (copies < 0)
            return kResultTooLargeErr;
        if (ErrorCode err = CheckResultSize(edit, copies))
            return err;
    }
    // The last result stays until the new one is whole: the new art goes on
    // top of it, and a failure removes what was made instead of the old.
    std::vector<ArtHandle> old;
    if (ErrorCode err = ChildrenOf(result, old))
        return err;
    ErrorCode err = GenerateResult(*ops, edit, result, record.data());
    std::vector<ArtHandle> now;
    if (ErrorCode listed = ChildrenOf(result, now); err == kNoErr)
        err = listed;
    for (ArtHandle child : now) {
        const bool isOld = std::find(old.begin(), old.end(), child) != old.end();
        if (isOld == (err == kNoErr))
            if (ErrorCode deleted = sArt->DeleteArt(child); err == kNoErr)
                err = deleted;
    }
    return err;
}

void SetUndoText(const char* text, bool prefix) {
    if (sUndo == nullptr || text == nullptr)
        return;
    const std::string full = prefix ? std::string("VERTiGON6: ") + text : std::string(text);
    sUndo->SetUndoText(full.c_str(), full.c_str());
}

ErrorCode CheckRecordBounds(LiveObjectKind kind, const void* record) {
    const LiveKindOps* ops = LiveKindOperations(kind);
    if (ops != nullptr && ops->copiesPerSource != nullptr && record != nullptr &&
        ops->copiesPerSource(record) < 0)
        return kResultTooLargeErr;
    return kNoErr;
}

ErrorCode MakeLiveObjectsOf(LiveObjectKind kind, const void* record) {
    if (!WalkSuites() || kind < 0 || kind >= kLiveObjectKindCount || record == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = CheckRecordBounds(kind, record))
        return err; // nothing released, nothing made
    AppContext context;
    ErrorCode err = ReleaseLiveObjectsOf(kind);
    if (err == kNoErr)
        err = ApplyWalk(kind, record);
    if (err == kNoErr)
        err = RecordLiveObjectAction(kind, record);
    if (err != kNoErr) {
        // A failed Apply leaves the document as it was, and is not recorded.
        sUndo->RevertPending();
        return err;
    }
    SetUndoText(kLiveObjectMenuNames[kind], true);
    return kNoErr;
}

ErrorCode ApplyWalkOf(LiveObjectKind kind, const void* record) {
    if (!WalkSuites() || kind < 0 || kind >= kLiveObjectKindCount || record == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = CheckRecordBounds(kind, record))
        return err;
    AppContext context;
    return ApplyWalk(kind, record);
}

ErrorCode ReleaseLiveObjectsOf(LiveObjectKind kind) {
    if (!WalkSuites())
        return kSuiteNotFoundErr;
    AppContext context;
    return ForEachSelectedLiveObject(kind,
                                     [](ArtHandle art) { return ReleaseLiveObject(art, false); });
}

ErrorCode ExpandLiveObjectsOf(LiveObjectKind kind) {
    if (!WalkSuites())
        return kSuiteNotFoundErr;
    AppContext context;
    ErrorCode err =
        ForEachSelectedLiveObject(kind, [](ArtHandle art) { return ExpandLiveObject(art); });
    if (err == kNoErr)
        SetUndoText("拡張", false);
    return err;
}

ErrorCode UpdateSelectedLiveObjectsOf(LiveObjectKind kind, const void* record, int32_t scrollCode) {
    if (!WalkSuites() || kind < 0 || kind >= kLiveObjectKindCount || record == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = CheckRecordBounds(kind, record))
        return err;
    AppContext context;
    ErrorCode err = ForEachSelectedLiveObject(kind, [&](ArtHandle art) {
        Record copy(kind);
        std::memcpy(copy.data(), record, KindBlockSize(kind));
        if (const LiveKindOps* ops = LiveKindOperations(kind); ops != nullptr && ops->adjustOnWrite)
            ops->adjustOnWrite(copy.data());
        SetCurrentKind(kind);
        if (ErrorCode e = StoreParamBlock(art, copy.data()))
            return e;
        // A released thumb or an ended scroll is an undo step of its own; a
        // dragged thumb folds into the step around it.
        return sUndo->SetUndoKind(scrollCode == 4 || scrollCode == 8 ? kVtgUndoOrdinary
                                                                     : kVtgUndoSilent);
    });
    if (err == kNoErr)
        SetUndoText(kLiveObjectMenuNames[kind], true);
    return err;
}

ErrorCode ScanSelection(LiveObjectKind kind, void* record, SelectionFlags& flags) {
    flags = {};
    if (!WalkSuites())
        return kSuiteNotFoundErr;
    AppContext context;
    Selection selection;
    if (selection.error() != kNoErr)
        return selection.error();
    ArtHandle lastCompound = nullptr;
    for (int32_t i = 1; i < selection.count(); ++i) {
        ArtHandle art = selection[i], parent = nullptr;
        if (ErrorCode err = sArt->GetArtParent(art, &parent))
            return err;
        if (parent == nullptr || (lastCompound != nullptr && parent == lastCompound))
            continue;
        int32_t k = 0;
        if (ErrorCode err = sArt->GetArtKind(art, &k))
            return err;
        if (k == kVtgArtPlugin) {
            LiveObjectKind artKind = kNoKind;
            if (ErrorCode err = KindOfArt(art, artKind))
                return err;
            if (artKind == kind) {
                SetCurrentKind(kind);
                if (record != nullptr)
                    if (ErrorCode err = LoadParamBlock(art, record))
                        return err;
                flags.liveObject = flags.source = true;
            }
        } else if (k == kVtgArtPath) {
            bool clipping = false;
            if (ErrorCode err = IsClipping(art, clipping))
                return err;
            flags.source = flags.source || !clipping;
        } else if (k == kVtgArtCompoundPath) {
            lastCompound = art;
            ArtHandle first = art;
            int32_t fk = k;
            while (first != nullptr && fk != kVtgArtPath) {
                if (sArt->GetArtFirstChild(first, &first) != kNoErr || first == nullptr)
                    break;
                sArt->GetArtKind(first, &fk);
            }
            if (first != nullptr && fk == kVtgArtPath) {
                bool clipping = false;
                if (ErrorCode err = IsClipping(first, clipping))
                    return err;
                flags.source = flags.source || !clipping;
            }
        } else if (k == kVtgArtTextFrame) {
            flags.source = true;
        }
    }
    return kNoErr;
}

} // namespace vtg
