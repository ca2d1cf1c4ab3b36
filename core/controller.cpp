#include "core/controller.hpp"

#include "core/suite_set.hpp"

namespace vtg {

bool VERTiGON4PanelCtrlr::PanelShown() const {
    int32_t shown = 0;
    return panel_ != nullptr && sPanel->IsPanelShown(panel_, &shown) == kNoErr && shown != 0;
}

void VERTiGON4PanelCtrlr::ShowPanel(bool show) {
    if (panel_ != nullptr)
        sPanel->ShowPanel(panel_, show ? 1 : 0);
}

} // namespace vtg
