#include "core/text_util.hpp"

#include <cstring>

namespace vtg {

std::size_t Utf8Prefix(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

bool CopyText(char* buffer, std::size_t size, std::string_view text) {
    if (buffer == nullptr || size == 0)
        return false;
    std::size_t n = Utf8Prefix(text, size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 0;
        if (len == 0 || i + len > text.size())
            return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

} // namespace vtg
