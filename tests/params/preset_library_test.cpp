// The preset library on a temporary profile folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "core/text_util.hpp"
#include "host/host.hpp"
#include "params/effect_params.hpp"
#include "params/global_params.hpp"
#include "params/live_params.hpp"
#include "params/preset_library.hpp"
#include "params/preset_text.hpp"
#include "params/tool_params.hpp"
#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace vtg {
namespace {

namespace fs = std::filesystem;
using hostapp::Answer;
constexpr ErrorCode kFileError = -1;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

struct Block {
    explicit Block(const PresetType& t) : type(t), bytes(t.blockSize / 8 + 2) {
        InitParamBlock(t, data());
    }
    void* data() { return bytes.data(); }
    ParamHeader& header() { return *reinterpret_cast<ParamHeader*>(bytes.data()); }
    template <typename T> T& as() { return *reinterpret_cast<T*>(bytes.data()); }
    const PresetType& type;
    std::vector<std::max_align_t> bytes;
};

class PresetLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("vtg_presets_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "profile");
        if (const char* old = std::getenv("USERPROFILE"))
            oldProfile_ = old;
        ::setenv("USERPROFILE", (root_ / "profile").c_str(), 1);
        host_.user().setEcho(false);
        ASSERT_EQ(Acquire(kUserSuiteName, kUserSuiteVersion, sUser), kNoErr);
        ASSERT_EQ(Acquire(kFoldersSuiteName, kFoldersSuiteVersion, sFolders), kNoErr);
        folder_ = (root_ / "profile").string() + "/" + kPresetFolderName + "/";
        fs::create_directories(folder_);
        CurrentPresetFolder().folder = folder_;
    }
    void TearDown() override {
        platform::SetFileWriteFault(nullptr);
        sUser = nullptr;
        sFolders = nullptr;
        if (oldProfile_)
            ::setenv("USERPROFILE", oldProfile_->c_str(), 1);
        else
            ::unsetenv("USERPROFILE");
        fs::remove_all(root_);
    }
    template <typename T> ErrorCode Acquire(const char* name, int32_t version, const T*& slot) {
        return host_.broker().acquire(name, version, reinterpret_cast<const void**>(&slot));
    }

    // A Circle file with Default, Last and the named user presets.
    std::string MakeFile(Block& b, const std::vector<std::string>& names) {
        EXPECT_EQ(CreatePresetFile(b.data()), kNoErr);
        for (const std::string& n : names) {
            host_.user().queue({Answer::Kind::Text, n});
            EXPECT_EQ(AddPreset(b.data(), 0), kNoErr) << n;
        }
        return PresetFilePath(b.data());
    }
    std::vector<std::string> Names(Block& b) {
        std::vector<std::string> names;
        EXPECT_EQ(ListPresetNames(b.data(), names), kNoErr);
        return names;
    }
    std::string LastAlert() { return host_.user().lastAlert().value_or(""); }
    // The names in the preset folder, sorted.
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    hostapp::Host host_;
    fs::path root_;
    std::string folder_;
    std::optional<std::string> oldProfile_;
};

