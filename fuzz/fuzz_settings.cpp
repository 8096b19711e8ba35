// The settings reader and the settings file formatter. Checked on every input:
//  - whatever the size of the blocks, the reader reads what the in-memory reader reads; with a
//    file limit, what that reads of the part before the limit; within the launcher's limits,
//    the same when nothing was cut;
//  - an LF-only file reads like its CR LF twin (values compared without their CRs: a value
//    that has no blank before its line end takes the line end in);
//  - nothing after a byte of code 26 is read;
//  - the values read, when none holds a blank, an LF or a byte of code 26, come back unchanged
//    from the file the launcher writes of them, with a "-" before each inverted sensitivity;
//  - sixteen values cut from the input (at bytes 0, less those three bytes) make a file of
//    exactly 22 lines ending with CR LF that reads back as those values, with CR LF line ends
//    and with LF alone.

#include "FuzzSupport.h"
#include "InMemoryReaders.h"

#include "catalogue/TextReader.h"
#include "settings/SettingsFile.h"
#include "settings/SimulatorSettings.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

FUZZ_HARNESS SimulatorSettings read(std::string_view bytes, ReadLimits limits = NoReadLimits,
                                    std::size_t blockSize = TextReader::BlockSize) {
    TextReader in(bytes, limits, blockSize);
    return readSimulatorSettings(in);
}

FUZZ_HARNESS SimulatorSettings readInMemory(std::string_view bytes) {
    inmemory::TextReader in(bytes);
    return inmemory::readSimulatorSettings(in);
}

FUZZ_HARNESS SimulatorSettings withoutCr(SimulatorSettings s) {
    for (const SettingsField& f : SettingsFields) s.*f.member = fuzz::withoutCr(s.*f.member);
    return s;
}

FUZZ_HARNESS bool writable(std::string_view value) {
    return !fuzz::contains(value, ' ') && !fuzz::contains(value, '\n') &&
           !fuzz::contains(value, '\x1a');
}

FUZZ_HARNESS bool writable(const SimulatorSettings& s) {
    for (const SettingsField& f : SettingsFields)
        if (!writable(s.*f.member)) return false;
    return true;
}

FUZZ_HARNESS std::string format(const SimulatorSettings& s, InvertFlags invert) {
    return formatSettingsFile(s, Resolution{s.width, s.height}, invert);
}

FUZZ_HARNESS void checkRoundTrip(const SimulatorSettings& s) {
    const std::string file = format(s, {});
    std::size_t lines = 0;
    for (char c : file) lines += c == '\n';
    FUZZ_CHECK(lines == 22);
    FUZZ_CHECK(file.size() >= 2 && file.compare(file.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(read(file) == s);
    FUZZ_CHECK(read(fuzz::withLfOnly(file)) == s);

    SimulatorSettings inverted = s;
    inverted.mousescalehorizontal.insert(0, "-");
    inverted.mousescalevertical.insert(0, "-");
    FUZZ_CHECK(read(format(s, {.InvertHorizontal = true, .InvertVertical = true})) == inverted);
}

} // namespace

extern "C" FUZZ_HARNESS int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    const SimulatorSettings settings = read(bytes);

    FUZZ_CHECK(settings == readInMemory(bytes));
    for (const std::size_t blockSize : fuzz::blockSizes(bytes))
        FUZZ_CHECK(read(bytes, NoReadLimits, blockSize) == settings);
    const std::uint64_t limit = fuzz::fileLimit(bytes);
    TextReader limited(bytes, {limit, std::numeric_limits<std::size_t>::max()}, 3);
    FUZZ_CHECK(readSimulatorSettings(limited) == readInMemory(bytes.substr(0, limit)));
    // Only a limit that was reached cuts.
    if (limited.cut()) FUZZ_CHECK(fuzz::beforeEnd(bytes).size() > limit);
    TextReader bounded(bytes, SettingsLimits);
    const SimulatorSettings withinBounds = readSimulatorSettings(bounded);
    if (!bounded.cut()) FUZZ_CHECK(withinBounds == settings);

    FUZZ_CHECK(read(fuzz::withTrailerAfterEnd(bytes)) == settings);
    const std::string crLf = fuzz::withCrLf(bytes);
    if (crLf.size() != bytes.size()) FUZZ_CHECK(withoutCr(read(crLf)) == withoutCr(settings));
    if (writable(settings)) checkRoundTrip(settings);

    SimulatorSettings cut;
    std::size_t field = 0;
    for (char c : bytes) {
        if (c == '\0') {
            if (++field == SettingsFields.size()) break;
        } else if (writable(std::string_view(&c, 1))) {
            cut.*SettingsFields[field].member += c;
        }
    }
    checkRoundTrip(cut);
    return 0;
}
