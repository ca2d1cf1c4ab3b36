#include "core/about_box.hpp"

#include <string>

#include "platform/window.hpp"

namespace vtg {

namespace {

class AboutBox : public platform::WindowHandler {
public:
    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param, platform::Param& result) override {
        if (code == platform::kMsgInitDialog) {
            platform::SetText(platform::GetItem(window, kAboutVersionText),
                              std::string("バージョン ") + VTG_PLUGIN_VERSION);
            result = 1;
            return true;
        }
        if (code == platform::kMsgCommand) {
            const int id = platform::LowWord(wparam);
            if (id == 1 || id == 2)
                platform::EndDialog(window, 1);
            result = 0;
            return true;
        }
        return false;
    }
};

} // namespace

int ShowAboutBox() {
    AboutBox handler;
    platform::WindowId dialog =
        platform::CreateDialogFromTemplate(kAboutBoxTemplate, platform::HostMainWindow(), &handler);
    if (dialog == 0)
        return -1;
    const int result = platform::RunModal(dialog);
    platform::DetachHandler(dialog, &handler);
    platform::DestroyWindow(dialog);
    return result == 1 ? 0 : -1;
}

} // namespace vtg
