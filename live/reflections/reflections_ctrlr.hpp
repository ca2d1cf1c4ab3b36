// reflections_ctrlr.hpp - Live Reflections' panel: controller and view
// (dialog 668).
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class ReflectionsPGViewController : public PGViewController {
public:
    enum Ids {
        kStyle = 1662,
        kOffsetHEdit = 1663,
        kOffsetHSpin = 1664,
        kOffsetVEdit = 1665,
        kOffsetVSpin = 1666,
        kCountEdit = 1667,
        kCountSpin = 1668,
        kOffsetHLabel = 1669,
        kOffsetVLabel = 1670,
        kCountLabel = 1671,
    };

    explicit ReflectionsPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    ReflectionsPGParams& params() const;
    void Link();
    // The controls of the axes the style has are enabled, the others not.
    void EnableGroups();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double count_ = 3; // the axis count as the edit holds it
};

class ReflectionsPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 668;
    ReflectionsPGCtrlr(PanelHandle panel, FlyoutHandle flyout)
        : PGCtrlr(kKindReflections, panel, flyout) {}
    ReflectionsPGParams& params() const { return *static_cast<ReflectionsPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<ReflectionsPGViewController>(*this);
    }
};

} // namespace vtg
