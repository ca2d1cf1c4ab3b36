#include "params/preset_library.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "core/text_util.hpp"
#include "params/live_params.hpp"
#include "params/preset_text.hpp"
#include "platform/file_lock.hpp"
#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace vtg {

const char* const kPresetHeader = "<VERTiGON6 v6.0 Preset Settings>";
const char* const kOlderPresetHeader =
    "<VERTiGON4 v4.2 Produced by QUORLOW SOFTWARE DEVELOPMENT Corp. (C)2007>";

const char* const kPresetFiles[37] = {
    "VERTiGON4_PST_Fractalize.txt",  "VERTiGON5_PST_WarpEffect.txt", "VERTiGON5_PST_WaveEffect.txt",
    "VERTiGON5_PST_LensEffect.txt",  "VERTiGON4_PST_WarpTool.txt",   "VERTiGON4_PST_WaveTool.txt",
    "VERTiGON4_PST_LensTool.txt",    "VERTiGON4_PST_CraftTool.txt",  "VERTiGON4_PST_RoughTool.txt",
    "VERTiGON4_PST_BroomTool.txt",   "VERTiGON4_PST_TrailTool.txt",  "VERTiGON4_PST_3DRotate.txt",
    "VERTiGON4_PST_3DTwist.txt",     "VERTiGON4_PST_3DArc.txt",      "VERTiGON4_PST_3DScrew.txt",
    "VERTiGON4_PST_3DTwirl.txt",     "VERTiGON4_PST_3DWaveHV.txt",   "VERTiGON4_PST_3DWaveZ.txt",
    "VERTiGON4_PST_3DWaveR.txt",     "VERTiGON4_PST_3DSphere.txt",   "VERTiGON4_PST_3DTorus.txt",
    "VERTiGON4_PST_3DSpiral.txt",    "VERTiGON4_PST_3DCylinder.txt", "VERTiGON4_PST_Border.txt",
    "VERTiGON4_PST_Circle.txt",      "VERTiGON4_PST_Cutout.txt",     "VERTiGON4_PST_Emboss.txt",
    "VERTiGON4_PST_Explosion.txt",   "VERTiGON4_PST_Frame.txt",      "VERTiGON4_PST_Galaxy.txt",
    "VERTiGON4_PST_Generation.txt",  "VERTiGON5_PST_SymbolPath.txt", "VERTiGON4_PST_Neon.txt",
    "VERTiGON4_PST_Reflections.txt", "VERTiGON4_PST_Shadow.txt",     "VERTiGON4_PST_Tiling.txt",
    "VERTiGON4_PST_Trail.txt",
};

