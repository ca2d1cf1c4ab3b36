// Live 3D Path: regeneration and Apply.
#include "live/path3d/path3d_object.hpp"

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_dictionary_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "host/api/vtg_undo_suite.h"
#include "host/api/vtg_user_suite.h"
#include "live/path3d/path3d_transform.hpp"
#include "params/live_storage.hpp"

namespace vtg {

namespace {

ErrorCode UpdateOps(ArtHandle edit, ArtHandle result, const void* record) {
    return Update3DPath(edit, result, *static_cast<const _3DTFilterParams*>(record));
}

ErrorCode ApplyOps(const void* record) {
    return Make3DPath(*static_cast<const _3DTFilterParams*>(record));
}

const LiveKindOps kPath3DOps{
    .update = UpdateOps, .apply = ApplyOps, .paused = Path3DRegenerationPaused};

// The selection list, freed on every path.
struct SelectedList {
    ArtHandle* list = nullptr;
    int32_t count = 0;
    ~SelectedList() {
        if (list != nullptr)
            sMemory->FreeBlock(list);
    }
};

ErrorCode KindOf(ArtHandle art, LiveObjectKind& kind) {
    PluginGroupHandle group = nullptr;
    kind = kNoKind;
    if (ErrorCode err = sPluginGroup->GetArtPluginGroup(art, &group))
        return err;
    kind = KindOfGroup(group);
    return kNoErr;
}

// True in `other` when a descendant of `art` is a live object of another kind.
ErrorCode HoldsOtherLiveObject(ArtHandle art, bool& other) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr && !other) {
        int32_t k = 0;
        if (ErrorCode err = sArt->GetArtKind(child, &k))
            return err;
        if (k == kVtgArtPlugin) {
            LiveObjectKind kind = kNoKind;
            if (ErrorCode err = KindOf(child, kind))
                return err;
            other = kind != kKind3DPath;
        } else if (k == kVtgArtGroup || k == kVtgArtCompoundPath) {
            if (ErrorCode err = HoldsOtherLiveObject(child, other))
                return err;
        }
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

ErrorCode Inside(ArtHandle art, ArtHandle container, bool& inside) {
    inside = false;
    ArtHandle p = nullptr;
    if (ErrorCode err = sArt->GetArtParent(art, &p))
        return err;
    while (p != nullptr && !inside) {
        if (p == container)
            inside = true;
        else if (ErrorCode err = sArt->GetArtParent(p, &p))
            return err;
    }
    return kNoErr;
}

// What Apply does with one entry.
enum class Take { Skip, Take, Stop };

ErrorCode Examine(ArtHandle art, Take& take) {
    take = Take::Skip;
    int32_t valid = 0, k = 0;
    if (ErrorCode err = sArt->IsValidArt(art, &valid))
        return err;
    if (valid == 0)
        return kNoErr;
    if (ErrorCode err = sArt->GetArtKind(art, &k))
        return err;
    switch (k) {
    case kVtgArtGroup:
    case kVtgArtCompoundPath: {
        int32_t layer = 0;
        if (ErrorCode err = sArt->IsLayerGroup(art, &layer))
            return err;
        if (layer != 0)
            return kNoErr;
        bool other = false;
        if (ErrorCode err = HoldsOtherLiveObject(art, other))
            return err;
        take = other ? Take::Stop : Take::Take;
        return kNoErr;
    }
    case kVtgArtPath: {
        int32_t clipping = 0;
        if (ErrorCode err = sArt->GetArtAttributes(art, kVtgArtClipping, &clipping))
            return err;
        take = clipping != 0 ? Take::Skip : Take::Take;
        return kNoErr;
    }
    case kVtgArtTextFrame:
        take = Take::Take;
        return kNoErr;
    case kVtgArtPlugin: {
        LiveObjectKind kind = kNoKind;
        if (ErrorCode err = KindOf(art, kind))
            return err;
        take = kind == kKind3DPath ? Take::Skip : Take::Stop;
        return kNoErr;
    }
    default:
        return kNoErr;
    }
}

// The walk; false in `made` when the operation is to be reverted.
ErrorCode Walk(const _3DTFilterParams& record, bool& made) {
    made = false;
    SelectedList selection;
    if (ErrorCode err = sDocument->GetSelectedArt(&selection.list, &selection.count))
        return err == kNoDocumentErr ? kNoErr : err;
    int32_t first = 1;
    for (; first < selection.count; ++first) {
        int32_t layer = 0;
        if (ErrorCode err = sArt->IsLayerGroup(selection.list[first], &layer))
            return err;
        if (layer == 0)
            break;
    }
    if (first >= selection.count)
        return kNoErr; // nothing to take
    ArtHandle group = nullptr;
    if (ErrorCode err =
            sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, selection.list[first - 1], &group))
        return err;
    if (ErrorCode err = sDictionary->SetArtTag(group, kWorkGroupTagName, kWorkGroupTagValue))
        return err;
    bool taken = false;
    for (int32_t i = first; i < selection.count; ++i) {
        ArtHandle art = selection.list[i];
        Take take = Take::Skip;
        if (ErrorCode err = Examine(art, take))
            return err;
        if (take == Take::Stop) {
            // Nothing of the selection may be left half moved: all reverts.
            sUser->ErrorAlert(kOtherLiveObjectMessage);
            return kNoErr;
        }
        if (take == Take::Skip)
            continue;
        // The selected descendants of a container follow it in the list.
        while (i + 1 < selection.count) {
            bool inside = false;
            if (ErrorCode err = Inside(selection.list[i + 1], art, inside))
                return err;
            if (!inside)
                break;
            ++i;
        }
        if (ErrorCode err = sArt->MoveArt(art, kVtgPlaceInsideOnBottom, group))
            return err;
        taken = true;
    }
    if (!taken)
        return kNoErr;
    ArtHandle object = nullptr, edit = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPlugin, kVtgPlaceAbove, group, &object))
        return err;
    if (ErrorCode err = sPluginGroup->SetArtPluginGroup(object, gGlobals->groups[kKind3DPath]))
        return err;
    SetCurrentKind(kKind3DPath);
    _3DTFilterParams copy = record;
    if (ErrorCode err = StoreParamBlock(object, &copy))
        return err;
    if (ErrorCode err = sArt->SetArtAttributes(group, kVtgArtLocked, 1))
        return err;
    if (ErrorCode err = sArt->SetArtAttributes(group, kVtgArtLocked, 0))
        return err;
    if (ErrorCode err = sPluginGroup->GetEditArt(object, &edit))
        return err;
    if (ErrorCode err = sArt->MoveArt(group, kVtgPlaceInsideOnBottom, edit))
        return err;
    made = true;
    return kNoErr;
}

} // namespace

