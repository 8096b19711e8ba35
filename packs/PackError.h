#pragma once

#include <string>

// Why a plan stopped, or an install or undo did not happen: what went wrong, the entry or file
// concerned and the system's own words, so that a window can say it in the player's language.
struct PackError {
    enum class Kind {
        None,
        Unreadable,      // the archive cannot be read: detail says why
        TooManyEntries,  // more entries than PackLimits::Entries
        SizeNotDeclared, // the entry does not say how large it is
        SizeExceeded,    // the entry holds more than it declared
        RatioExceeded,   // unpacks to more than PackLimits::CompressionRatio times its bytes
        PackChanged,     // the archive or the installation changed since the plan
        NoSpace,         // detail: the bytes needed and free
        WriteFailed,     // writing, renaming or removing a file failed: detail says why
        Busy,            // another launcher is installing into the installation
        NothingToUndo,   // the install's record or kept files are gone
        Cancelled,
    };

    Kind kind = Kind::None;
    std::string file;   // the entry (UTF-8) or the installation's file concerned
    std::string detail; // English
    int error = 0;      // the system error number (errno) behind it, where there is one

    explicit operator bool() const { return kind != Kind::None; }
    // An English sentence, without a final full stop.
    std::string text() const;
};