namespace {

namespace fs = std::filesystem;

constexpr ErrorCode kFileError = -1;
constexpr ErrorCode kImportNotFound = FourCC("!imP");
constexpr ErrorCode kSameFile = FourCC("spSt");
constexpr ErrorCode kChooserCancelled = FourCC("!sGf");
constexpr ErrorCode kOlderExport = FourCC("!tgt");

constexpr const char* kDefaultRecordName = "Default Setting";
constexpr const char* kLastRecordName = "Last Setting";

constexpr const char* kBrokenFileMessage =
    "プリセットファイルが見つからないか壊れている可能性があります。ホストアプリケーションを再起動"
    "するとプリセットファイルを初期化できます。\n解決しなければヘルプの「プリセットファイル」のペー"
    "ジをお読みください。［VERTiGON6］";
constexpr const char* kNoMorePresetsMessage = "これ以上プリセットを追加できません。";
constexpr const char* kImportOverLimitMessage =
    "プリセット数が限界を超えますので一部またはすべてインポートできません。";
constexpr const char* kWrongImportFolderMessage =
    "インポート元としてプリセットファイル %s を含むフォルダ（ %s など）を選択してください。";
constexpr const char* kWrongExportFolderMessage =
    "エクスポート先としてプリセットファイル %s を含むフォルダ（ %s など）を選択してください。";
constexpr const char* kImportPrompt = "インポート元の 'VERTiGON6 User Settings 2013' または "
                                      "'VERTiGON6 User Settings' フォルダを選択してください。";
constexpr const char* kExportPrompt =
    "エクスポート先の 'VERTiGON6 User Settings 2013' フォルダを選択してください。";
constexpr const char* kAddMessage = "現在の設定を次の名前で保存します。";
constexpr const char* kUpdateMessage = "選択中のプリセットを、次の名前と現在の設定で更新します。";
constexpr const char* kNameLabel = "名前：";
constexpr const char* kDeleteMessage = "選択されているプリセットを削除します。（復元できません！）";
constexpr const char* kFolderReadError = "Preset Folder Error: read error";
constexpr const char* kFolderNoVariable = "Preset Folder Error: not such environment variable";
constexpr const char* kFolderCreateError =
    "VERTiGON6は %s にプリセット・フォルダを作成することができませんでした。\n[errno:%d]";
constexpr const char* kPreviousQuestion =
    "前バージョン VERTiGON5 のプリセット（ユーザ設定）を継続使用しますか？。\n［VERTiGON6］";
constexpr const char* kPreviousInformation =
    "前バージョンのプリセットフォルダ「VERTiGON5 User Settings」のファイルを、ホームディレクトリの "
    "VERTiGON6 のプリセットフォルダ「VERTiGON6 User Settings」へ複製しました。\n前バージョンのもの"
    "は残っていますがこのバージョンでは使用されません。\n［VERTiGON6］";

constexpr std::size_t kCopyChunkBytes = 327680; // the whole-file copy block
constexpr std::size_t kOlderNameBytes = 510;
constexpr std::size_t kNameSlotBytes = 1530;
constexpr std::size_t kChosenPathBytes = 4096;
constexpr std::size_t kPromptBytes = 1024;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// --- messages ------------------------------------------------------------------

void Show(const std::string& text) {
    if (sUser != nullptr)
        sUser->ErrorAlert(text.c_str());
}

std::string Format2(const char* format, std::string_view a, std::string_view b) {
    std::string out;
    std::string_view f(format);
    std::size_t first = f.find("%s");
    std::size_t second = f.find("%s", first + 2);
    out.append(f.substr(0, first));
    out.append(a);
    out.append(f.substr(first + 2, second - first - 2));
    out.append(b);
    out.append(f.substr(second + 2));
    return out;
}

void ShowBrokenFile() {
    Show(kBrokenFileMessage);
}

// --- bytes on disk ---------------------------------------------------------------

fs::path FsPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(FsPath(path), ec);
}

// Reads a whole file in chunks, with no size limit.
ErrorCode ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    std::error_code ec;
    if (fs::is_directory(FsPath(path), ec))
        return kCannotOpen;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return kCannotOpen;
    std::unique_ptr<char[]> chunk(new char[kCopyChunkBytes]);
    ErrorCode err = kNoErr;
    for (;;) {
        std::size_t n = std::fread(chunk.get(), 1, kCopyChunkBytes, file);
        out.append(chunk.get(), n);
        if (n < kCopyChunkBytes) {
            if (std::ferror(file))
                err = kFileError;
            break;
        }
    }
    std::fclose(file);
    return err;
}

// Rewrites a preset file with the system's crash-safe writer; on any
// failure `path` is left as it was. The "Tm" file an earlier version used as
// its temporary name is cleared first.
ErrorCode ReplaceFile(const std::string& path, std::string_view bytes) {
    std::remove((path + "Tm").c_str());
    const std::string error = platform::WriteWholeFile(path, bytes);
    if (error.empty())
        return kNoErr;
    // Callers answer with a code (and an alert where there is a user to
    // see it); the system's reason goes to the program's warnings.
    platform::NoteUnreportedWriteFailure(error);
    return kFileError;
}

