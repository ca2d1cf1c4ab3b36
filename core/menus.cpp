#include "core/menus.hpp"

#include <cstdio>

#include "core/suite_set.hpp"

namespace vtg {

const char* const kLiveObjectMenuNames[kLiveObjectKindCount] = {
    "Live 3Dパス",         "Live エクスプロージョン", "Live エンボス",         "Live カットアウト",
    "Live ギャラクシー",   "Live サークル",           "Live ジェネレーション", "Live シャドウ",
    "Live シンボル・パス", "Live タイリング",         "Live トレイル",         "Live ネオン",
    "Live フレーム",       "Live ボーダー",           "Live リフレクション"};

namespace {

constexpr const char* kPluginsGroup = "QuorlowSoftwareDev_Plugins_Gr_Name";
constexpr const char* kSubGroup = "VERTiGON6_Gr";
constexpr const char* kSeparatorKey = "VERTiGON_Separator";

ErrorCode AddItem(PluginRef plugin, const char* key, const char* text, int32_t options,
                  MenuItemHandle* item) {
    MenuItemHandle ignored = nullptr;
    return sMenu->AddMenuItem(plugin, key, kSubGroup, text, options, item ? item : &ignored);
}

} // namespace

ErrorCode RegisterMenus(PluginRef plugin) {
    MenuGroupHandle group = nullptr;
    ErrorCode err = sMenu->AddMenuGroup(plugin, kPluginsGroup, kWindowUtilitiesMenuGroup, &group);
    if (err != kNoErr)
        return err;
    MenuItemHandle top = nullptr;
    if ((err = sMenu->AddMenuItem(plugin, "VERTiGON6_Gr", kPluginsGroup, "VERTiGON6", 0, &top)))
        return err;
    MenuGroupHandle sub = nullptr;
    if ((err = sMenu->MakeSubMenu(top, kSubGroup, &sub)))
        return err;

    if ((err = AddItem(plugin, "VERTiGON_Menu_ShowPanel", "選択Liveオブジェクトの編集", 0,
                       &gGlobals->showPanelItem)))
        return err;
    if ((err = AddItem(plugin, kSeparatorKey, "-", kMenuItemSeparator, nullptr)))
        return err;
    for (int kind = 0; kind < kLiveObjectKindCount && *kLiveObjectMenuNames[kind] != '\0'; ++kind) {
        char key[32];
        std::snprintf(key, sizeof key, "VERTiGON6_%02d", kind);
        if ((err = AddItem(plugin, key, kLiveObjectMenuNames[kind], 0,
                           &gGlobals->liveObjectItems[kind])))
            return err;
    }
    if ((err = AddItem(plugin, kSeparatorKey, "-", kMenuItemSeparator, nullptr)))
        return err;
    if ((err =
             AddItem(plugin, "VERTiGON_Menu_Prefs", "環境設定...", 0, &gGlobals->preferencesItem)))
        return err;
    if ((err = AddItem(plugin, "VERTiGON_Menu_Help", "ヘルプ", 0, &gGlobals->helpItem)))
        return err;
    gGlobals->panelKind = kNoKind;
    return kNoErr;
}

MenuCommand IdentifyMenuItem(MenuItemHandle item) {
    MenuCommand command;
    if (item == nullptr || gGlobals == nullptr)
        return command;
    if (item == gGlobals->showPanelItem)
        command.kind = MenuCommand::ShowPanel;
    else if (item == gGlobals->preferencesItem)
        command.kind = MenuCommand::Preferences;
    else if (item == gGlobals->helpItem)
        command.kind = MenuCommand::Help;
    else
        for (int kind = 0; kind < kLiveObjectKindCount; ++kind)
            if (item == gGlobals->liveObjectItems[kind]) {
                command.kind = MenuCommand::LiveObject;
                command.liveObject = static_cast<LiveObjectKind>(kind);
            }
    return command;
}

} // namespace vtg
