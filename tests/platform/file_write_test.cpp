// The one writer of the host's and the program's files: atomic replacement
// that keeps mode and owner, symbolic links written through, streams and
// devices written directly, read-only files refused, every failure leaving
// the old file, and stale temporary files cleared.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_write.hpp"

namespace {

namespace fs = std::filesystem;

class FileWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vtg_write_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        oldMask_ = ::umask(022);
    }
    void TearDown() override {
        platform::SetFileWriteFault(nullptr);
        ::umask(oldMask_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const std::string& path, const std::string& text, mode_t mode = 0644) {
        std::ofstream(path, std::ios::binary) << text;
        ::chmod(path.c_str(), mode);
    }
    static mode_t Mode(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
    // Names in the folder other than `keep`.
    std::vector<std::string> Others(std::initializer_list<std::string> keep) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            const std::string n = e.path().filename().string();
            if (std::find(keep.begin(), keep.end(), n) == keep.end())
                names.push_back(n);
        }
        return names;
    }

    fs::path dir_;
    mode_t oldMask_ = 022;
};

TEST_F(FileWrite, NewAndReplacedFilesKeepTheirModeAndLeaveNoTemporary) {
    const std::string fresh = Path("fresh.svg");
    EXPECT_EQ(platform::WriteWholeFile(fresh, "new"), "");
    EXPECT_EQ(Read(fresh), "new");
    EXPECT_EQ(Mode(fresh), 0644u); // as any new file under the process's mask

    const std::string kept = Path("kept.svg");
    Write(kept, "old", 0640);
    EXPECT_EQ(platform::WriteWholeFile(kept, "replaced"), "");
    EXPECT_EQ(Read(kept), "replaced");
    EXPECT_EQ(Mode(kept), 0640u);
    EXPECT_TRUE(Others({"fresh.svg", "kept.svg"}).empty());
}

TEST_F(FileWrite, ReadOnlyFilesAndFoldersAreRefusedAndLeftAsTheyWere) {
    const std::string locked = Path("locked.svg");
    Write(locked, "keep me", 0444);
    const std::string why = platform::WriteWholeFile(locked, "lost");
    EXPECT_EQ(why, locked + ": cannot write: the file is read-only (Permission denied)");
    EXPECT_EQ(Read(locked), "keep me");
    EXPECT_EQ(Mode(locked), 0444u);
    EXPECT_EQ(platform::WriteWholeFile(dir_.string(), "x"),
              dir_.string() + ": cannot write: Is a directory");
    EXPECT_EQ(platform::WriteWholeFile(Path("no/such/folder.svg"), "x")
                  .rfind(Path("no/such/folder.svg") + ": cannot create a temporary file in ", 0),
              0u);
    EXPECT_TRUE(Others({"locked.svg"}).empty());
}

// A failure at any step (a full disk while writing, a failed flush or
// rename) reports the system's reason and leaves the old file whole.
TEST_F(FileWrite, EveryFailedStepKeepsTheOldFile) {
    const std::string file = Path("doc.svg");
    for (const char* step : {"write", "sync", "rename"}) {
        Write(file, "the old document", 0600);
        platform::SetFileWriteFault(
            [step](const char* at) { return std::string(at) == step ? ENOSPC : 0; });
        const std::string why = platform::WriteWholeFile(file, "the new one");
        EXPECT_NE(why.find("No space left on device"), std::string::npos) << step << ": " << why;
        EXPECT_EQ(why.rfind(file + ": ", 0), 0u) << why;
        EXPECT_EQ(Read(file), "the old document") << step;
        EXPECT_EQ(Mode(file), 0600u) << step;
        EXPECT_TRUE(Others({"doc.svg"}).empty()) << step;
    }
}