TEST_F(PresetLibraryTest, CreateLoadSaveAndBom) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {});
    std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.rfind(std::string(kPresetHeader) + "\tVERTiGON4_PST_Circle.txt\r\n$\t"
                                                       "Default Setting\r\n",
                          0),
              0u)
        << "no byte-order mark";
    b.as<CirclePGParams>().copies = 77;
    ASSERT_EQ(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_STREQ(b.header().presetName, "Last Setting");
    Block back(kCircleType);
    ASSERT_EQ(LoadPresetRecord(back.data(), kRecordLast), kNoErr);
    EXPECT_EQ(back.as<CirclePGParams>().copies, 77);
    ASSERT_EQ(LoadPresetRecord(back.data(), kRecordDefault), kNoErr);
    EXPECT_EQ(back.as<CirclePGParams>().copies, 12);
    EXPECT_EQ(CreatePresetFile(b.data()), kFileError) << "an existing file is never recreated";

    // A byte-order mark is accepted and kept by a rewrite.
    WriteFile(path, "\xEF\xBB\xBF" + ReadFile(path));
    b.as<CirclePGParams>().copies = 5;
    ASSERT_EQ(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_EQ(ReadFile(path).rfind("\xEF\xBB\xBF<VERTiGON6", 0), 0u);
    ASSERT_EQ(LoadPresetRecord(back.data(), kRecordLast), kNoErr);
    EXPECT_EQ(back.as<CirclePGParams>().copies, 5);
    EXPECT_EQ(LoadPresetRecord(back.data(), 0), kEndOfFile);

    // Saving the same settings again leaves the file untouched.
    const auto old = fs::last_write_time(path) - std::chrono::hours(1);
    fs::last_write_time(path, old);
    ASSERT_EQ(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_EQ(fs::last_write_time(path), old);
}

TEST_F(PresetLibraryTest, AddUpdateDeleteMoveWithTheirMessages) {
    Block b(kCircleType);
    host_.user().queue({Answer::Kind::Text, "alpha"});
    ASSERT_EQ(CreatePresetFile(b.data()), kNoErr);
    std::string name;
    ASSERT_EQ(AddPreset(b.data(), 0, &name), kNoErr);
    EXPECT_EQ(name, "alpha");
    EXPECT_EQ(LastAlert(), "現在の設定を次の名前で保存します。\n名前：");
    // No answer queued: the proposed name is taken.
    ASSERT_EQ(AddPreset(b.data(), 1, &name), kNoErr);
    EXPECT_EQ(name, "Preset #2");
    host_.user().queue({Answer::Kind::Cancel, {}});
    EXPECT_EQ(AddPreset(b.data(), 2), FourCC("Cncl"));
    for (const char* n : {"P2", "P3"}) {
        host_.user().queue({Answer::Kind::Text, n});
        ASSERT_EQ(AddPreset(b.data(), 2), kNoErr);
    }
    EXPECT_EQ(Names(b), (std::vector<std::string>{"alpha", "Preset #2", "P2", "P3"}));

    host_.user().queue({Answer::Kind::Text, "renamed"});
    b.as<CirclePGParams>().copies = 33;
    ASSERT_EQ(UpdatePreset(b.data(), 1), kNoErr);
    EXPECT_EQ(LastAlert(), "選択中のプリセットを、次の名前と現在の設定で更新します。\n名前：");
    Block back(kCircleType);
    ASSERT_EQ(LoadPresetRecord(back.data(), 1), kNoErr);
    EXPECT_EQ(back.as<CirclePGParams>().copies, 33);

    ASSERT_EQ(MovePreset(b.data(), 0, 2), kNoErr);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"renamed", "P2", "alpha", "P3"}));
    ASSERT_EQ(MovePreset(b.data(), 3, 1), kNoErr);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"renamed", "P3", "P2", "alpha"}));

    host_.user().queue({Answer::Kind::No, {}});
    EXPECT_EQ(DeletePresets(b.data(), {0}), FourCC("Cncl"));
    EXPECT_EQ(LastAlert(), "選択されているプリセットを削除します。（復元できません！）");
    host_.user().queue({Answer::Kind::Yes, {}});
    ASSERT_EQ(DeletePresets(b.data(), {-2, -1, 0, 2}), kNoErr);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"P3", "alpha"}));
    EXPECT_EQ(LoadPresetRecord(back.data(), kRecordDefault), kNoErr) << "Default kept";
    EXPECT_EQ(LoadPresetRecord(back.data(), kRecordLast), kNoErr) << "Last kept";
}

TEST_F(PresetLibraryTest, NamesWithControlCharactersAreStoredWithBlanks) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {"one", "two", "a\tb", "x\r\ny", "p$\tq"});
    EXPECT_EQ(Names(b), (std::vector<std::string>{"one", "two", "a b", "x  y", "p$ q"}));
    b.as<CirclePGParams>().copies = 2;
    for (int n = 0; n < 5; ++n) {
        Block back(kCircleType);
        EXPECT_EQ(LoadPresetRecord(back.data(), n), kNoErr);
    }
    host_.user().queue({Answer::Kind::Yes, {}});
    ASSERT_EQ(DeletePresets(b.data(), {3}), kNoErr);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"one", "two", "a b", "p$ q"}));

    // A 300-byte name is cut to at most 255 bytes on a character boundary.
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "名";
    std::string stored = StoredPresetName(longName);
    EXPECT_LE(stored.size(), 255u);
    EXPECT_EQ(stored.size(), 255u);
    EXPECT_TRUE(IsValidUtf8(stored));
    stored = StoredPresetName(std::string(254, 'a') + "名");
    EXPECT_EQ(stored, std::string(254, 'a'));
}

