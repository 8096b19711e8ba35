#include "packs/PackArchive.h"

#include "packs/PackLimits.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/CodePage852.h"
#include "platform/system/OrdinaryFile.h"
#include "platform/system/Utf8.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Reads after a seek are small, as a zip's headers are read one by one from their places; reads
// in a row grow, as an entry's data follows.
constexpr std::size_t SmallRead = std::size_t{16} << 10;
constexpr std::size_t LargeRead = std::size_t{1} << 20;

// libarchive converts Unicode names to the character set of the thread's locale. Under this one
// they arrive as UTF-8 whatever the process's locale, while names it has no character set for
// arrive as stored.
class Utf8Names {
public:
    explicit Utf8Names(locale_t utf8) : previous_(utf8 ? ::uselocale(utf8) : nullptr) {}
    ~Utf8Names() {
        if (previous_) ::uselocale(previous_);
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t previous_;
};

EntryKind kindOf(archive_entry* entry) {
    if (archive_entry_hardlink(entry) != nullptr) return EntryKind::HardLink;
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
        return EntryKind::File;
    case AE_IFDIR:
        return EntryKind::Folder;
    case AE_IFLNK:
        return EntryKind::Link;
    case 0: {
        // Some archives give no type: a name that ends with a separator is a folder.
        const char* name = archive_entry_pathname(entry);
        const std::size_t length = name ? std::strlen(name) : 0;
        return length > 0 && (name[length - 1] == '/' || name[length - 1] == '\\')
                   ? EntryKind::Folder
                   : EntryKind::File;
    }
    default:
        return EntryKind::Special;
    }
}

std::string utf8Name(std::string_view raw, int format) {
    if (isValidUtf8(raw)) return std::string(raw);
    const int family = format & ARCHIVE_FORMAT_BASE_MASK;
    if (family == ARCHIVE_FORMAT_ZIP || family == ARCHIVE_FORMAT_RAR ||
        family == ARCHIVE_FORMAT_RAR_V5)
        return codePage852ToUtf8(raw);
    return fileNameToUtf8(raw);
}

} // namespace

struct PackArchive::Source {
    archive* reader = archive_read_new();
    OrdinaryFile file;
    locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    std::unique_ptr<char[]> buffer = std::make_unique<char[]>(LargeRead);
    std::size_t readSize = SmallRead;
    std::uint64_t bytesRead = 0;

    explicit Source(const std::string& path) : file(path) {}
    ~Source() {
        archive_read_free(reader);
        if (utf8) ::freelocale(utf8);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    static la_ssize_t read(archive* a, void* data, const void** block) {
        auto* source = static_cast<Source*>(data);
        ssize_t n;
        do n = ::read(source->file.get(), source->buffer.get(), source->readSize);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            archive_set_error(a, errno, "%s", std::strerror(errno));
            return -1;
        }
        source->bytesRead += static_cast<std::uint64_t>(n);
        source->readSize = std::min(source->readSize * 4, LargeRead);
        *block = source->buffer.get();
        return n;
    }

    static la_int64_t seek(archive* a, void* data, la_int64_t offset, int whence) {
        auto* source = static_cast<Source*>(data);
        source->readSize = SmallRead;
        const off_t at = ::lseek(source->file.get(), offset, whence);
        if (at < 0) archive_set_error(a, errno, "%s", std::strerror(errno));
        return at < 0 ? ARCHIVE_FATAL : at;
    }

    static la_int64_t skip(archive* /*a*/, void* data, la_int64_t request) {
        auto* source = static_cast<Source*>(data);
        source->readSize = SmallRead;
        return ::lseek(source->file.get(), request, SEEK_CUR) < 0 ? 0 : request;
    }
};

