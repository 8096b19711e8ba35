#pragma once

#include "platform/system/FileDescriptor.h"

#include <cstdint>
#include <string>

// A file of an installation opened for reading. A folder copied from elsewhere may hold a pipe
// or a device under a data file's name: the file is opened without waiting for a pipe's writer,
// and kept open only when it is an ordinary file, which then reads as any file does.
class OrdinaryFile {
public:
    // extraFlags are added to open's own, such as O_NOFOLLOW.
    explicit OrdinaryFile(const std::string& path, int extraFlags = 0);

    // An ordinary file, open.
    bool ok() const { return fd_.get() >= 0; }
    int get() const { return fd_.get(); } // -1 unless ok()
    std::uint64_t size() const { return size_; }

    // Why it is not open: the system's error number of a failed open (errno), or that the name
    // stands for something else than an ordinary file, such as a folder.
    int error() const { return error_; }
    bool notOrdinary() const { return notOrdinary_; }
    bool folder() const { return folder_; }

    // The descriptor, which the caller closes from now on.
    int release() { return fd_.release(); }

private:
    FileDescriptor fd_;
    std::uint64_t size_ = 0;
    int error_ = 0;
    bool notOrdinary_ = false;
    bool folder_ = false;
};
