#pragma once

#include <cstddef>
#include <cstdint>

// What a pack may ask of the installation and of the launcher. Packs come from strangers: a
// pack past one of these is damaged or hostile, and its plan stops before anything is written.
// Real packs, gigabytes of textures and models in tens of thousands of files, stay far inside.
struct PackLimits {
    // Entries of one archive.
    static constexpr std::size_t Entries = 500'000;
    // A name inside the archive, in bytes; Windows itself allows a path of 260 characters.
    static constexpr std::size_t NameBytes = 4096;

    // Unpacked bytes for each packed byte read. Deflate cannot pass about 1032; a pack's
    // textures and models pack to a tenth at best. Above this a pack is built to fill the disk,
    // such as a zip whose entries share the same packed bytes. Checked for the whole archive
    // against the sizes its entries declare, and while unpacking against the bytes read, once
    // RatioSlackBytes have been unpacked, so that a few files of zeros pass.
    static constexpr std::uint64_t CompressionRatio = 1000;
    static constexpr std::uint64_t RatioSlackBytes = std::uint64_t{64} << 20;

    // Free space left after an install, on top of the files' sizes rounded up to whole blocks.
    static constexpr std::uint64_t SpareBytes = std::uint64_t{16} << 20;

    // The pack's files that planning reads to check its sceneries (the sceneries themselves, the
    // catalogue, the pictures of scenery\images) are kept in memory up to this much together;
    // those past it are read once more, one at a time.
    static constexpr std::uint64_t CheckedBytes = std::uint64_t{256} << 20;
    // A picture of scenery\images larger than this is not unpacked to be checked: the picture
    // loader refuses far smaller ones.
    static constexpr std::uint64_t PictureBytes = std::uint64_t{128} << 20;
};
