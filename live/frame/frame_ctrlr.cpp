// Live Frame's panel. The numbers go through the value links (the feeds
// have an edit per mode in the same place); the choices, check boxes,
// picture buttons and the random group are handled here.
#include "live/frame/frame_ctrlr.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "platform/window.hpp"

namespace vtg {

namespace {

const char* const kFeedModeNames[] = {"相対送り量(%):", "絶対送り量:"};

// One amount of the random group: its check box, edit and spin.
struct RandomRow {
    int check, edit, spin;
    int32_t FramePGParams::*flag;
    double FramePGParams::*amount;
};
const RandomRow kRows[] = {
    {1576, 1574, 1573, &FramePGParams::anchorHOn, &FramePGParams::anchorH},
    {1577, 1578, 1579, &FramePGParams::anchorVOn, &FramePGParams::anchorV},
    {1580, 1581, 1582, &FramePGParams::inHOn, &FramePGParams::inH},
    {1583, 1584, 1585, &FramePGParams::inVOn, &FramePGParams::inV},
    {1586, 1587, 1588, &FramePGParams::outHOn, &FramePGParams::outH},
    {1589, 1590, 1591, &FramePGParams::outVOn, &FramePGParams::outV},
};

} // namespace

bool FrameReferenceLength(int32_t direction, double& length) {
    if (sDocument == nullptr || sArt == nullptr || sMemory == nullptr)
        return false;
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (sDocument->GetSelectedArt(&list, &count) != kNoErr || list == nullptr)
        return false;
    bool found = false, failed = false;
    VtgRect all{};
    // Entry 0 is the selection's container, not selected art.
    for (int32_t i = 1; i < count && !failed; ++i) {
        int32_t kind = 0;
        VtgRect box{};
        if (sArt->GetArtKind(list[i], &kind) != kNoErr) {
            failed = true;
            break;
        }
        if (kind == kVtgArtGroup || kind == kVtgArtPlugin)
            continue;
        if (sArt->GetArtBounds(list[i], nullptr, kVtgBoundsControlPoints, &box) != kNoErr) {
            failed = true;
            break;
        }
        if (!found)
            all = box;
        all.left = std::min(all.left, box.left);
        all.right = std::max(all.right, box.right);
        all.top = std::max(all.top, box.top);
        all.bottom = std::min(all.bottom, box.bottom);
        found = true;
    }
    sMemory->FreeBlock(list);
    if (failed || !found)
        return false;
    length = direction == 0 ? all.top - all.bottom : all.right - all.left;
    return length > 0;
}

FramePGParams& FramePGViewController::params() const {
    return static_cast<FramePGCtrlr&>(ctrlr_).params();
}

void FramePGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetItems(item(kFeedMode), std::vector<std::string>(std::begin(kFeedModeNames),
                                                                 std::end(kFeedModeNames)));
    platform::SetRange(item(kOffsetSlider), -100, 100);
    platform::SetPageSize(item(kOffsetSlider), 5);
    const int buttons[5] = {kFirstOffsetPicture, kFirstOffsetPicture + 1, kFirstOffsetPicture + 2,
                            kClockwise, kCounterClockwise};
    for (int i = 0; i < 5; ++i) {
        pictures_[i].AttachToItem(dialog_, buttons[i]);
        pictures_[i].SetBitmap(kFirstPicture + i);
    }
    LinkedPGViewController::OnInitView();
}

void FramePGViewController::AddLinks() {
    FramePGParams& p = params();
    using K = LinkedValue::Kind;
    AddLink(K::Integer, kHCount, kHSpin, 0, 1, 32767, 1, &hCount_);
    AddLink(K::Integer, kVCount, kVSpin, 0, 1, 32767, 1, &vCount_);
    AddLink(K::Number, kSideRelative, 1557, 0, 0, 20000, 0.01, &p.sideFeed);
    AddLink(K::Number, kCornerRelative, 1558, 0, 0, 20000, 0.01, &p.cornerFeed);
    AddLink(K::Distance, kSideDistance, 1559, 0, 0, 16383, 1, &p.sideFeed);
    AddLink(K::Distance, kCornerDistance, 1560, 0, 0, 16383, 1, &p.cornerFeed);
    AddLink(K::Number, kCornerOffset, kCornerOffsetSpin, kOffsetSlider, -100, 100, 0.01,
            &p.cornerOffset);
    for (const RandomRow& r : kRows)
        AddLink(K::Number, r.edit, r.spin, 0, 0, 100, 0.01, &(p.*r.amount));
}

void FramePGViewController::OnLinkedValue() {
    FramePGParams& p = params();
    p.hCount = static_cast<int32_t>(hCount_);
    p.vCount = static_cast<int32_t>(vCount_);
    EnableGroups();
}