TEST_F(PresetLibraryTest, SavingIntoAMissingRecordFailsAndChangesNothing) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {"a", "b", "c"});
    std::string before = ReadFile(path);
    EXPECT_EQ(SaveLastSetting(b.data(), 5), kEndOfFile);
    EXPECT_EQ(ReadFile(path), before);
    // A file with only "Default Setting".
    std::string onlyDefault = before.substr(0, before.find("$\tLast Setting"));
    WriteFile(path, onlyDefault);
    EXPECT_EQ(SaveLastSetting(b.data(), kRecordLast), kEndOfFile);
    EXPECT_EQ(ReadFile(path), onlyDefault);
    EXPECT_FALSE(fs::exists(path + "Tm"));
}

TEST_F(PresetLibraryTest, AnInterruptedRewriteLeavesTheOriginal) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {"a", "b"});
    std::string before = ReadFile(path);
    platform::SetFileWriteFault(
        [](const char* step) { return std::string_view(step) == "rename" ? EIO : 0; });
    b.as<CirclePGParams>().copies = 99;
    EXPECT_EQ(SaveLastSetting(b.data(), kRecordLast), kFileError);
    host_.user().queue({Answer::Kind::Yes, {}});
    EXPECT_EQ(DeletePresets(b.data(), {0}), kFileError);
    EXPECT_EQ(LastAlert().rfind("プリセットファイルが見つからないか壊れている", 0), 0u);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"VERTiGON4_PST_Circle.txt"});
}

// A rewrite keeps the file's mode, goes through a symbolic link to its
// target, refuses a read-only file (leaving it whole) and clears the
// temporary files a killed process left: this program's pattern and the
// "Tm" name of earlier versions.
TEST_F(PresetLibraryTest, RewritesKeepModeFollowLinksRefuseReadOnlyAndClearStaleTemporaries) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {"a"});
    ::chmod(path.c_str(), 0640);
    WriteFile(path + "Tm", "half");
    WriteFile(folder_ + ".VERTiGON4_PST_Circle.txt.vtg-99999999-q1w2e3", "half");
    b.as<CirclePGParams>().copies = 7;
    EXPECT_EQ(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"VERTiGON4_PST_Circle.txt"});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Read-only: refused, the file as it was.
    ::chmod(path.c_str(), 0444);
    const std::string before = ReadFile(path);
    b.as<CirclePGParams>().copies = 9;
    EXPECT_EQ(SaveLastSetting(b.data(), kRecordLast), kFileError);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"VERTiGON4_PST_Circle.txt"});

    // Through a link: the target is rewritten, the link stays.
    ::chmod(path.c_str(), 0644);
    fs::create_directories(root_ / "elsewhere");
    const fs::path target = root_ / "elsewhere" / "circle.txt";
    fs::rename(path, target);
    fs::create_symlink(target, path);
    EXPECT_EQ(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_NE(ReadFile(target.string()), before);
    EXPECT_EQ(ReadFile(path), ReadFile(target.string()));
}

TEST_F(PresetLibraryTest, ThreeDPathSaveOfAnotherVariantFailsAndKeepsThePresets) {
    Block b(k3DPathType);
    std::string path = MakeFile(b, {"first", "second"});
    std::string before = ReadFile(path);
    b.as<_3DTFilterParams>().variant = 8; // header still names the Rotate file
    EXPECT_NE(SaveLastSetting(b.data(), kRecordLast), kNoErr);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"first", "second"}));
}

