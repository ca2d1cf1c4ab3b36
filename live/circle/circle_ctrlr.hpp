// circle_ctrlr.hpp - Live Circle's panel: controller and view (dialog 670).
#pragma once

#include "live/pg_ctrlr.hpp"

namespace vtg {

class CirclePGViewController : public PGViewController {
public:
    using PGViewController::PGViewController;
    void Refresh(int reason) override;

protected:
    bool OnKindCommand(int id, int notify) override;
    bool OnKindSpin(int id, int delta) override;

private:
    void EnableRandomGroup();
    // The two offsets are distances in the document's ruler units.
    void LinkOffsets();
    ValueLinker offsets_;
    LinkedValue offsetH_, offsetV_;
};

class CirclePGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 670;
    CirclePGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindCircle, panel, flyout) {}
    CirclePGParams& params() const { return *static_cast<CirclePGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<CirclePGViewController>(*this);
    }
};

} // namespace vtg
