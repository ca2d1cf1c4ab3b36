#include "help/help_pages.hpp"

#include <cstdio>

#include "core/plugin.hpp"
#include "core/suite_set.hpp"
#include "help/help_html_view.hpp"
#include "platform/system.hpp"

namespace vtg {

const char* const kHelpMissingFilesMessage =
    "VERTiGON6に必要なファイルが見つかりません。\nマニュアルに従ってインストールし直してください。";
const char* const kHelpBrowserQuestion =
    "ブラウザ・アプリケーションで VERTiGON6 のヘルプ（ローカルファイル）を開きます。\n"
    "語句の検索や関連ページの並列表示などにご利用ください。";
const char* const kHelpBrowserWarningKey = "_QrLw_VERTiGON6_DisplayHelpOnBrowserWarning_";
const char* const kHelpWarningSection = "DontShowWarningAgain";

namespace {

struct PageRow {
    int row;
    const char* name;
};

const PageRow kPages[] = {
    {0, "index"},
    {2, "vertigon6_system_requirements"},
    {3, "vertigon6_update_history"},
    {4, "vertigon6_features"},
    {5, "vertigon6_compatibility"},
    {6, "effect_general"},
    {7, "effect_wave"},
    {8, "effect_fractalize"},
    {9, "filter_fractalize"},
    {10, "effect_Lens"},
    {11, "effect_warp"},
    {12, "live_general"},
    {13, "live_3DPath1"},
    {14, "live_3DPath2"},
    {15, "live_explosion"},
    {16, "live_emboss"},
    {17, "live_cutout"},
    {18, "live_galaxy"},
    {19, "live_circle"},
    {20, "live_generation"},
    {21, "live_shadow"},
    {22, "live_symbolpath"},
    {23, "live_tiling"},
    {24, "live_trail"},
    {25, "live_neon"},
    {26, "live_frame"},
    {27, "live_border"},
    {28, "live_reflections"},
    {29, "live_showpanel"},
    {30, "tool_general"},
    {31, "tool_warp"},
    {32, "tool_wave"},
    {33, "tool_lens"},
    {34, "tool_craft"},
    {35, "tool_roughening"},
    {36, "tool_broom"},
    {37, "vertigon6_presetmenu"},
    {38, "vertigon6_presetfiles"},
    {39, "vertigon6_preferences"},
    {40, "vertigon6_faq"},
    {41, "vertigon6_support"},
    {43, "batchview"},
};

constexpr std::size_t kMaxProgram = 1025;

// Fallback programs when the desktop's browser cannot be found or started.
const char* const kFallbackBrowsers[] = {"microsoft-edge", "firefox", "chromium", "google-chrome"};

void Alert(const char* text) {
    if (sUser != nullptr)
        sUser->ErrorAlert(text);
}

bool Exists(const std::string& path) {
    int32_t exists = 0;
    return sFilePath != nullptr && sFilePath->Exists(path.c_str(), &exists) == kNoErr &&
           exists != 0;
}

bool Launched(int result) {
    return result >= 32;
}

} // namespace

const char* HelpPageName(int row) {
    for (const PageRow& p : kPages)
        if (p.row == row)
            return p.name;
    return nullptr;
}

std::string HelpFolder() {
    Plugin* plugin = GlobalPlugin();
    if (sFolders == nullptr || plugin == nullptr)
        return "";
    // The folder is asked for in a buffer that fits any path; a longer one
    // counts as missing rather than cut.
    std::string buffer(4096, '\0');
    if (sFolders->GetPluginFolder(plugin->pluginRef(), buffer.data(), buffer.size()) != kNoErr)
        return "";
    buffer.resize(buffer.find('\0'));
    return buffer + "/VERTiGON6_Help";
}

std::string HelpPagePath(int row) {
    const char* name = HelpPageName(row);
    std::string folder = HelpFolder();
    if (name == nullptr || folder.empty())
        return "";
    return folder + "/" + name + ".html";
}

std::optional<std::string> BrowserProgram(const std::string& command) {
    std::size_t i = 0;
    while (i < command.size() && static_cast<unsigned char>(command[i]) < '!')
        ++i;
    std::string program;
    if (i < command.size() && command[i] == '"') {
        std::size_t close = command.find('"', i + 1);
        program =
            command.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
    } else {
        std::size_t blank = command.find(' ', i);
        program = command.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
    }
    // A program path that would not fit is no program: never a cut path.
    if (program.empty() || program.size() > kMaxProgram)
        return std::nullopt;
    return program;
}

std::string FileUrl(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (safe) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

ErrorCode ShowHelpPage(int row, bool inBrowser, HelpHtmlView* view) {
    std::string path = HelpPagePath(row);
    if (path.empty() && HelpPageName(row) == nullptr)
        return kNotFoundErr;
    if (path.empty() || !Exists(path)) {
        Alert(kHelpMissingFilesMessage);
        return kNotFoundErr;
    }
    if (!inBrowser) {
        if (view == nullptr)
            return kBadParameterErr;
        view->Navigate(path);
        return kNoErr;
    }
    if (sUser == nullptr)
        return kBadParameterErr;
    int32_t answer = 1;
    ErrorCode err =
        sUser->ConfirmSuppressible(kHelpBrowserQuestion, kHelpBrowserWarningKey, &answer);
    if (err != kNoErr)
        return err;
    if (answer == 0)
        return kCancelledErr;
    // The whole address is used: a cut one would open the wrong page.
    std::string url = FileUrl(path);
    if (auto command = platform::DefaultBrowserCommand()) {
        if (auto program = BrowserProgram(*command)) {
            if (Launched(platform::ShellOpen(*program, url)))
                return kNoErr;
        }
    }
    for (const char* program : kFallbackBrowsers)
        if (Launched(platform::ShellOpen(program, url)))
            return kNoErr;
    platform::ShellOpen("xdg-open", url);
    return kNoErr;
}

} // namespace vtg
