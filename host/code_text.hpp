// code_text.hpp - an ErrorCode as the host prints it.
#pragma once

#include <cstdint>
#include <string>

#include "host/api/vtg_art_converter_suite.h"
#include "host/api/vtg_base.h"

namespace hostapp {

// A four-character code as its characters when all four are printable,
// else the number.
inline std::string FormatCode(ErrorCode code) {
    auto u = static_cast<std::uint32_t>(code);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((u >> shift) & 0xFF);
        if (c < 0x20 || c > 0x7E)
            return std::to_string(code);
        text += c;
    }
    return text;
}

// A code as the reason in a message to the user: what the host knows it
// to mean, then the code ("out of memory (-108)").
inline std::string DescribeCode(ErrorCode code) {
    if (code == kOutOfMemoryErr)
        return "out of memory (-108)";
    if (FormatCode(code) == "GRP?")
        return "its stored data is damaged or of a version this program cannot read (GRP?)";
    if (code == kNoFontErr)
        return "no font with outlines found for the text (FNT?)";
    if (code == kEmptyTextErr)
        return "the text has no characters to outline (TXT0)";
    if (FormatCode(code) == "EPN ")
        return "the plug-in could not set itself up: its preset folder could not be prepared "
               "or read (EPN )";
    return "error " + FormatCode(code);
}

} // namespace hostapp