// The header version of a file's first bytes, or 0 for a foreign header.
int HeaderVersion(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    if (bytes.starts_with(kPresetHeader))
        return kHeaderVersionCurrent;
    if (bytes.starts_with(kOlderPresetHeader))
        return kHeaderVersionOlder;
    return 0;
}

// A preset file split at every "$" TAB pair: the bytes before the first
// record (byte-order mark and header line) and the records.
struct FileImage {
    std::string prefix;
    std::vector<std::string> records;
    int version = 0;

    int userCount() const { return std::max(0, static_cast<int>(records.size()) - 2); }
    std::string bytes() const {
        std::string out = prefix;
        for (const std::string& r : records)
            out += r;
        return out;
    }
};

void SplitRecords(std::string_view bytes, FileImage& image) {
    image.records.clear();
    std::size_t start = bytes.find("$\t");
    image.prefix =
        std::string(bytes.substr(0, start == std::string_view::npos ? bytes.size() : start));
    while (start != std::string_view::npos) {
        std::size_t next = bytes.find("$\t", start + 2);
        std::size_t end = next == std::string_view::npos ? bytes.size() : next;
        image.records.emplace_back(bytes.substr(start, end - start));
        start = next;
    }
}

ErrorCode LoadImage(const std::string& path, FileImage& image) {
    std::string bytes;
    ErrorCode err = ReadWholeFile(path, bytes);
    if (err != kNoErr)
        return err;
    image.version = HeaderVersion(bytes);
    if (image.version == 0)
        return kFileError;
    CurrentPresetFolder().headerVersion = image.version;
    SplitRecords(bytes, image);
    return kNoErr;
}

std::string RecordName(std::string_view record) {
    std::string_view name = record.substr(std::min<std::size_t>(2, record.size()));
    std::size_t end = name.find_first_of("\r\n");
    if (end != std::string_view::npos)
        name = name.substr(0, end);
    return std::string(name);
}

// Older files hold names and records in the platform encoding; on this
// platform that encoding is UTF-8, so only the length is bounded.
std::string CutUtf8(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, Utf8Prefix(text, limit)));
}

const ParamHeader& Header(const void* block) {
    return *static_cast<const ParamHeader*>(block);
}
ParamHeader& Header(void* block) {
    return *static_cast<ParamHeader*>(block);
}

std::string FileName(const void* block) {
    const ParamHeader& h = Header(block);
    return std::string(h.presetFile, strnlen(h.presetFile, kPresetTextSize));
}

std::string HeaderLine(std::string_view fileName) {
    std::string line = kPresetHeader;
    line += '\t';
    line += fileName;
    line += "\r\n";
    return line;
}

// The bytes of a new file for a block: header, "Default Setting", "Last
// Setting". A type without fields gives two empty records.
ErrorCode NewFileBytes(void* block, std::string& bytes) {
    bytes = HeaderLine(FileName(block));
    std::string record;
    for (const char* name : {kDefaultRecordName, kLastRecordName}) {
        SetHeaderText(Header(block).presetName, name);
        WritePresetRecord(record, block, true);
        if (record.empty()) {
            if (FindPresetType(FileName(block)) != nullptr)
                return kFileError; // the block refused its own file
            record = std::string("$\t") + name + "\r\n";
        }
        bytes += record;
    }
    return kNoErr;
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code ec1, ec2;
    fs::path ca = fs::weakly_canonical(FsPath(a), ec1);
    fs::path cb = fs::weakly_canonical(FsPath(b), ec2);
    if (ec1 || ec2)
        return a == b;
    return ca == cb;
}

// The folder chooser: the chosen folder with a trailing '/'.
ErrorCode ChooseFolder(const char* prompt, std::string& folder) {
    if (sUser == nullptr)
        return kChooserCancelled;
    std::unique_ptr<char[]> buffer(new char[kChosenPathBytes]());
    ErrorCode err = sUser->ChooseFolder(prompt, buffer.get(), kChosenPathBytes);
    if (err == kUserStopped)
        return kChooserCancelled;
    if (err == kBufferTooSmallErr)
        return kCannotOpen; // a folder too deep to name is not opened
    if (err != kNoErr)
        return err;
    folder = buffer.get();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return kNoErr;
}

