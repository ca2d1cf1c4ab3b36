#include "platform/file_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace platform {
namespace {

struct HeldLock {
    int fd = -1;
    int depth = 0;
};

// Locks this process holds, by folder, with their nesting depth: a second
// flock on a new descriptor of the same folder would wait for ourselves.
std::mutex gMutex;
std::map<std::string, HeldLock>& Held() {
    static std::map<std::string, HeldLock> held;
    return held;
}

std::string Key(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder.empty() ? "." : folder;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FolderLock::FolderLock(const std::string& folder) {
    const std::string key = Key(folder);
    std::lock_guard guard(gMutex);
    auto it = Held().find(key);
    if (it != Held().end()) {
        ++it->second.depth;
        key_ = key;
        return;
    }
    const int fd = ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int rc;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return;
    }
    Held()[key] = HeldLock{fd, 1};
    key_ = key;
}

FolderLock::~FolderLock() {
    if (key_.empty())
        return;
    std::lock_guard guard(gMutex);
    auto it = Held().find(key_);
    if (it == Held().end() || --it->second.depth > 0)
        return;
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    Held().erase(it);
}

} // namespace platform
