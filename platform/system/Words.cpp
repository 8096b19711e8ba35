#include "platform/system/Words.h"

#include <cerrno>
#include <cstring>

namespace Words {

std::string systemReason(Language language, int error) {
    BilingualText reason;
    switch (error) {
    case EACCES:
    case EPERM:
        reason = {"brak uprawnień", "permission denied"};
        break;
    case EROFS:
        reason = {"system plików tylko do odczytu", "read-only file system"};
        break;
    case ENOENT:
        reason = {"nie ma takiego pliku ani folderu", "no such file or folder"};
        break;
    case ENOSPC:
        reason = {"brak miejsca na dysku", "no space left on the disk"};
        break;
    case EDQUOT:
        reason = {"przekroczony przydział miejsca na dysku", "disk quota exceeded"};
        break;
    default:
        return std::strerror(error);
    }
    return std::string(reason.in(language));
}

} // namespace Words
