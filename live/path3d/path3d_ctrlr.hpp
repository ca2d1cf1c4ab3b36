// path3d_ctrlr.hpp - Live 3D Path's panel (dialog 658): the variant chooser,
// the variant's four value rows, perspective, the two sets of rotation
// angles and the centre. Each variant keeps its own preset file.
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class Path3DPGViewController : public PGViewController {
public:
    enum Ids {
        kVariant = 1832,
        kPerspectiveEdit = 1457,
        kPerspectiveSpin = 1458,
        kPerspectiveSlider = 1455,
        kBefore = 1434,
        kAfter = 1435,
        kCentreH = 1475,
        kCentreV = 1477,
        kRotateTool = 1861,
    };
    // The rows: label, edit, spin, slider.
    static constexpr int kRowIds[4][4] = {{1440, 1441, 1442, 1439},
                                          {1444, 1445, 1446, 1443},
                                          {1448, 1449, 1450, 1447},
                                          {1452, 1453, 1454, 1451}};
    // x, y, z, X, Y, Z: edit and spin; their labels.
    static constexpr int kAngleIds[6][2] = {{1437, 1438}, {1460, 1461}, {1463, 1464},
                                            {1466, 1467}, {1469, 1470}, {1472, 1473}};
    static constexpr int kAngleLabels[6] = {1436, 1459, 1462, 1465, 1468, 1471};

    explicit Path3DPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    _3DTFilterParams& params() const;
    // Labels, slider ranges and links of the panel's current variant.
    void ShowVariantRows();
    // The radio buttons and the X, Y, Z rows by variant; sets `transformed`.
    void EnableByVariant();
    void Link();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
};

class Path3DPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 658;
    Path3DPGCtrlr(PanelHandle panel, FlyoutHandle flyout);
    _3DTFilterParams& params() const { return *static_cast<_3DTFilterParams*>(record()); }

    // Puts the variant's preset file into the record's header; with `load`
    // its "Last Setting" (or the variant's defaults) is loaded. The flyout
    // lists the variant's presets afterwards.
    void Select3DVariant(int variant, bool load);
    // The combo chose `variant`: the old variant's values are saved, the
    // new one's loaded, and selected 3D Path objects are made again with it.
    ErrorCode ChangeVariant(int variant);

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<Path3DPGViewController>(*this);
    }
};

// The panel's current variant (0 .. 11).
int Current3DVariant();

} // namespace vtg
