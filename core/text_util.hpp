// text_util.hpp - safe handling of UTF-8 texts in fixed buffers.
#pragma once

#include <cstddef>
#include <string_view>

namespace vtg {

// Copies `text` into `buffer` of `size` bytes: at most size - 1 bytes, cut
// on a UTF-8 character boundary, always terminated. Returns false when the
// text had to be cut (or size is 0).
bool CopyText(char* buffer, std::size_t size, std::string_view text);

// The longest prefix of `text` of at most `limit` bytes that ends on a
// character boundary.
std::size_t Utf8Prefix(std::string_view text, std::size_t limit);

bool IsValidUtf8(std::string_view text);

} // namespace vtg
