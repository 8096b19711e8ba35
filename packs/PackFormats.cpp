#include "packs/PackFormats.h"

#include "platform/system/AsciiCase.h"

bool isPackFileName(std::string_view name) {
    for (const PackFormat& format : PackFormats) {
        const std::string_view extension = format.extension;
        // A name that is only the extension, such as ".zip", is a hidden file, not a pack.
        if (name.size() > extension.size() &&
            equalsUpperCased(name.substr(name.size() - extension.size()), asciiUpper(extension)))
            return true;
    }
    return false;
}
