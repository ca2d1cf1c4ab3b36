#include "params/file_replace.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace vtg {
namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links to the file they name; false for a loop or an
// unreadable link.
bool ResolveLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        std::string target(buffer.data(), static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : Folder(path) + "/" + target;
    }
    return false;
}

// "." NAME ".vtg-" PID "-" XXXXXX: the process id, or -1 for another name.
long TemporaryOwner(const std::string& name) {
    const std::size_t tag = name.rfind(".vtg-");
    if (name.empty() || name[0] != '.' || tag == std::string::npos || tag < 2)
        return -1;
    const std::size_t dash = name.find('-', tag + 5);
    if (dash == std::string::npos || dash == tag + 5 || name.size() - dash - 1 != 6)
        return -1;
    long pid = 0;
    for (std::size_t i = tag + 5; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 0x3FFFFFFF)
            return -1;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

void RemoveStaleTemporaries(const std::string& folder, const std::string& target) {
    ::unlink((target + "Tm").c_str()); // the temporary name of earlier versions
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const long pid = TemporaryOwner(entry->d_name);
        if (pid < 0 || pid == static_cast<long>(::getpid()))
            continue;
        if (pid == 0 || pid > 0x3FFFFFFF ||
            (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            stale.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& path : stale)
        ::unlink(path.c_str());
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

bool RewriteFileSafely(const std::string& path, std::string_view bytes,
                       const std::function<bool()>& beforeRename) {
    std::string target = path;
    if (path.empty() || !ResolveLinks(target))
        return false;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return false;
    // A read-only file stays as it is, for the administrator as well.
    if (exists && (::geteuid() == 0 ? (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0
                                    : ::access(target.c_str(), W_OK) != 0))
        return false;
    const std::string folder = Folder(target);
    RemoveStaleTemporaries(folder, target);
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp =
        folder + "/." + name + ".vtg-" + std::to_string(static_cast<long>(::getpid())) + "-XXXXXX";
    std::vector<char> buffer(temp.begin(), temp.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    temp = buffer.data();
    bool ok = WriteAll(fd, bytes);
    if (ok) {
        if (exists) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
            ::fchmod(fd, st.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fd, 0666 & ~mask);
        }
        ok = ::fsync(fd) == 0;
    }
    ok = ::close(fd) == 0 && ok;
    if (ok && beforeRename && beforeRename())
        ok = false;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace vtg
