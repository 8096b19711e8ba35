#include "settings/SettingsFile.h"

#include "catalogue/TextReader.h"
#include "platform/system/AsciiCase.h"
#include "platform/system/InstallPath.h"

namespace {

// The key's letters after the first and its one blank, as read.
bool restOfKey(std::string_view read, std::string_view key) {
    if (read.size() != key.size() || read.back() != ' ') return false;
    for (std::size_t i = 1; i < key.size(); ++i)
        if (asciiUpper(static_cast<unsigned char>(read[i - 1])) !=
            asciiUpper(static_cast<unsigned char>(key[i])))
            return false;
    return true;
}

// A field without a key of its own is the next value of the line before it.
bool continuesLine(std::size_t field) {
    return field < SettingsFields.size() && SettingsFields[field].key.empty();
}

} // namespace

SimulatorSettings readSimulatorSettings(TextReader& in) {
    SimulatorSettings settings;
    for (std::size_t i = 0; i < SettingsFileHead.size(); ++i) in.skipLine();
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        const SettingsField& field = SettingsFields[i];
        if (field.key.empty()) continue;
        if (asciiUpper(in.readChar()) != asciiUpper(static_cast<unsigned char>(field.key[0]))) {
            if (field.wrongFirstLetter == WrongFirstLetter::SkipsLine) in.skipLine();
        } else if (restOfKey(in.readUpTo(field.key.size()), field.key)) {
            // Only a blank ends a value: a TAB or a line end is kept in it.
            if (!in.readToken(settings.*field.member)) break;
            bool ended = false;
            for (std::size_t next = i + 1; continuesLine(next) && !ended; ++next)
                ended = !in.readToken(settings.*SettingsFields[next].member);
            if (ended) break;
            in.skipLine();
        }
        if (!field.lineAfter.empty()) in.skipLine();
    }
    return settings;
}

std::string settingsFilePath(const std::string& installRoot) {
    return resolveInstallPath(installRoot, "\\rsim.ini");
}

SimulatorSettings loadSimulatorSettings(const std::string& installRoot) {
    TextReader in = TextReader::open(settingsFilePath(installRoot), SettingsLimits);
    return readSimulatorSettings(in);
}

std::string formatSettingsFile(const SimulatorSettings& settings, const Resolution& resolution,
                               InvertFlags invert) {
    SimulatorSettings written = settings;
    written.width = resolution.width;
    written.height = resolution.height;
    if (invert.InvertHorizontal) written.mousescalehorizontal.insert(0, 1, '-');
    if (invert.InvertVertical) written.mousescalevertical.insert(0, 1, '-');

    std::string text;
    text.reserve(1500);
    for (std::string_view line : SettingsFileHead) {
        text += line;
        text += "\r\n";
    }
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        const SettingsField& field = SettingsFields[i];
        if (!field.key.empty()) {
            text += field.key;
            text += ' ';
        }
        text += written.*field.member;
        text += field.separator;
        text += field.comment;
        if (!continuesLine(i + 1)) text += "\r\n";
        if (!field.lineAfter.empty()) {
            text += field.lineAfter;
            text += "\r\n";
        }
    }
    return text;
}
