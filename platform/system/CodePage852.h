#pragma once

#include <string>
#include <string_view>

// Wine writes a Windows program's console output in the program's OEM code page, which on the
// Polish Windows the simulator runs as is 852, and its own messages in UTF-8. A line of wine's
// output for showing: as it is when it is valid UTF-8, else decoded from code page 852.
std::string wineOutputToUtf8(std::string_view line);

// Names that Windows zip and rar tools store without marking them as Unicode are in the OEM code
// page, 852 on a Polish Windows.
std::string codePage852ToUtf8(std::string_view bytes);