void FramePGViewController::Refresh(int reason) {
    FramePGParams& p = params();
    // A record read from a document may hold any count; the panel holds
    // and shows the counts within their range.
    p.hCount = std::clamp(p.hCount, 1, 32767);
    p.vCount = std::clamp(p.vCount, 1, 32767);
    hCount_ = p.hCount;
    vCount_ = p.vCount;
    LinkedPGViewController::Refresh(reason);
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetChecked(item(kReverse), p.reverseOrder != 0);
    platform::SetChecked(item(kKeepAngle), p.keepAngle != 0);
    platform::SetChecked(item(kPlaceCorners), p.placeCorners != 0);
    platform::SetChecked(item(kRandom), p.randomOn != 0);
    platform::SetChecked(item(kRandomOrder), p.randomOrder != 0);
    platform::SetChecked(item(kClockwise), p.direction == 0);
    platform::SetChecked(item(kCounterClockwise), p.direction != 0);
    for (const RandomRow& r : kRows)
        platform::SetChecked(item(r.check), p.*r.flag != 0);
    ShowMode();
}

void FramePGViewController::ShowMode() {
    const bool distance = params().feedMode != 0;
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetSelection(item(kFeedMode), distance ? 1 : 0);
    // The edits of the other mode are hidden and take no input.
    for (int id : {int{kSideRelative}, int{kCornerRelative}, 1557, 1558}) {
        platform::Show(item(id), !distance);
        platform::Enable(item(id), !distance);
    }
    for (int id : {int{kSideDistance}, int{kCornerDistance}, 1559, 1560}) {
        platform::Show(item(id), distance);
        platform::Enable(item(id), distance);
    }
    EnableGroups();
}

void FramePGViewController::EnableGroups() {
    const FramePGParams& p = params();
    auto enable = [&](int id, bool e) { platform::Enable(platform::GetItem(dialog_, id), e); };
    enable(kPlaceCorners, p.cornerOffset == 0);
    const bool on = p.randomOn != 0;
    for (const RandomRow& r : kRows) {
        enable(r.check, on);
        enable(r.edit, on && p.*r.flag != 0);
        enable(r.spin, on && p.*r.flag != 0);
    }
    enable(kRandomOrder, on);
    enable(kNewSeed, on);
}

void FramePGViewController::ConvertFeeds(int32_t mode) {
    FramePGParams& p = params();
    double length = 0;
    // Without a reference the numbers stay and are read in the new mode.
    if (!FrameReferenceLength(p.direction, length))
        return;
    const double factor = mode != 0 ? length : 1 / length;
    p.sideFeed *= factor;
    p.cornerFeed *= factor;
}

bool FramePGViewController::OnKindCommand(int id, int notify) {
    FramePGParams& p = params();
    platform::WindowId control = platform::GetItem(dialog_, id);
    const int32_t checked = platform::IsChecked(control) ? 1 : 0;
    switch (id) {
    case kFeedMode: {
        if (notify != platform::kNotifySelChange)
            return true;
        const int chosen = platform::GetSelection(control);
        if (chosen < 0 || chosen > 1 || chosen == (p.feedMode != 0 ? 1 : 0))
            return true;
        ConvertFeeds(chosen);
        p.feedMode = chosen;
        linker_.ShowAll();
        ShowMode();
        break;
    }
    case kReverse:
        p.reverseOrder = checked;
        break;
    case kKeepAngle:
        p.keepAngle = checked;
        break;
    case kPlaceCorners:
        p.placeCorners = checked;
        break;
    case kClockwise:
    case kCounterClockwise:
        if (notify != platform::kNotifyClicked)
            return true;
        p.direction = id == kCounterClockwise ? 1 : 0;
        platform::SetChecked(platform::GetItem(dialog_, kClockwise), p.direction == 0);
        platform::SetChecked(platform::GetItem(dialog_, kCounterClockwise), p.direction != 0);
        break;
    case kRandom:
        p.randomOn = checked;
        EnableGroups();
        break;
    case kRandomOrder:
        p.randomOrder = checked;
        break;
    case kNewSeed:
        // Each selected frame draws a seed of its own on this write.
        p.seedFixed = 0;
        ctrlr_.ValueChanged();
        p.seedFixed = 1;
        return true;
    default:
        if (id >= kFirstOffsetPicture && id < kFirstOffsetPicture + 3) {
            if (notify != platform::kNotifyClicked)
                return true;
            p.cornerOffset = (id - kFirstOffsetPicture) - 1.0;
            linker_.ShowAll();
            EnableGroups();
            break;
        }
        for (const RandomRow& r : kRows)
            if (id == r.check) {
                p.*r.flag = checked;
                EnableGroups();
                ctrlr_.ValueChanged();
                return true;
            }
        return false;
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
