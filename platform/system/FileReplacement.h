#pragma once

#include <cstddef>
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
// The temporary file gets its name only once its content is whole and on disk, where the file
// system allows (elsewhere it is named from the start). A save killed after that leaves it
// behind, and the next save beside it removes it; nothing else beside the file is ever touched.
// A leftover is removed only when its name is one a save makes (savingName), the content its
// name was made for is exactly what it holds, it belongs to this user, it is one file under one
// name, and no process holds it, open or locked. A file system that cannot tell whether another
// process holds a file keeps its leftovers.
//
// A file or folder counts as read-only when its mode has no write bit at all, or when this
// process cannot open it for writing. The mode counts even for root, who may write anything, and
// even where a rename over a read-only file would succeed.
FileReplacement replaceFile(const std::string& path, std::string_view content,
                            const std::string& homeFolder);

// The name a save gives the temporary file that is to replace the file called name with content:
// hidden, after the file, then ".saving-", unique (six ASCII letters or digits that keep
// saves apart) and a digest of content in 16 hexadecimal digits, as in
// ".rsim.ini.saving-a7Kq2Z-5f0c1e9b3d2a8c47".
std::string savingName(std::string_view name, std::string_view unique, std::string_view content);

// The longest file name in folder that replaceFile can replace: its temporary file's name is
// longer by a fixed part and must fit the file system's own limit.
std::size_t longestReplaceableName(const std::string& folder);
