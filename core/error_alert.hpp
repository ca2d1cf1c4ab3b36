// error_alert.hpp - showing an error code to the user.
#pragma once

#include <string>

#include "host/api/vtg_base.h"

namespace vtg {

// The Japanese message of a code, or the fallback text for a code without
// one.
const char* ErrorMessage(ErrorCode code);

// The full alert text: the message cut to 239 bytes on a character
// boundary, a new line, and the code text.
std::string ErrorAlertText(ErrorCode code);

// The code of the exception being handled (call it inside a catch block):
// host::Error its code, a thrown code itself, std::bad_alloc -108, anything
// else "CANT".
ErrorCode CurrentExceptionCode();

// Shows the alert of `code` in the host's error alert. Code 0 and "STOP"
// show nothing. Raises host::Error when the text cannot be converted for
// the host.
void ShowErrorAlert(ErrorCode code);

} // namespace vtg