TEST_F(PresetLibraryTest, ADamagedOrUnreadableFileIsNeverOverwritten) {
    const PresetType* types[] = {&kFractalizeType, &kCircleType, &kRoughToolType, &kPrefsType};
    enum Case { Missing, DamagedHeader, OnlyDefault, Unreadable };
    platform::SetTickSource([] { return 4242u; }); // default seeds alike
    for (const PresetType* type : types) {
        for (Case c : {Missing, DamagedHeader, OnlyDefault, Unreadable}) {
            SCOPED_TRACE(std::string(type->feature) + " case " + std::to_string(c));
            Block b(*type);
            std::string path = PresetFilePath(b.data());
            fs::remove_all(path);
            std::string before;
            if (c == DamagedHeader)
                before = "<SOMETHING ELSE>\tx\r\n$\tDefault Setting\r\n$\tLast Setting\r\n";
            if (c == OnlyDefault)
                before = std::string(kPresetHeader) + "\tx\r\n$\tDefault Setting\r\nA\t1\r\n";
            if (!before.empty())
                WriteFile(path, before);
            if (c == Unreadable)
                fs::create_directories(path); // exists, but cannot be opened as a file
            // Non-default values in the block: the defaults must come back.
            std::memset(static_cast<char*>(b.data()) + sizeof(ParamHeader), 0x11,
                        type->blockSize - sizeof(ParamHeader));
            Block other(*type);
            ASSERT_EQ(LoadLastSettingOrDefaults(b.data()), kNoErr);
            std::string wrote;
            WritePresetRecord(wrote, b.data(), false);
            std::string expected;
            WritePresetRecord(expected, other.data(), false);
            EXPECT_EQ(wrote, expected);
            if (c == Missing)
                EXPECT_EQ(CheckPresetHeader(path), kNoErr) << "created";
            else if (c == Unreadable)
                EXPECT_TRUE(fs::is_directory(path));
            else
                EXPECT_EQ(ReadFile(path), before) << "left byte for byte";
            // A later save fails through the header check and writes nothing.
            if (c != Missing) {
                EXPECT_NE(SaveLastSetting(b.data(), kRecordLast), kNoErr);
                if (c != Unreadable) {
                    EXPECT_EQ(ReadFile(path), before);
                }
            }
            fs::remove_all(path);
        }
    }
    platform::SetTickSource({});
}

TEST_F(PresetLibraryTest, ImportAndExport) {
    Block b(kCircleType);
    MakeFile(b, {"mine"});
    // Another preset folder with three presets.
    std::string other = (root_ / "other").string() + "/";
    fs::create_directories(other);
    {
        std::string saved = CurrentPresetFolder().folder;
        CurrentPresetFolder().folder = other;
        Block o(kCircleType);
        MakeFile(o, {"x", "y", "z"});
        CurrentPresetFolder().folder = saved;
    }
    host_.user().queue({Answer::Kind::Folder, other});
    std::vector<std::string> offered;
    ASSERT_EQ(ImportPresets(b.data(),
                            [&](const std::vector<std::string>& names, std::vector<int>& picked) {
                                offered = names;
                                picked = {2, 0};
                                return kNoErr;
                            }),
              kNoErr);
    EXPECT_EQ(LastAlert(), "インポート元の 'VERTiGON6 User Settings 2013' または 'VERTiGON6 User "
                           "Settings' フォルダを選択してください。");
    EXPECT_EQ(offered, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(Names(b), (std::vector<std::string>{"mine", "x", "z"}));

    // From the current file: "spSt"; from a folder without the file: "!imP".
    host_.user().queue({Answer::Kind::Folder, folder_});
    EXPECT_EQ(ImportPresets(b.data(), {}), FourCC("spSt"));
    host_.user().queue({Answer::Kind::Folder, root_.string()});
    EXPECT_EQ(ImportPresets(b.data(), {}), FourCC("!imP"));
    EXPECT_EQ(LastAlert(), "インポート元としてプリセットファイル VERTiGON4_PST_Circle.txt "
                           "を含むフォルダ（ VERTiGON6 User Settings など）を選択してください。");
    // The chooser cancelled: silent.
    std::size_t alerts = host_.user().alerts().size();
    EXPECT_EQ(ImportPresets(b.data(), {}), FourCC("!sGf"));
    EXPECT_EQ(host_.user().alerts().size(), alerts + 1) << "only the prompt";

    host_.user().queue({Answer::Kind::Folder, other});
    ASSERT_EQ(ExportPresets(b.data(), {0, 7, 2}), kNoErr);
    EXPECT_EQ(LastAlert(),
              "エクスポート先の 'VERTiGON6 User Settings 2013' フォルダを選択してください。");
    std::vector<std::string> names;
    ASSERT_EQ(ListPresetNames(other + "VERTiGON4_PST_Circle.txt", names), kNoErr);
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "z", "mine", "z"}));
    host_.user().queue({Answer::Kind::Folder, folder_});
    EXPECT_EQ(ExportPresets(b.data(), {0}), FourCC("spSt"));
    host_.user().queue({Answer::Kind::Folder, root_.string()});
    ExportPresets(b.data(), {0});
    EXPECT_EQ(LastAlert(), "エクスポート先としてプリセットファイル VERTiGON4_PST_Circle.txt "
                           "を含むフォルダ（ VERTiGON6 User Settings など）を選択してください。");
}