ErrorCode AskName(const char* message, const std::string& proposal, std::string& name) {
    if (sUser == nullptr)
        return kUserCancelled;
    std::string title = std::string(message) + "\n" + kNameLabel;
    std::unique_ptr<char[]> buffer(new char[kPromptBytes]());
    ErrorCode err = sUser->PromptName(title.c_str(), proposal.c_str(), buffer.get(), kPromptBytes);
    if (err == kUserStopped)
        return kUserCancelled;
    if (err != kNoErr && err != kBufferTooSmallErr)
        return err;
    name = StoredPresetName(buffer.get());
    return kNoErr;
}

bool AskYesNo(const char* text) {
    if (sUser == nullptr)
        return false;
    int32_t answer = 0;
    return sUser->YesNoAlert(text, &answer) == kNoErr && answer == 1;
}

// The record text of the block for a preset file, with its name.
ErrorCode BlockRecord(const void* block, std::string& record) {
    WritePresetRecord(record, block, true);
    return record.empty() ? kFileError : kNoErr;
}

// Holds the preset folder's lock from reading a file to renaming its new
// version into place, so that processes changing one file at once each
// start from what the previous one wrote.
platform::FolderLock LockFileFolder(const std::string& path) {
    return platform::FolderLock(platform::FolderOf(path));
}

// Appends records to a preset file through the rewrite path.
ErrorCode AppendRecords(const std::string& path, const std::vector<std::string>& records) {
    platform::FolderLock lock = LockFileFolder(path);
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err != kNoErr)
        return err;
    for (const std::string& r : records)
        image.records.push_back(r);
    return ReplaceFile(path, image.bytes());
}

} // namespace

PresetFolderState& CurrentPresetFolder() {
    static PresetFolderState state;
    return state;
}

ErrorCode ProfileFolder(std::string& out) {
    std::optional<std::string> value = platform::GetEnvironment("USERPROFILE");
    if (!value)
        value = platform::GetEnvironment("HOME");
    if (!value) {
        Show(kFolderNoVariable);
        return kFileError;
    }
    if (value->empty() || !IsValidUtf8(*value)) {
        Show(kFolderReadError);
        return kFileError;
    }
    out = *value;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return kNoErr;
}

std::string StoredPresetName(std::string_view name) {
    std::string out(name.substr(0, Utf8Prefix(name, kMaxPresetNameBytes)));
    // A TAB, CR or LF inside a name would split the file's records and the
    // list of names: every control character becomes a blank.
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return out;
}

ErrorCode CheckPresetHeader(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(FsPath(path), ec))
        return kCannotOpen;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return kCannotOpen;
    char buffer[128];
    std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    int version = HeaderVersion(std::string_view(buffer, n));
    if (version == 0)
        return kFileError;
    CurrentPresetFolder().headerVersion = version;
    return kNoErr;
}

ErrorCode ReadPresetFileRecord(const std::string& path, std::string& out, int n) {
    out.clear();
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err != kNoErr)
        return err;
    if (n < -2)
        return kEndOfFile;
    std::size_t index = static_cast<std::size_t>(n + 2);
    if (index >= image.records.size())
        return kEndOfFile;
    // Records are fields read by key: a cut one could change meaning.
    if (image.records[index].size() > kMaxRecordBytes)
        return kFileError;
    out = image.records[index];
    return kNoErr;
}

ErrorCode ListPresetNames(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err != kNoErr)
        return err;
    std::size_t limit = image.version == kHeaderVersionOlder ? kOlderNameBytes : kNameSlotBytes;
    for (std::size_t i = 2; i < image.records.size() && names.size() < kMaxUserPresets; ++i)
        names.push_back(CutUtf8(RecordName(image.records[i]), limit));
    return kNoErr;
}

