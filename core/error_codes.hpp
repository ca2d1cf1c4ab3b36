// error_codes.hpp - the plug-in's ErrorCode helpers and the codes with a
// fixed meaning.
#pragma once

#include <string>

#include "host/api/vtg_base.h"

namespace vtg {

// A four-character code, first character in the most significant byte.
constexpr ErrorCode FourCC(const char (&s)[5]) {
    return static_cast<ErrorCode>((static_cast<unsigned>(static_cast<unsigned char>(s[0])) << 24) |
                                  (static_cast<unsigned>(static_cast<unsigned char>(s[1])) << 16) |
                                  (static_cast<unsigned>(static_cast<unsigned char>(s[2])) << 8) |
                                  static_cast<unsigned>(static_cast<unsigned char>(s[3])));
}

inline constexpr ErrorCode kMessageNotHandled = FourCC("!MSG");
inline constexpr ErrorCode kNoPluginMemory = FourCC("!MEM");
inline constexpr ErrorCode kStartupFailed = FourCC("EPN ");
inline constexpr ErrorCode kUncodedException = FourCC("CANT");
inline constexpr ErrorCode kPurged = FourCC("pFls");
inline constexpr ErrorCode kUserStopped = FourCC("STOP");
inline constexpr ErrorCode kUserCancelled = FourCC("Cncl");
inline constexpr ErrorCode kTooManySegments = FourCC("SEGM");
inline constexpr ErrorCode kNoSelection = FourCC("!sel");
inline constexpr ErrorCode kEndOfFile = FourCC("!eOF");
inline constexpr ErrorCode kCannotOpen = FourCC("!oPn");
inline constexpr ErrorCode kMissingFiles = FourCC("ioEr"); // a resource file is missing
inline constexpr ErrorCode kOverflow = FourCC("!oVf");
inline constexpr ErrorCode kNoDocument = FourCC("DOC?");
inline constexpr ErrorCode kMemoryFull = -108;

// The code as users see it: "%ld" when its upper 16 bits are all zero or all
// one (so -108 shows as -108), else its four characters.
std::string CodeText(ErrorCode code);

} // namespace vtg