TEST_F(FileWrite, SymbolicLinksAreWrittenThroughToTheirTarget) {
    fs::create_directories(dir_ / "real");
    Write(Path("real/target.svg"), "old", 0600);
    fs::create_symlink("real/target.svg", dir_ / "relative.svg");
    fs::create_symlink(dir_ / "relative.svg", dir_ / "chain.svg");
    EXPECT_EQ(platform::WriteWholeFile(Path("chain.svg"), "through"), "");
    EXPECT_TRUE(fs::is_symlink(dir_ / "chain.svg"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "relative.svg"));
    EXPECT_EQ(Read(Path("real/target.svg")), "through");
    EXPECT_EQ(Mode(Path("real/target.svg")), 0600u);
    EXPECT_TRUE(Others({"real", "relative.svg", "chain.svg"}).empty());
    // A dangling link: its target is made.
    fs::create_symlink("real/new.svg", dir_ / "dangling.svg");
    EXPECT_EQ(platform::WriteWholeFile(Path("dangling.svg"), "made"), "");
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.svg"));
    EXPECT_EQ(Read(Path("real/new.svg")), "made");
    // A loop is an error, not a hang.
    fs::create_symlink("loop_b", dir_ / "loop_a");
    fs::create_symlink("loop_a", dir_ / "loop_b");
    EXPECT_NE(platform::WriteWholeFile(Path("loop_a"), "x").find("cannot follow the link"),
              std::string::npos);
}

TEST_F(FileWrite, PipesDevicesAndStandardOutputAreWrittenDirectly) {
    const std::string fifo = Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(platform::WriteWholeFile(fifo, "through the pipe"), "");
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 16);
    EXPECT_EQ(std::string(buffer), "through the pipe");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));

    EXPECT_EQ(platform::WriteWholeFile("/dev/null", "gone"), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A regular file under /dev (the memory-backed /dev/shm) is created and
    // replaced like any other file.
    if (fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0) {
        const std::string shm = "/dev/shm/vtg_file_write_" + std::to_string(::getpid());
        EXPECT_EQ(platform::WriteWholeFile(shm, "first"), "");
        EXPECT_EQ(platform::WriteWholeFile(shm, "second"), "");
        EXPECT_EQ(Read(shm), "second");
        EXPECT_TRUE(fs::is_regular_file(shm));
        fs::remove(shm);
    }

    // "-" and /dev/stdout: the stream the program was given.
    const std::string captured = Path("stdout.txt");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int out = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(out, 0);
    ::dup2(out, STDOUT_FILENO);
    ::close(out);
    const std::string dash = platform::WriteWholeFile("-", "one ");
    const std::string dev = platform::WriteWholeFile("/dev/stdout", "two");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_EQ(dash, "");
    EXPECT_EQ(dev, "");
    EXPECT_EQ(Read(captured), "one two");
    EXPECT_TRUE(Others({"pipe", "stdout.txt"}).empty());
}

// Temporary files of processes that ended are removed at the next write
// into the folder; those of a running process and other names stay.
TEST_F(FileWrite, StaleTemporariesOfEndedProcessesAreRemoved) {
    const std::string stale = ".doc.svg.vtg-99999999-AbC123";
    const std::string running = ".doc.svg.vtg-1-xYz789"; // process 1 always runs
    for (const std::string& n :
         {stale, running, std::string(".doc.svg.vtg-x-abcdef"), std::string("doc.svg.tmp~")})
        Write(Path(n), "partial");
    EXPECT_EQ(platform::WriteWholeFile(Path("other.svg"), "x"), "");
    EXPECT_FALSE(fs::exists(Path(stale)));
    EXPECT_TRUE(fs::exists(Path(running)));
    EXPECT_TRUE(fs::exists(Path(".doc.svg.vtg-x-abcdef")));
    EXPECT_TRUE(fs::exists(Path("doc.svg.tmp~")));

    struct Case {
        const char* name;
        bool temporary;
        long pid;
    } cases[] = {
        {".a.vtg-12-abcdef", true, 12}, {".a.b.vtg-7-ABC123", true, 7},
        {"a.vtg-12-abcdef", false, 0},  {".a.vtg-12-abcde", false, 0},
        {".a.vtg--abcdef", false, 0},   {".vtg-12-abcdef", false, 0},
        {".a.vtg-1x-abcdef", false, 0}, {".a.vtg-12345678901234-abcdef", false, 0},
    };
    for (const Case& c : cases) {
        long pid = 0;
        EXPECT_EQ(platform::IsTemporaryName(c.name, &pid), c.temporary) << c.name;
        if (c.temporary) {
            EXPECT_EQ(pid, c.pid) << c.name;
        }
    }
}

} // namespace
