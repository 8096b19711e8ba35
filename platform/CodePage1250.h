#pragma once

#include <string>
#include <string_view>

// The installation's texts are Windows-1250 bytes; they are decoded only to be shown. The five
// bytes the code page leaves undefined become U+FFFD.
char32_t windows1250ToUnicode(unsigned char byte);
std::string windows1250ToUtf8(std::string_view bytes);

// A file or folder name for display: as it is when it is valid UTF-8, as this system's own names
// are, else decoded from Windows-1250, as a name copied from a Windows installation may be.
std::string fileNameToUtf8(std::string_view name);