ErrorCode ListPresetNames(const void* block, std::vector<std::string>& names) {
    return ListPresetNames(PresetFilePath(block), names);
}

std::string PresetFilePath(const void* block) {
    // No folder located yet: no path, so that nothing lands in the working
    // folder.
    if (CurrentPresetFolder().folder.empty())
        return {};
    return CurrentPresetFolder().folder + FileName(block);
}

ErrorCode LoadPresetRecord(void* block, int n) {
    std::string record;
    ErrorCode err = ReadPresetFileRecord(PresetFilePath(block), record, n);
    if (err != kNoErr)
        return err;
    return ReadPresetRecord(record, block, n) ? kNoErr : kFileError;
}

ErrorCode LoadPresetRecordWithAlert(void* block, int n) {
    ErrorCode err = LoadPresetRecord(block, n);
    if (err != kNoErr)
        ShowBrokenFile();
    return err;
}

ErrorCode SaveLastSetting(void* block, int n) {
    if (n < -2)
        return kFileError;
    if (n == kRecordLast)
        SetHeaderText(Header(block).presetName, kLastRecordName);
    std::string record;
    ErrorCode err = BlockRecord(block, record);
    if (err != kNoErr)
        return err;
    std::string path = PresetFilePath(block);
    platform::FolderLock lock = LockFileFolder(path);
    FileImage image;
    err = LoadImage(path, image);
    if (err != kNoErr)
        return err;
    std::size_t index = static_cast<std::size_t>(n + 2);
    if (index >= image.records.size())
        return kEndOfFile; // the record is gone: nothing is written
    if (image.records[index] == record)
        return kNoErr; // unchanged: the file is not rewritten
    image.records[index] = record;
    return ReplaceFile(path, image.bytes());
}

ErrorCode CreatePresetFile(void* block) {
    std::string path = PresetFilePath(block);
    if (path.empty())
        return kFileError;
    platform::FolderLock lock = LockFileFolder(path);
    if (Exists(path))
        return kFileError;
    std::string bytes;
    ErrorCode err = NewFileBytes(block, bytes);
    if (err != kNoErr)
        return err;
    return ReplaceFile(path, bytes);
}

ErrorCode WritePresetFileInto(const std::string& folder, void* block) {
    if (folder.empty())
        return kFileError;
    std::string bytes;
    ErrorCode err = NewFileBytes(block, bytes);
    if (err != kNoErr)
        return err;
    return ReplaceFile(folder + FileName(block), bytes);
}

ErrorCode LoadLastSettingOrDefaults(void* block) {
    if (LoadPresetRecord(block, kRecordLast) == kNoErr)
        return kNoErr;
    const PresetType* type = FindPresetType(FileName(block));
    if (type == nullptr)
        return kFileError;
    if (type == &k3DPathType) {
        auto& p = *static_cast<_3DTFilterParams*>(block);
        int variant = ThreeDVariantOfFile(FileName(block));
        p.variant = static_cast<int16_t>(variant < 0 ? 0 : variant);
        Set3DVariantDefaults(p, p.variant);
    } else {
        type->setDefaults(block);
    }
    // An existing file that could not be read stays as it is.
    if (PresetFilePath(block).empty())
        return kFileError;
    if (Exists(PresetFilePath(block)))
        return kNoErr;
    return CreatePresetFile(block);
}

// --- user presets ------------------------------------------------------------------

void ShowBrokenPresetFile() {
    ShowBrokenFile();
}

