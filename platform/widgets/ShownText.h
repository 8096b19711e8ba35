#pragma once

#include "platform/system/CodePage1250.h"

#include <QString>
#include <string_view>

// Texts of an installation as the windows show them, by the rules rsim-inspect shows them by: a
// text from a data file is Windows-1250; a file or folder name is UTF-8 when it is valid UTF-8,
// else Windows-1250.
inline QString shownText(std::string_view windows1250) {
    return QString::fromStdString(windows1250ToUtf8(windows1250));
}

inline QString shownFileName(std::string_view name) {
    return QString::fromStdString(fileNameToUtf8(name));
}
