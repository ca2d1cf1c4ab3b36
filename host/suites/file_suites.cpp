// The file path and folders suites.
#include <filesystem>
#include <system_error>

#include "host/api/vtg_filepath_suite.h"
#include "host/api/vtg_folders_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"
#include "platform/system.hpp"

namespace hostapp {
namespace {

namespace fs = std::filesystem;

ErrorCode CopyPath(const std::string& path, char* buffer, size_t size) {
    if (buffer == nullptr)
        return kBadParameterErr;
    // A cut path names another file: refuse instead.
    if (path.size() + 1 > size) {
        if (size > 0)
            buffer[0] = '\0';
        return kBufferTooSmallErr;
    }
    return CopyOut(path, buffer, size);
}

std::string Parent(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

ErrorCode Exists(const char* path, int32_t* exists) {
    if (path == nullptr || exists == nullptr)
        return kBadParameterErr;
    std::error_code ec;
    *exists = fs::exists(fs::u8path(path), ec) ? 1 : 0;
    return kNoErr;
}

ErrorCode IsFolder(const char* path, int32_t* isFolder) {
    if (path == nullptr || isFolder == nullptr)
        return kBadParameterErr;
    std::error_code ec;
    *isFolder = fs::is_directory(fs::u8path(path), ec) ? 1 : 0;
    return kNoErr;
}

ErrorCode ParentFolder(const char* path, char* buffer, size_t size) {
    if (path == nullptr)
        return kBadParameterErr;
    return CopyPath(Parent(path), buffer, size);
}

const FilePathSuite kFilePath = {&Exists, &IsFolder, &ParentFolder};

ErrorCode GetPluginFolder(PluginRef plugin, char* buffer, size_t size) {
    if (plugin == nullptr)
        return kBadParameterErr;
    std::error_code ec;
    fs::path abs = fs::absolute(fs::u8path(plugin->path), ec);
    std::string path = ec ? plugin->path : abs.lexically_normal().string();
    return CopyPath(Parent(path), buffer, size);
}

std::string HomeFolder() {
    if (auto home = platform::GetEnvironment("HOME"))
        return *home;
    return ".";
}

ErrorCode GetFolder(int32_t kind, char* buffer, size_t size) {
    switch (kind) {
    case kFolderUserDocuments:
        return CopyPath(HomeFolder(), buffer, size);
    case kFolderUserConfig: {
        std::string base = platform::GetEnvironment("XDG_CONFIG_HOME").value_or("");
        if (base.empty())
            base = HomeFolder() + "/.config";
        return CopyPath(base + "/vertigon", buffer, size);
    }
    default:
        return kNotFoundErr;
    }
}

const FoldersSuite kFolders = {&GetPluginFolder, &GetFolder};

} // namespace

void PublishFileSuites(SuiteBroker& broker) {
    broker.publish(kFilePathSuiteName, kFilePathSuiteVersion, &kFilePath);
    broker.publish(kFoldersSuiteName, kFoldersSuiteVersion, &kFolders);
}

} // namespace hostapp
