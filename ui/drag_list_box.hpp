// drag_list_box.hpp - CQLWDragListBox, a list box whose items are dragged
// to a new place; the parent learns (source, destination) of every move.
#pragma once

#include <cstdint>

#include "ui/custom_control.hpp"

namespace vtg {

class CQLWDragListBox : public CustomControl {
public:
    int32_t source() const { return pair_[0]; }
    int32_t destination() const { return pair_[1]; }
    // The insertion marker's item; -1 when none is drawn.
    int insertionMarker() const { return marker_; }

protected:
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                platform::Param& result) override;

private:
    int32_t pair_[2] = {0, 0}; // source, destination: sent to the parent as one pair
    int marker_ = -1;
};

} // namespace vtg
