// The user suite of a headless host: every alert and question is recorded
// and printed; questions take the answer the script queued, else their
// default button.
#include "host/api/vtg_user_suite.h"
#include "host/host.hpp"
#include "host/preferences.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

UserAgent* U() {
    return Host::current() ? &Host::current()->user() : nullptr;
}

ErrorCode ErrorAlert(const char* text) {
    if (text == nullptr || U() == nullptr)
        return kBadParameterErr;
    U()->errorAlert(text);
    return kNoErr;
}

// Yes/no and OK/cancel answers are interchangeable; a text or folder answer
// queued for another kind of question is left for that question. `always`
// tells whether "don't show again" came with it.
std::optional<bool> TakeYesNo(UserAgent& user, bool* always = nullptr) {
    if (user.pending() == 0)
        return std::nullopt;
    auto a = user.take();
    if (always != nullptr)
        *always = a->always;
    switch (a->kind) {
    case Answer::Kind::Yes:
    case Answer::Kind::Ok:
        return true;
    case Answer::Kind::No:
    case Answer::Kind::Cancel:
        return false;
    default:
        user.queue(*a); // put it back at the end: rare, and never lost
        return std::nullopt;
    }
}

ErrorCode YesNoAlert(const char* text, int32_t* answer) {
    if (text == nullptr || answer == nullptr || U() == nullptr)
        return kBadParameterErr;
    U()->alert(text);
    *answer = TakeYesNo(*U()).value_or(true) ? 1 : 0; // the default button is Yes
    return kNoErr;
}

ErrorCode ConfirmSuppressible(const char* text, const char* key, int32_t* answer) {
    if (text == nullptr || answer == nullptr || U() == nullptr)
        return kBadParameterErr;
    // A question the user asked not to see again takes the answer given then.
    const bool keyed = key != nullptr && Preferences::validName(key);
    if (keyed) {
        if (std::optional<bool> kept = U()->suppressed(key)) {
            *answer = *kept ? 1 : 0;
            return kNoErr;
        }
    }
    U()->alert(text);
    bool always = false;
    const bool yes = TakeYesNo(*U(), &always).value_or(true); // the default button is OK
    *answer = yes ? 1 : 0;
    if (keyed && always)
        U()->suppress(key, yes); // a store that cannot be written holds for the session
    return kNoErr;
}

ErrorCode PromptName(const char* title, const char* initial, char* buffer, size_t size) {
    if (buffer == nullptr || U() == nullptr)
        return kBadParameterErr;
    U()->alert(title != nullptr ? title : "");
    std::string name = initial != nullptr ? initial : "";
    if (U()->pending() != 0) {
        auto a = U()->take();
        if (a->kind == Answer::Kind::Cancel || a->kind == Answer::Kind::No)
            return kCancelledErr;
        if (a->kind == Answer::Kind::Text)
            name = a->text;
    }
    CopyOut(name, buffer, size);
    return kNoErr;
}

ErrorCode ChooseFolder(const char* title, char* buffer, size_t size) {
    if (buffer == nullptr || U() == nullptr)
        return kBadParameterErr;
    U()->alert(title != nullptr ? title : "");
    if (U()->pending() == 0)
        return kCancelledErr; // the default button of a folder chooser is Cancel
    auto a = U()->take();
    if (a->kind != Answer::Kind::Folder)
        return kCancelledErr;
    std::string path = a->text;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.size() + 1 > size) {
        if (size > 0)
            buffer[0] = '\0';
        return kBufferTooSmallErr;
    }
    return CopyOut(path, buffer, size);
}

const UserSuite kUser = {&ErrorAlert, &YesNoAlert, &ConfirmSuppressible, &PromptName,
                         &ChooseFolder};

} // namespace

void PublishUserSuite(SuiteBroker& broker) {
    broker.publish(kUserSuiteName, kUserSuiteVersion, &kUser);
}

} // namespace hostapp
