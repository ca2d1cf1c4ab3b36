#include "platform/file_write.hpp"

#include "platform/file_lock.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {
namespace {

FileWriteFault gFault;

int Fault(const char* step) {
    return gFault ? gFault(step) : 0;
}

std::string Reason(int error) {
    return std::strerror(error);
}

// Writes all bytes to an open descriptor; 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
    if (int e = Fault("write"))
        return e;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Names the system resolves to an already open stream: written directly.
// Other names under /dev are what they are: a device is written directly
// (it is not a regular file), a file in /dev/shm is replaced like any other.
bool IsStreamName(const std::string& path) {
    return StartsWith(path, "/dev/std") || StartsWith(path, "/dev/fd/") ||
           StartsWith(path, "/proc/");
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they name (which may not exist yet).
// False with errno for a loop or an unreadable link; `direct` is set when
// the chain reaches a stream name.
bool ResolveLinks(std::string& path, bool& direct) {
    for (int hops = 0; hops < 40; ++hops) {
        if (IsStreamName(path)) {
            direct = true;
            return true;
        }
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        std::string target(buffer.data(), static_cast<std::size_t>(n));
        if (target.empty() || target[0] != '/')
            target = FolderOf(path) + "/" + target;
        path = target;
    }
    errno = ELOOP;
    return false;
}

// The user may write to a file of this mode: the system's answer, and for
// the administrator (whom the system lets write anything) only while some
// write bit is set, as an editor asks before it overwrites a read-only file.
bool MayWrite(const std::string& path, const struct stat& st) {
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

// Removes temporary files of this pattern whose process has ended.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        long pid = 0;
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name, &pid))
            continue;
        if (pid == static_cast<long>(::getpid()))
            continue; // this process's own, in use
        if (pid <= 0 || pid > 0x3FFFFFFF ||
            (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            stale.push_back(folder + "/" + name);
    }
    ::closedir(dir);
    for (const std::string& path : stale)
        ::unlink(path.c_str());
}

std::string WriteDirect(const std::string& shown, const std::string& path, int fd,
                        std::string_view bytes) {
    bool opened = false;
    if (fd < 0) {
        // Appending keeps a shell's redirection ("> f" truncated it already,
        // ">> f" appends); pipes and devices take it as any write.
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return shown + ": cannot open for writing: " + Reason(errno);
        opened = true;
    }
    int e = WriteAll(fd, bytes);
    if (opened && ::close(fd) != 0 && e == 0)
        e = errno;
    if (e != 0)
        return shown + ": cannot write: " + Reason(e);
    return {};
}

// Flushes a folder's entries (the rename) to the disk.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool IsTemporaryName(const std::string& name, long* pid) {
    // "." NAME ".vtg-" PID "-" XXXXXX
    if (name.size() < 2 || name[0] != '.')
        return false;
    const std::size_t tag = name.rfind(".vtg-");
    if (tag == std::string::npos || tag < 2)
        return false;
    const std::string rest = name.substr(tag + 5);
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos || dash == 0 || rest.size() - dash - 1 != 6)
        return false;
    long value = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        if (rest[i] < '0' || rest[i] > '9' || value > 0x3FFFFFFF)
            return false;
        value = value * 10 + (rest[i] - '0');
    }
    if (pid != nullptr)
        *pid = value;
    return true;
}

std::vector<std::string>& UnreportedFailures() {
    static std::vector<std::string> failures;
    return failures;
}

void NoteUnreportedWriteFailure(const std::string& message) {
    UnreportedFailures().push_back(message);
}

std::vector<std::string> TakeUnreportedWriteFailures() {
    return std::exchange(UnreportedFailures(), {});
}

void SetFileWriteFault(FileWriteFault fault) {
    gFault = std::move(fault);
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes) {
    if (path.empty())
        return "cannot write a file without a name";
    if (path == "-") {
        std::fflush(stdout); // what the program printed comes first
        return WriteDirect("standard output", path, STDOUT_FILENO, bytes);
    }
    std::string target = path;
    bool direct = false;
    if (!ResolveLinks(target, direct))
        return path + ": cannot follow the link: " + Reason(errno);
    if (direct)
        return WriteDirect(path, target, -1, bytes);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return path + ": cannot write: " + Reason(errno);
    if (exists && S_ISDIR(st.st_mode))
        return path + ": cannot write: " + Reason(EISDIR);
    if (exists && !S_ISREG(st.st_mode))
        return WriteDirect(path, target, -1, bytes); // a pipe, a device, a socket
    if (exists && !MayWrite(target, st))
        return path + ": cannot write: the file is read-only (" + Reason(EACCES) + ")";

    const std::string folder = FolderOf(target);
    RemoveStaleTemporaries(folder);
    std::string temp = folder + "/." + BaseName(target) + ".vtg-" +
                       std::to_string(static_cast<long>(::getpid())) + "-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return path + ": cannot create a temporary file in " + folder + ": " + Reason(errno);
    temp = name.data();

    auto fail = [&](const char* what, int error) {
        ::unlink(temp.c_str());
        return path + ": " + what + ": " + Reason(error);
    };
    int e = WriteAll(fd, bytes);
    if (e == 0) {
        if (exists) {
            // The owner first: changing it clears the set-id bits the mode restores.
            if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
            ::fchmod(fd, st.st_mode & 07777);
        } else {
            ::fchmod(fd, NewFileMode());
        }
        e = Fault("sync");
        if (e == 0 && ::fsync(fd) != 0)
            e = errno;
    }
    if (::close(fd) != 0 && e == 0)
        e = errno;
    if (e != 0)
        return fail("cannot write", e);
    e = Fault("rename");
    if (e == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        e = errno;
    if (e != 0)
        return fail("cannot replace the file", e);
    SyncFolder(folder);
    return {};
}

} // namespace platform
