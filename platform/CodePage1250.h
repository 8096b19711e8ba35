#pragma once

#include <string>
#include <string_view>

// The installation's texts are Windows-1250 bytes; they are decoded only to be shown. The five
// bytes the code page leaves undefined become U+FFFD.
char32_t windows1250ToUnicode(unsigned char byte);
std::string windows1250ToUtf8(std::string_view bytes);
