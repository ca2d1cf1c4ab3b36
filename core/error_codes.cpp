#include "core/error_codes.hpp"

#include <cstdint>

namespace vtg {

std::string CodeText(ErrorCode code) {
    auto upper = static_cast<std::uint32_t>(code) >> 16;
    if (upper == 0 || upper == 0xFFFF)
        return std::to_string(static_cast<long>(code));
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint32_t>(code) >> (24 - 8 * i)) & 0xFF);
    return text;
}

} // namespace vtg
