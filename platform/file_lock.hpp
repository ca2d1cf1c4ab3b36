// file_lock.hpp - an advisory lock on a folder, so that processes changing
// the same shared files (preset files, preferences) one after another read
// what the previous one wrote instead of overwriting it.
//
// The lock is taken on the folder itself, not on the file: a file replaced
// by renaming a new one over it is a new file, and a lock on the old one
// would not keep the next writer from reading stale contents. The folder
// holds no extra lock file either. A process may nest locks on one folder;
// the lock is given back when the outermost one ends.
#pragma once

#include <string>

namespace platform {

class FolderLock {
public:
    // Waits for the exclusive lock on `folder` (a folder's path, with or
    // without a trailing '/'). A folder that cannot be opened is not locked
    // (held() is false) and the caller goes on as before: the lock protects
    // against concurrent writers, it never stops a single one.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return !key_.empty(); }

private:
    std::string key_;
};

// The folder part of a file's path ("." when it has none).
std::string FolderOf(const std::string& path);

} // namespace platform
