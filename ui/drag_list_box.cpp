#include "ui/drag_list_box.hpp"

namespace vtg {

bool CQLWDragListBox::Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                             platform::Param& result) {
    switch (code) {
    case platform::kMsgDragBegin:
        result = Base(code, wparam, lparam);
        pair_[0] = platform::GetSelection(window());
        return true;
    case platform::kMsgDragCancel:
        marker_ = -1;
        result = 0;
        return true;
    case platform::kMsgDragging:
        result = Base(code, wparam, lparam);
        marker_ = static_cast<int>(wparam);
        return true;
    case platform::kMsgDragDropped:
        result = Base(code, wparam, lparam);
        marker_ = -1;
        pair_[1] = platform::GetSelection(window());
        platform::SendMessage(platform::GetParent(window()), platform::kMsgDragListMoved, 0,
                              reinterpret_cast<platform::Param>(pair_));
        return true;
    default:
        return false;
    }
}

} // namespace vtg
