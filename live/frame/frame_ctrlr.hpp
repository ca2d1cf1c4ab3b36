// frame_ctrlr.hpp - Live Frame's panel: controller and view (dialog 662).
#pragma once

#include "live/pg_ctrlr.hpp"
#include "ui/bitmap_button.hpp"

namespace vtg {

class FramePGViewController : public LinkedPGViewController {
public:
    enum Ids {
        kHCount = 1548,
        kVCount = 1549,
        kFeedMode = 1550,
        kHSpin = 1551,
        kVSpin = 1552,
        kSideRelative = 1553,
        kSideDistance = 1554,
        kCornerRelative = 1555,
        kCornerDistance = 1556,
        kCornerOffset = 1561,
        kCornerOffsetSpin = 1562,
        kKeepAngle = 1563,
        kPlaceCorners = 1564,
        kFirstOffsetPicture = 1565, // 1565 .. 1567: -100 %, 0 %, +100 %
        kOffsetSlider = 1568,
        kClockwise = 1569,
        kCounterClockwise = 1570,
        kReverse = 1571,
        kRandomOrder = 1592,
        kRandom = 1593,
        kNewSeed = 1948,
    };
    // The pictures of the corner-offset and direction buttons.
    static constexpr int32_t kFirstPicture = 860;

    using LinkedPGViewController::LinkedPGViewController;
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    void AddLinks() override;
    void OnLinkedValue() override;
    bool OnKindCommand(int id, int notify) override;

private:
    FramePGParams& params() const;
    // Shows the feed edits of the record's mode and enables what depends
    // on the other values.
    void ShowMode();
    void EnableGroups();
    // Converts the two feeds to `mode` by the selection's reference length.
    void ConvertFeeds(int32_t mode);
    double hCount_ = 12, vCount_ = 8; // the counts as their edits hold them
    QLWBitmapButton pictures_[5];
};

class FramePGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 662;
    FramePGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindFrame, panel, flyout) {}
    FramePGParams& params() const { return *static_cast<FramePGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<FramePGViewController>(*this);
    }
};

// The reference length of a feed-mode change: the union of the boxes of
// the selected art other than groups and live objects (from entry 1 of
// the selection), its height for `direction` 0 and its width for 1. False
// when no such art is selected or a host call fails.
bool FrameReferenceLength(int32_t direction, double& length);

} // namespace vtg
