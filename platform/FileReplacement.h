#pragma once

#include <string>
#include <string_view>

// How replacing a file's content ended.
enum class FileReplacement {
    Replaced,
    ReadOnlyFile,   // the file is read-only: nothing was written
    ReadOnlyFolder, // the folder that holds it is read-only: nothing was written
    NotAFile,       // a folder, device or pipe stands under the name, or links go round in a circle
    OutsideFolder,  // a link leads out of the folder the file belongs to: nothing was written
    WriteFailed,    // the new content could not be written in full; the file is as it was
};

// Replaces a file's content in one step: the new content goes to a temporary file beside it,
// which then takes the file's place, so that a failure or a crash leaves the old file or the new
// one, never a part of either. A missing file is created. The file's permissions and owner are
// kept.
//
// A symbolic link stays a link, and the file it points to is replaced, as long as that file lies
// inside homeFolder (after every link on the way is followed). An installation unpacked from an
// archive may carry a link to any file of the player's, and saving must not overwrite it.
//
// The temporary file is locked while it is written. A save that was killed leaves its temporary
// file unlocked, and the next save beside it removes it; files of saves still running are kept.
//
// A file or folder counts as read-only when its mode has no write bit at all, or when this
// process cannot open it for writing. The mode counts even for root, who may write anything, and
// even where a rename over a read-only file would succeed.
FileReplacement replaceFile(const std::string& path, std::string_view content,
                            const std::string& homeFolder);