TEST_F(PresetLibraryTest, OnePresetMaximumForAddImportAndExport) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {});
    std::string record;
    SetHeaderText(b.header().presetName, "p");
    WritePresetRecord(record, b.data(), true);
    std::string full = ReadFile(path);
    for (int i = 0; i < kMaxUserPresets; ++i)
        full += record;
    WriteFile(path, full);
    EXPECT_EQ(Names(b).size(), static_cast<std::size_t>(kMaxUserPresets));
    EXPECT_EQ(AddPreset(b.data(), kMaxUserPresets), kFileError);
    EXPECT_EQ(LastAlert(), "これ以上プリセットを追加できません。");
    EXPECT_EQ(ImportPresets(b.data(), {}), kFileError);
    EXPECT_EQ(LastAlert(), "これ以上プリセットを追加できません。");
    EXPECT_EQ(ReadFile(path), full);

    // Export 5 presets into a destination with 3 free slots.
    std::string dest = (root_ / "dest").string() + "/";
    fs::create_directories(dest);
    std::string destBytes =
        std::string(kPresetHeader) + "\tVERTiGON4_PST_Circle.txt\r\n" + record + record;
    for (int i = 0; i < kMaxUserPresets - 3; ++i)
        destBytes += record;
    WriteFile(dest + "VERTiGON4_PST_Circle.txt", destBytes);
    host_.user().queue({Answer::Kind::Folder, dest});
    EXPECT_EQ(ExportPresets(b.data(), {0, 1, 2, 3, 4}), kNoErr);
    EXPECT_EQ(LastAlert(),
              "プリセット数が限界を超えますので一部またはすべてインポートできません。");
    std::vector<std::string> names;
    ListPresetNames(dest + "VERTiGON4_PST_Circle.txt", names);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kMaxUserPresets));
    EXPECT_EQ(ReadFile(dest + "VERTiGON4_PST_Circle.txt").size(),
              destBytes.size() + 3 * record.size());
}

TEST_F(PresetLibraryTest, ImportOverTheLimitTakesTheFirstThatFit) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {});
    std::string record;
    SetHeaderText(b.header().presetName, "p");
    WritePresetRecord(record, b.data(), true);
    std::string full = ReadFile(path);
    for (int i = 0; i < kMaxUserPresets - 3; ++i)
        full += record;
    WriteFile(path, full);
    std::string other = (root_ / "other").string() + "/";
    fs::create_directories(other);
    CurrentPresetFolder().folder = other;
    Block o(kCircleType);
    MakeFile(o, {"a", "b", "c", "d", "e"});
    CurrentPresetFolder().folder = folder_;
    host_.user().queue({Answer::Kind::Folder, other});
    int shown = 0;
    ASSERT_EQ(ImportPresets(b.data(),
                            [](const std::vector<std::string>&, std::vector<int>& picked) {
                                picked = {0, 1, 2, 3, 4};
                                return kNoErr;
                            }),
              kNoErr);
    for (const std::string& a : host_.user().alerts())
        shown += a == "プリセット数が限界を超えますので一部またはすべてインポートできません。";
    EXPECT_EQ(shown, 1);
    std::vector<std::string> names = Names(b);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kMaxUserPresets));
    EXPECT_EQ(names[kMaxUserPresets - 3], "a");
    EXPECT_EQ(names[kMaxUserPresets - 1], "c");
}

TEST_F(PresetLibraryTest, OversizeRecordsAreRefused) {
    Block b(kCircleType);
    std::string path = MakeFile(b, {"a"});
    std::string bytes = ReadFile(path) + "$\tbig\r\n" + std::string(40 * 1024, 'x') + "\r\n";
    WriteFile(path, bytes);
    std::string record;
    EXPECT_EQ(ReadPresetFileRecord(path, record, 1), kFileError);
    EXPECT_TRUE(record.empty());
    EXPECT_EQ(ReadPresetFileRecord(path, record, 0), kNoErr);
    EXPECT_EQ(ReadPresetFileRecord(path, record, 2), kEndOfFile);
}

