#include "packs/PackError.h"

#include "packs/PackLimits.h"

std::string PackError::text() const {
    const std::string named = file.empty() ? std::string() : " " + file;
    const std::string because = detail.empty() ? std::string() : ": " + detail;
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::Unreadable:
        return "The pack cannot be read" + (file.empty() ? "" : " at" + named) + because;
    case Kind::TooManyEntries:
        return "The pack holds more than " + std::to_string(PackLimits::Entries) + " entries";
    case Kind::SizeNotDeclared:
        return "The pack does not say how large" + named + " is";
    case Kind::SizeExceeded:
        return "The pack's entry" + named + " holds" +
               (detail.empty() ? " more than it declares" : " " + detail);
    case Kind::RatioExceeded:
        return "The pack unpacks to more than " + std::to_string(PackLimits::CompressionRatio) +
               " times its size" + (file.empty() ? "" : ", at" + named);
    case Kind::PackChanged:
        return "The pack or the installation changed since the pack was looked at" + because;
    case Kind::NoSpace:
        return "Not enough free space for the pack" + because;
    case Kind::WriteFailed:
        return "Cannot write" + named + because;
    case Kind::Busy:
        return "Another launcher is installing a pack into this installation";
    case Kind::NothingToUndo:
        return "The install cannot be undone" + because;
    case Kind::Cancelled:
        return "Cancelled";
    }
    return {};
}
