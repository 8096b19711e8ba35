#pragma once

#include <string>
#include <string_view>

// The installation's texts are Windows-1250 bytes; they are decoded only to be shown. The five
// bytes the code page leaves undefined become U+FFFD.
char32_t windows1250ToUnicode(unsigned char byte);
std::string windows1250ToUtf8(std::string_view bytes);

// The same for a text handed to a Windows program through wine, which encodes it back to
// Windows-1250. Windows maps the five undefined bytes to the control characters of the same
// number, and wine maps those back, so every byte arrives as it was.
std::string windows1250ToUtf8Reversibly(std::string_view bytes);

// A file or folder name for display: as it is when it is valid UTF-8, as this system's own names
// are, else decoded from Windows-1250, as a name copied from a Windows installation may be.
std::string fileNameToUtf8(std::string_view name);

// The same rule for a file name handed to a Windows program through wine: a Windows-1250 name
// is decoded reversibly.
std::string fileNameToUtf8Reversibly(std::string_view name);