TEST_F(PresetLibraryTest, FirstUseSeedsFromTheShippedDefaults) {
    fs::path plugin = root_ / "plugin";
    ASSERT_EQ(WriteDefaultSettingsFolder(plugin.string() + "/" + kDefaultSettingsFolderName + "/"),
              kNoErr);
    host_.plugin()->path = (plugin / "vertigon_plugin.so").string();
    fs::remove_all(folder_);
    CurrentPresetFolder().folder.clear();
    ASSERT_EQ(PreparePresetFolder(host_.plugin()), kNoErr);
    EXPECT_EQ(CurrentPresetFolder().folder, folder_);
    for (const char* file : kPresetFiles) {
        EXPECT_EQ(CheckPresetHeader(folder_ + file), kNoErr) << file;
        EXPECT_EQ(ReadFile(folder_ + file),
                  ReadFile(plugin.string() + "/" + kDefaultSettingsFolderName + "/" + file));
    }
    Block b(kTrailType);
    EXPECT_EQ(LoadPresetRecord(b.data(), kRecordLast), kNoErr);
    // A file with user presets is kept on the next start; a broken one is
    // repaired from the shipped copy.
    host_.user().queue({Answer::Kind::Text, "keep"});
    ASSERT_EQ(AddPreset(b.data(), 0), kNoErr);
    WriteFile(folder_ + "VERTiGON4_PST_Neon.txt", "garbage");
    ASSERT_EQ(PreparePresetFolder(host_.plugin()), kNoErr);
    EXPECT_EQ(Names(b), (std::vector<std::string>{"keep"}));
    EXPECT_EQ(CheckPresetHeader(folder_ + "VERTiGON4_PST_Neon.txt"), kNoErr);
}

TEST_F(PresetLibraryTest, PreviousVersionPresetsAreOfferedAndCopiedWhole) {
    fs::path plugin = root_ / "plugin";
    ASSERT_EQ(WriteDefaultSettingsFolder(plugin.string() + "/" + kDefaultSettingsFolderName + "/"),
              kNoErr);
    host_.plugin()->path = (plugin / "vertigon_plugin.so").string();
    // A previous-version Border file of about 1 MB of valid records.
    std::string previous = (root_ / "profile").string() + "/" + kPreviousPresetFolderName + "/";
    fs::create_directories(previous);
    Block b(kBorderType);
    std::string record;
    SetHeaderText(b.header().presetName, "old");
    WritePresetRecord(record, b.data(), true);
    std::string big = std::string(kPresetHeader) + "\tVERTiGON4_PST_Border.txt\r\n";
    while (big.size() < 1024 * 1024)
        big += record;
    WriteFile(previous + kBorderPresetFile, big);
    fs::remove_all(folder_);
    host_.user().queue({Answer::Kind::Yes, {}});
    ASSERT_EQ(PreparePresetFolder(host_.plugin()), kNoErr);
    EXPECT_EQ(ReadFile(folder_ + kBorderPresetFile), big) << "byte-identical copy";
    const auto& alerts = host_.user().alerts();
    ASSERT_GE(alerts.size(), 2u);
    EXPECT_EQ(
        alerts[alerts.size() - 2],
        "前バージョン VERTiGON5 のプリセット（ユーザ設定）を継続使用しますか？。\n［VERTiGON6］");
    EXPECT_EQ(alerts.back().rfind("前バージョンのプリセットフォルダ「VERTiGON5 User Settings」", 0),
              0u);
    EXPECT_EQ(CheckPresetHeader(folder_ + "VERTiGON4_PST_Circle.txt"), kNoErr)
        << "the rest from the shipped defaults";
}

