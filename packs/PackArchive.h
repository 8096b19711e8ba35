#pragma once

#include "packs/PackError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>

enum class EntryKind { File, Folder, Link, HardLink, Special };

// One entry of an archive as its header describes it.
struct PackEntry {
    std::size_t index = 0; // its place in the archive, from 0
    std::string rawName;   // the name's bytes as stored
    // The name in UTF-8: as stored when the archive says it is Unicode (the zip UTF-8 flag, 7z
    // and rar names, which then arrive valid UTF-8); a zip or rar name that is not valid UTF-8
    // is in the Windows OEM code page 852, another one in Windows-1250.
    std::string name;
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0; // as declared
    bool sizeDeclared = false;
    bool encrypted = false;
    bool hasTime = false;
    std::int64_t seconds = 0; // modification time
    long nanoseconds = 0;
};

// Unpacked bytes at offset within the entry; false stops the reading.
using BlockSink = std::function<bool(std::uint64_t offset, std::string_view bytes)>;

// An archive of the kinds packs come in (zip, 7z, rar, and tar compressed with gzip, bzip2, xz or
// zstd), read through libarchive from start to end. Every entry's data is checked as it is
// unpacked: an entry that holds more than it declared, or an archive that unpacks to an absurd
// multiple of the bytes read from it, stops the reading (see PackLimits). Used on the thread that
// opened it.
class PackArchive {
public:
    explicit PackArchive(const std::string& path);
    ~PackArchive();
    PackArchive(const PackArchive&) = delete;
    PackArchive& operator=(const PackArchive&) = delete;

    // Why the archive cannot be read further; Kind::None while it can.
    const PackError& error() const { return error_; }
    std::uint64_t fileBytes() const { return fileBytes_; }

    // Moves to the next entry, skipping the data of the current one: false at the end of the
    // archive, or on an error.
    bool next();
    const PackEntry& entry() const { return entry_; }

    // Unpacks the current entry, handing its data to sink block by block. False when it failed,
    // was stopped, or sink refused a block: error() says which, but for a refusal.
    bool read(const BlockSink& sink, const std::stop_token& stop);

private:
    struct Source;
    bool fail(PackError::Kind kind, std::string detail);

    std::unique_ptr<Source> source_;
    PackError error_;
    PackEntry entry_;
    std::uint64_t fileBytes_ = 0;
    std::uint64_t unpacked_ = 0;
    bool started_ = false;
};
