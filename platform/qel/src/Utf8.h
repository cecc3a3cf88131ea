// UTF-8 <-> wide text without any dependency on the process locale.
#pragma once

#include <string>

namespace Qel::detail {

// Malformed UTF-8 bytes each become U+FFFD, so any byte string converts.
std::wstring utf8ToWide(const std::string& text);
// Unpaired surrogates and values beyond U+10FFFF become U+FFFD.
std::string wideToUtf8(const std::wstring& text);
// Decodes code points for matching; a malformed byte b becomes 0xDC00 + b so
// that it still only equals itself.
std::u32string utf8ToCodePoints(const std::string& text);

}  // namespace Qel::detail