TEST_F(PresetLibraryTest, LongAndMissingProfileFolders) {
    // 120 Japanese characters (two folders of 60): 360 bytes of UTF-8
    // before the folder name.
    std::string deep;
    for (int i = 0; i < 60; ++i)
        deep += "深";
    fs::path profile = root_ / deep / deep;
    fs::create_directories(profile);
    ::setenv("USERPROFILE", profile.c_str(), 1);
    std::string path;
    int flag = 1;
    ASSERT_EQ(LocatePresetFolder(kPresetFolderName, path, flag), kNoErr);
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_TRUE(IsValidUtf8(path));
    CurrentPresetFolder().folder = path;
    Block b(kCircleType);
    EXPECT_EQ(CreatePresetFile(b.data()), kNoErr);
    EXPECT_EQ(LoadPresetRecord(b.data(), kRecordLast), kNoErr);

    // A chosen folder 290 bytes deep works for export.
    std::string chosen = root_.string();
    while (chosen.size() < 290)
        chosen += "/abcdefghij";
    fs::create_directories(chosen);
    CurrentPresetFolder().folder = chosen + "/";
    Block o(kCircleType);
    MakeFile(o, {});
    CurrentPresetFolder().folder = path;
    host_.user().queue({Answer::Kind::Text, "e"});
    ASSERT_EQ(AddPreset(b.data(), 0), kNoErr);
    host_.user().queue({Answer::Kind::Folder, chosen});
    EXPECT_EQ(ExportPresets(b.data(), {0}), kNoErr);

    // A profile "folder" that is a file: the folder cannot be created.
    WriteFile((root_ / "plainfile").string(), "x");
    ::setenv("USERPROFILE", (root_ / "plainfile").c_str(), 1);
    flag = 1;
    EXPECT_EQ(LocatePresetFolder(kPresetFolderName, path, flag), kFileError);
    EXPECT_EQ(LastAlert().rfind("VERTiGON6は " + (root_ / "plainfile").string() +
                                    "/VERTiGON6 User Settings/ にプリセット・フォルダを作成する"
                                    "ことができませんでした。\n[errno:",
                                0),
              0u)
        << LastAlert();

    ::unsetenv("USERPROFILE");
    const char* home = std::getenv("HOME");
    std::string savedHome = home != nullptr ? home : "";
    ::unsetenv("HOME");
    flag = 0;
    EXPECT_EQ(LocatePresetFolder(kPresetFolderName, path, flag), kFileError);
    EXPECT_EQ(LastAlert(), "Preset Folder Error: not such environment variable");
    ::setenv("HOME", (root_ / "profile").c_str(), 1);
    ASSERT_EQ(LocatePresetFolder(kPresetFolderName, path, flag), kNoErr);
    EXPECT_EQ(path, folder_);
    if (home != nullptr)
        ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
} // namespace vtg

namespace vtg {
namespace {

TEST_F(PresetLibraryTest, OlderFilesAreReadNeverExported) {
    Block b(kCircleType);
    std::string path = PresetFilePath(b.data());
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "名"; // 600 bytes
    WriteFile(path, std::string(kOlderPresetHeader) +
                        "\r\n$\tDefault Setting\r\nA\t3\r\n$\tLast "
                        "Setting\r\nA\t4\r\n$\t" +
                        longName + "\r\nA\t5\r\n");
    EXPECT_EQ(CheckPresetHeader(path), kNoErr);
    EXPECT_EQ(CurrentPresetFolder().headerVersion, kHeaderVersionOlder);
    std::vector<std::string> names = Names(b);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].size(), 510u);
    EXPECT_TRUE(IsValidUtf8(names[0]));
    ASSERT_EQ(LoadPresetRecord(b.data(), 0), kNoErr);
    EXPECT_EQ(b.as<CirclePGParams>().copies, 5);
    EXPECT_EQ(ExportPresets(b.data(), {0}), FourCC("!tgt"));
    EXPECT_EQ(LastAlert(), "その他のエラーです。\n!tgt");
}

} // namespace
} // namespace vtg

namespace vtg {
namespace {

TEST_F(PresetLibraryTest, NothingIsWrittenBeforeTheFolderIsLocated) {
    CurrentPresetFolder().folder.clear();
    Block b(kCircleType);
    b.as<CirclePGParams>().copies = 3;
    EXPECT_EQ(LoadLastSettingOrDefaults(b.data()), kFileError);
    EXPECT_EQ(b.as<CirclePGParams>().copies, 12) << "the defaults";
    EXPECT_FALSE(fs::exists("VERTiGON4_PST_Circle.txt"));
    EXPECT_FALSE(fs::exists("VERTiGON4_PST_Circle.txtTm"));
    std::string path;
    int flag = 0;
    ASSERT_EQ(LocatePresetFolder(kPresetFolderName, path, flag), kNoErr);
    EXPECT_EQ(CurrentPresetFolder().folder, folder_);
}

} // namespace
} // namespace vtg