ErrorCode AddPreset(void* block, int count, std::string* newName) {
    std::string path = PresetFilePath(block);
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err != kNoErr) {
        ShowBrokenFile();
        return err;
    }
    if (image.userCount() >= kMaxUserPresets) {
        Show(kNoMorePresetsMessage);
        return kFileError;
    }
    char proposal[32];
    std::snprintf(proposal, sizeof proposal, "Preset #%hd", static_cast<short>(count + 1));
    std::string name;
    err = AskName(kAddMessage, proposal, name);
    if (err != kNoErr)
        return err;
    SetHeaderText(Header(block).presetName, name);
    std::string record;
    err = BlockRecord(block, record);
    if (err == kNoErr)
        err = AppendRecords(path, {record});
    if (err != kNoErr) {
        ShowBrokenFile();
        return err;
    }
    if (newName != nullptr)
        *newName = name;
    return kNoErr;
}

ErrorCode UpdatePreset(void* block, int n) {
    std::vector<std::string> names;
    std::string proposal(Header(block).presetName,
                         strnlen(Header(block).presetName, kPresetTextSize));
    if (ListPresetNames(block, names) == kNoErr && n >= 0 &&
        static_cast<std::size_t>(n) < names.size())
        proposal = names[static_cast<std::size_t>(n)];
    std::string name;
    ErrorCode err = AskName(kUpdateMessage, proposal, name);
    if (err != kNoErr)
        return err;
    SetHeaderText(Header(block).presetName, name);
    err = SaveLastSetting(block, n);
    if (err != kNoErr)
        ShowBrokenFile();
    return err;
}

ErrorCode DeletePresets(void* block, const std::vector<int>& presets) {
    if (!AskYesNo(kDeleteMessage))
        return kUserCancelled;
    std::string path = PresetFilePath(block);
    platform::FolderLock lock = LockFileFolder(path);
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err == kNoErr) {
        std::vector<std::string> kept;
        for (std::size_t i = 0; i < image.records.size(); ++i) {
            int n = static_cast<int>(i) - 2;
            // "Default Setting" and "Last Setting" are always kept.
            bool drop = n >= 0 && std::find(presets.begin(), presets.end(), n) != presets.end();
            if (!drop)
                kept.push_back(std::move(image.records[i]));
        }
        image.records = std::move(kept);
        err = ReplaceFile(path, image.bytes());
    }
    if (err != kNoErr)
        ShowBrokenFile();
    return err;
}

ErrorCode MovePreset(void* block, int from, int to) {
    std::string path = PresetFilePath(block);
    platform::FolderLock lock = LockFileFolder(path);
    FileImage image;
    ErrorCode err = LoadImage(path, image);
    if (err == kNoErr) {
        int count = image.userCount();
        if (from < 0 || to < 0 || from >= count || to >= count) {
            err = kEndOfFile;
        } else if (from != to) {
            auto first = image.records.begin() + 2;
            std::string moved = std::move(first[from]);
            image.records.erase(first + from);
            image.records.insert(image.records.begin() + 2 + to, std::move(moved));
            err = ReplaceFile(path, image.bytes());
        }
    }
    if (err != kNoErr)
        ShowBrokenFile();
    return err;
}

ErrorCode ExportPresets(void* block, const std::vector<int>& presets) {
    std::string source = PresetFilePath(block);
    FileImage sourceImage;
    ErrorCode err = LoadImage(source, sourceImage);
    if (err == kNoErr && sourceImage.version == kHeaderVersionOlder)
        err = kOlderExport;
    std::string folder;
    if (err == kNoErr)
        err = ChooseFolder(kExportPrompt, folder);
    std::string destination = folder + FileName(block);
    if (err == kNoErr && SamePath(destination, source))
        err = kSameFile;
    FileImage target;
    if (err == kNoErr) {
        err = LoadImage(destination, target);
        if (err != kNoErr) {
            Show(Format2(kWrongExportFolderMessage, FileName(block), kPresetFolderName));
            return err;
        }
    }
    if (err == kNoErr) {
        int free = std::max(0, kMaxUserPresets - target.userCount());
        std::vector<std::string> records;
        bool overLimit = false;
        for (int n : presets) {
            std::size_t index = static_cast<std::size_t>(n + 2);
            if (n < 0 || index >= sourceImage.records.size() ||
                sourceImage.records[index].size() > kMaxRecordBytes)
                continue; // a preset that is gone is skipped
            if (static_cast<int>(records.size()) >= free) {
                overLimit = true;
                break;
            }
            records.push_back(sourceImage.records[index]);
        }
        if (overLimit)
            Show(kImportOverLimitMessage);
        if (!records.empty())
            err = AppendRecords(destination, records);
    }
    if (err != kNoErr && err != kUserCancelled && err != kChooserCancelled)
        ShowErrorAlert(err);
    return err;
}