PackArchive::PackArchive(const std::string& path) : source_(std::make_unique<Source>(path)) {
    if (!source_->file.ok()) {
        fail(PackError::Kind::Unreadable, source_->file.notOrdinary()
                                              ? "not an ordinary file"
                                              : std::strerror(source_->file.error()));
        if (!source_->file.notOrdinary()) error_.error = source_->file.error();
        return;
    }
    fileBytes_ = source_->file.size();
    const Utf8Names names(source_->utf8);
    archive* a = source_->reader;
    // Only the kinds packs come in, read by the library itself: an mtree "archive" would read
    // files named in it from this computer's disk, and some compressions would start programs.
    archive_read_support_format_zip(a);
    archive_read_support_format_7zip(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_tar(a);
    archive_read_support_filter_gzip(a);
    archive_read_support_filter_bzip2(a);
    archive_read_support_filter_xz(a);
    archive_read_support_filter_zstd(a);
    archive_read_set_callback_data(a, source_.get());
    archive_read_set_read_callback(a, &Source::read);
    archive_read_set_seek_callback(a, &Source::seek);
    archive_read_set_skip_callback(a, &Source::skip);
    if (archive_read_open1(a) != ARCHIVE_OK)
        fail(PackError::Kind::Unreadable, archive_error_string(a) ? archive_error_string(a) : "");
}

PackArchive::~PackArchive() = default;

bool PackArchive::fail(PackError::Kind kind, std::string detail) {
    if (!error_) error_ = {kind, entry_.name, std::move(detail)};
    return false;
}

bool PackArchive::next() {
    if (error_) return false;
    const Utf8Names names(source_->utf8);
    archive_entry* header = nullptr;
    const int status = archive_read_next_header(source_->reader, &header);
    if (status == ARCHIVE_EOF) return false;
    const std::size_t index = started_ ? entry_.index + 1 : 0;
    started_ = true;
    entry_ = PackEntry{};
    entry_.index = index;
    if (status < ARCHIVE_WARN) {
        const char* why = archive_error_string(source_->reader);
        return fail(PackError::Kind::Unreadable, why ? why : "");
    }
    if (index >= PackLimits::Entries) return fail(PackError::Kind::TooManyEntries, {});

    const char* raw = archive_entry_pathname(header);
    entry_.rawName = raw ? raw : "";
    entry_.name = utf8Name(entry_.rawName, archive_format(source_->reader));
    entry_.kind = kindOf(header);
    entry_.sizeDeclared = archive_entry_size_is_set(header) != 0;
    entry_.size = static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(header), 0));
    entry_.encrypted = archive_entry_is_encrypted(header) != 0;
    entry_.hasTime = archive_entry_mtime_is_set(header) != 0;
    entry_.seconds = archive_entry_mtime(header);
    entry_.nanoseconds = archive_entry_mtime_nsec(header);
    return true;
}

bool PackArchive::read(const BlockSink& sink, const std::stop_token& stop) {
    if (error_) return false;
    const Utf8Names names(source_->utf8);
    for (;;) {
        if (stop.stop_requested()) return fail(PackError::Kind::Cancelled, {});
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(source_->reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF) return true;
        const auto at = static_cast<std::uint64_t>(std::max<la_int64_t>(offset, 0));
        if (status >= ARCHIVE_WARN && at + size > entry_.size)
            return fail(PackError::Kind::SizeExceeded,
                        "more than the " + std::to_string(entry_.size) + " bytes it declares");
        // A warning here is a damaged entry, such as a wrong checksum: its data cannot be used.
        if (status != ARCHIVE_OK) {
            const char* why = archive_error_string(source_->reader);
            return fail(PackError::Kind::Unreadable, why ? why : "");
        }
        unpacked_ += size;
        if (unpacked_ > PackLimits::RatioSlackBytes &&
            unpacked_ / PackLimits::CompressionRatio > source_->bytesRead)
            return fail(PackError::Kind::RatioExceeded, {});
        if (!sink(at, std::string_view(static_cast<const char*>(block), size))) return false;
    }
}