bool Path3DRegenerationPaused() {
    return gGlobals != nullptr && gGlobals->annotationActive != 0 &&
           gGlobals->currentTool == kTool3DRotate;
}

ErrorCode Update3DPath(ArtHandle editArt, ArtHandle resultArt, const _3DTFilterParams& record) {
    ArtHandle group = nullptr, first = nullptr, copy = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, resultArt, &group))
        return err;
    if (ErrorCode err = sArt->GetArtFirstChild(editArt, &first))
        return err;
    if (first == nullptr)
        return kNoErr;
    if (ErrorCode err = sArt->DuplicateArt(first, kVtgPlaceInsideOnBottom, group, &copy))
        return err;
    if (ErrorCode err = ConvertToPaths(copy))
        return err;
    return Transform3DArt(copy, record);
}

ErrorCode Make3DPath(const _3DTFilterParams& record) {
    if (sArt == nullptr || sDocument == nullptr || sUndo == nullptr || sDictionary == nullptr ||
        sPluginGroup == nullptr || gGlobals == nullptr)
        return kSuiteNotFoundErr;
    bool made = false;
    const ErrorCode err = Walk(record, made);
    if (err != kNoErr || !made)
        sUndo->RevertPending();
    return kNoErr;
}

const LiveKindOps& Path3DKindOps() {
    return kPath3DOps;
}

} // namespace vtg