ErrorCode ImportPresets(void* block, const ImportPicker& pick) {
    std::string current = PresetFilePath(block);
    FileImage currentImage;
    ErrorCode err = LoadImage(current, currentImage);
    if (err != kNoErr) {
        ShowBrokenFile();
        return err;
    }
    int free = std::max(0, kMaxUserPresets - currentImage.userCount());
    if (free == 0) {
        Show(kNoMorePresetsMessage);
        return kFileError;
    }
    std::string folder;
    err = ChooseFolder(kImportPrompt, folder);
    if (err != kNoErr) {
        if (err != kChooserCancelled)
            ShowErrorAlert(err);
        return err;
    }
    std::string source = folder + FileName(block);
    FileImage sourceImage;
    if (LoadImage(source, sourceImage) != kNoErr) {
        Show(Format2(kWrongImportFolderMessage, FileName(block), kPresetFolderName));
        return kImportNotFound;
    }
    if (SamePath(source, current)) {
        ShowErrorAlert(kSameFile);
        return kSameFile;
    }
    std::vector<std::string> names;
    std::size_t limit =
        sourceImage.version == kHeaderVersionOlder ? kOlderNameBytes : kNameSlotBytes;
    for (std::size_t i = 2; i < sourceImage.records.size() && names.size() < kMaxUserPresets; ++i)
        names.push_back(CutUtf8(RecordName(sourceImage.records[i]), limit));
    std::vector<int> picked;
    err = pick ? pick(names, picked) : kUserCancelled;
    if (err != kNoErr)
        return err;
    std::sort(picked.begin(), picked.end());
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    if (static_cast<int>(picked.size()) > free) {
        Show(kImportOverLimitMessage);
        picked.resize(static_cast<std::size_t>(free));
    }
    std::vector<std::string> records;
    for (int n : picked) {
        std::size_t index = static_cast<std::size_t>(n + 2);
        if (n < 0 || index >= sourceImage.records.size())
            break; // an empty record ends the import
        const std::string& r = sourceImage.records[index];
        if (r.size() > kMaxRecordBytes)
            break;
        records.push_back(sourceImage.version == kHeaderVersionOlder ? CutUtf8(r, kMaxRecordBytes)
                                                                     : r);
    }
    if (!records.empty())
        err = AppendRecords(current, records);
    if (err != kNoErr)
        ShowBrokenFile();
    return err;
}

// --- the folder --------------------------------------------------------------------

ErrorCode LocatePresetFolder(const char* name, std::string& path, int& flag) {
    std::string profile;
    ErrorCode err = ProfileFolder(profile);
    if (err != kNoErr)
        return err;
    path = profile + "/" + name + "/";
    // The user's preset folder is where every preset file is looked up.
    if (std::strcmp(name, kPresetFolderName) == 0)
        CurrentPresetFolder().folder = path;
    bool create = flag != 0;
    flag = CheckPresetHeader(path + kBorderPresetFile) == kNoErr ? 0 : 1;
    if (create && flag != 0) {
        std::error_code ec;
        fs::create_directories(FsPath(path), ec);
        std::error_code probe;
        if (ec && !fs::is_directory(FsPath(path), probe)) {
            char number[16];
            std::snprintf(number, sizeof number, "%d", ec.value());
            std::string text = kFolderCreateError;
            text.replace(text.find("%s"), 2, path);
            text.replace(text.find("%d"), 2, number);
            Show(text);
            return kFileError;
        }
    }
    return kNoErr;
}

