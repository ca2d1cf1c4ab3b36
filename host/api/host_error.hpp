// host_error.hpp - the exception type of the host's C++ helpers.
//
// Plug-in code may raise host::Error from inside a message handler; the
// handler boundary turns it back into its ErrorCode.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "host/api/vtg_base.h"

namespace host {

class Error : public std::exception {
public:
    explicit Error(ErrorCode code, std::string text = {}) : code_(code), text_(std::move(text)) {}
    ErrorCode code() const noexcept { return code_; }
    const char* what() const noexcept override {
        return text_.empty() ? "Host Exception" : text_.c_str();
    }

private:
    ErrorCode code_;
    std::string text_;
};

// Raises host::Error when a host call failed.
inline void Check(ErrorCode code) {
    if (code != kNoErr)
        throw Error(code);
}

} // namespace host
