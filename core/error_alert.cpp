#include "core/error_alert.hpp"

#include <cstring>
#include <new>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "core/text_util.hpp"
#include "host/api/host_error.hpp"

namespace vtg {
namespace {

struct AlertEntry {
    ErrorCode code;
    const char* message;
};

// The alert table, ended by a zero code.
const AlertEntry kAlerts[] = {
    {-108, "十分なメモリがないので実行できません。"},
    {271, "十分なメモリがないので実行できません。"},
    {FourCC("SEGM"), "パスにアンカーポイントが多すぎて実行できません。"},
    {FourCC("NESS"), "レイヤーがロックされているか不可視になっているので実行できません。"},
    {FourCC("!sel"), "パスを選択してください。"},
    {FourCC("!eOF"), "ファイルの終りに達しています。"},
    {FourCC("!oPn"), "ファイルをオープンできません。"},
    {FourCC("!oVf"),
     "計算途中でオーバーフローが発生しました。設定または選択オブジェクトの全体サイズを変更"
     "してみてください。"},
    {FourCC("sPsL"), "同一レイヤーのパスを選択してください。"},
    {FourCC("spPo"), "パスオブジェクトだけを選択してください。"},
    {FourCC("OpGs"), "グループ（複合）パスの一部だけが選択されています。全体を選択してください。"},
    {FourCC("tSgp"), "「間隔」の設定値が小さ過ぎます。"},
    {FourCC("!imP"), "インポートできるファイルが見つかりませんでした。"},
    {FourCC("!exP"), "エクスポートできるファイルが見つかりませんでした。"},
    {FourCC("spSt"), "同一ファイル間ではインポート／エクスポートはできません。"},
    {FourCC("fLtP"), "テキストパスの場合は、パスだけを部分選択してください。"},
    {FourCC("iNtP"), "テキストパスを含んでいます。"},
    {FourCC("iUnT"), "グループの中にロックまたは非表示オブジェクトを含んでいます。"},
    {FourCC("AqsF"), "Suite の獲得に失敗しました。"},
    {FourCC("ioEr"), "VERTiGON6 の起動に必要なファイルが無いか読み込めません。"},
    {FourCC("ELIO"), "処理対象外のオブジェクトが含まれています。"},
    {FourCC("DOC?"), "ドキュメントがありません。"},
    {FourCC("UnEx"),
     "基本アピアランス以外のパス（パスファインダによる複合シェイプを含む）は、分割・"
     "拡張されていなければなりません。"},
    {FourCC("BIG!"), "生成するオブジェクトが多すぎます。配置数を減らしてください。"},
    {FourCC("FNT?"), "テキストのフォントが見つからないので、アウトラインにできません。"},
    {FourCC("TXT0"), "テキストに文字がないので、アウトラインにできません。"},
    {FourCC("xxxx"), "不明のエラーです。"},
    {0, nullptr},
};

constexpr const char* kFallbackMessage = "その他のエラーです。";
constexpr std::size_t kMessageBufferSize = 240;

} // namespace

ErrorCode CurrentExceptionCode() {
    try {
        throw;
    } catch (const host::Error& e) {
        return e.code();
    } catch (ErrorCode code) {
        return code;
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kUncodedException;
    }
}

const char* ErrorMessage(ErrorCode code) {
    for (const AlertEntry* e = kAlerts; e->code != 0; ++e)
        if (e->code == code)
            return (e->message != nullptr && *e->message != '\0') ? e->message : kFallbackMessage;
    return kFallbackMessage;
}

std::string ErrorAlertText(ErrorCode code) {
    char message[kMessageBufferSize];
    CopyText(message, sizeof message, ErrorMessage(code));
    return std::string(message) + "\n" + CodeText(code);
}

void ShowErrorAlert(ErrorCode code) {
    if (code == 0 || code == kUserStopped)
        return;
    std::string text = ErrorAlertText(code);
    // The host's strings are UTF-8: the conversion is a validity check.
    if (!IsValidUtf8(text))
        throw host::Error(kBadParameterErr, "alert text is not UTF-8");
    if (sUser != nullptr) {
        ErrorCode err = sUser->ErrorAlert(text.c_str());
        if (err != kNoErr)
            throw host::Error(err);
        return;
    }
    // Outside a suite set (for example a failed start-up) the suite is taken
    // for the one call.
    const void* user = nullptr;
    if (sBasic != nullptr &&
        sBasic->AcquireSuite(kUserSuiteName, kUserSuiteVersion, &user) == kNoErr) {
        static_cast<const UserSuite*>(user)->ErrorAlert(text.c_str());
        sBasic->ReleaseSuite(kUserSuiteName, kUserSuiteVersion);
    }
}

} // namespace vtg