namespace {

// Copies every valid preset file of `from` whose counterpart in `to` is
// missing or has no valid header. With `stopAtMissing` a missing or invalid
// source ends the copying.
ErrorCode CopyPresetFiles(const std::string& from, const std::string& to, bool stopAtMissing) {
    for (const char* file : kPresetFiles) {
        std::string source = from + file;
        std::string destination = to + file;
        std::string bytes;
        if (ReadWholeFile(source, bytes) != kNoErr || HeaderVersion(bytes) == 0) {
            if (stopAtMissing)
                return kNoErr;
            continue;
        }
        ErrorCode check = CheckPresetHeader(destination);
        // A destination that exists but cannot be opened is left alone.
        if (check == kNoErr || (check == kCannotOpen && Exists(destination)))
            continue;
        ErrorCode err = ReplaceFile(destination, bytes);
        if (err != kNoErr)
            return err;
    }
    return kNoErr;
}

} // namespace

ErrorCode PreparePresetFolder(PluginRef plugin) {
    if (sFolders == nullptr)
        return kFileError;
    std::unique_ptr<char[]> buffer(new char[kChosenPathBytes]());
    if (sFolders->GetPluginFolder(plugin, buffer.get(), kChosenPathBytes) != kNoErr)
        return kNoErr; // no shipped defaults can be found: nothing is copied
    std::string defaults = std::string(buffer.get()) + "/" + kDefaultSettingsFolderName + "/";
    std::error_code ec;
    if (!fs::is_directory(FsPath(defaults), ec))
        return kNoErr;

    std::string folder;
    int flag = 1;
    ErrorCode err = LocatePresetFolder(kPresetFolderName, folder, flag);
    if (err != kNoErr)
        return err;
    CurrentPresetFolder().folder = folder;
    // Processes starting together seed the folder one after the other; the
    // later ones find it ready.
    platform::FolderLock lock(folder);
    flag = CheckPresetHeader(folder + kBorderPresetFile) == kNoErr ? 0 : 1;

    if (flag != 0) {
        // A new user: offer the previous version's presets.
        std::string previous;
        int previousFlag = 0;
        bool found =
            LocatePresetFolder(kPreviousPresetFolderName, previous, previousFlag) == kNoErr &&
            previousFlag == 0;
        if (!found &&
            sFolders->GetFolder(kFolderUserDocuments, buffer.get(), kChosenPathBytes) == kNoErr) {
            previous = std::string(buffer.get()) + "/" + kPreviousPresetFolderName + "/";
            found = CheckPresetHeader(previous + kBorderPresetFile) == kNoErr;
        }
        if (found && AskYesNo(kPreviousQuestion)) {
            if (CopyPresetFiles(previous, folder, false) == kNoErr)
                Show(kPreviousInformation);
        }
    }
    return CopyPresetFiles(defaults, folder, true);
}

ErrorCode WriteDefaultSettingsFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(FsPath(folder), ec);
    if (ec)
        return kFileError;
    for (const char* file : kPresetFiles) {
        const PresetType* type = FindPresetType(file);
        std::size_t size = type != nullptr ? type->blockSize : sizeof(ParamHeader);
        std::unique_ptr<std::max_align_t[]> storage(
            new std::max_align_t[size / sizeof(std::max_align_t) + 1]());
        void* block = storage.get();
        if (type != nullptr)
            InitParamBlock(*type, block);
        SetHeaderText(Header(block).presetFile, file);
        if (type == &k3DPathType) {
            auto& p = *static_cast<_3DTFilterParams*>(block);
            p.variant = static_cast<int16_t>(ThreeDVariantOfFile(file));
            Set3DVariantDefaults(p, p.variant);
        }
        ErrorCode err = WritePresetFileInto(folder, block);
        if (err != kNoErr)
            return err;
    }
    return kNoErr;
}

} // namespace vtg
