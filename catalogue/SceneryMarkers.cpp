#include "catalogue/SceneryMarkers.h"

#include "platform/system/AsciiCase.h"
#include "platform/system/CodePage1250.h"

#include <cstring>

void SceneryMarkerScanner::takeBlock(std::string_view bytes) {
    if (!bytes.empty()) markers_.enablesStart = true;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        switch (state_) {
        case State::Seek:
            p = static_cast<const char*>(std::memchr(p, '/', static_cast<std::size_t>(end - p)));
            if (!p) return;
            ++p;
            state_ = State::Slash;
            continue;
        // A character that fails a test is consumed: "///$" is no marker.
        case State::Slash:
            state_ = c == '/' ? State::SlashSlash : State::Seek;
            break;
        case State::SlashSlash:
            state_ = c == '$' ? State::Letter : State::Seek;
            break;
        case State::Letter:
            letter_ = asciiUpper(c);
            state_ = letter_ == 'D' || letter_ == 'N' || letter_ == 'I' ? State::Skip : State::Seek;
            break;
        case State::Skip:
            skipped_ = asciiUpper(c);
            value_.clear();
            valueCut_ = false;
            state_ = State::Value;
            // A skipped LF stays the line end: the value is empty.
            if (c == '\n') endValue();
            break;
        case State::Value: {
            const char* lf =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* stop = lf ? lf : end;
            // A CR is dropped wherever it stands in the line; past the limit the line is only
            // read.
            for (; p < stop && value_.size() < SceneryLimits.textBytes; ++p)
                if (*p != '\r') value_.push_back(*p);
            for (; p < stop && !valueCut_; ++p) valueCut_ = *p != '\r';
            p = stop;
            if (lf) endValue();
            continue;
        }
        }
        ++p;
    }
}

void SceneryMarkerScanner::endValue() {
    state_ = State::Seek;
    // The character skipped after a letter is tested as the next letter, at the line end: so
    // "//$DN" and "//$NI" also empty the title or the picture.
    if (letter_ == 'D') {
        lastDescriptionEmpty_ = value_.empty();
        const bool kept = markers_.descriptionLines.size() < DescriptionLineLimit;
        if (kept) markers_.descriptionLines.push_back(value_);
        descriptionCut_ = descriptionCut_ || !kept || valueCut_;
        if (skipped_ == 'N') setTitle({}, false);
        if (skipped_ == 'I') setPicture({}, false);
    } else if (letter_ == 'N') {
        setTitle(value_, valueCut_);
        if (skipped_ == 'I') setPicture({}, false);
    } else {
        setPicture(value_, valueCut_);
    }
}

// A title or picture that is replaced is not shown, cut or not.
void SceneryMarkerScanner::setTitle(const std::string& value, bool cut) {
    markers_.title = value;
    titleCut_ = cut;
}

void SceneryMarkerScanner::setPicture(const std::string& value, bool cut) {
    markers_.picture = value;
    pictureCut_ = cut;
}

SceneryMarkers SceneryMarkerScanner::finish() {
    // A file that ends inside a marker ends its value there.
    if (state_ == State::Skip) {
        skipped_ = 0;
        value_.clear();
        endValue();
    } else if (state_ == State::Value) {
        endValue();
    }
    // Covers a file without description and one whose last description line is empty.
    if (lastDescriptionEmpty_) markers_.descriptionLines.emplace_back(NoDescriptionLine);
    markers_.cut = descriptionCut_ || titleCut_ || pictureCut_;
    return std::move(markers_);
}

std::string sceneryFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string displayedSceneryTitle(const SceneryMarkers& markers, std::string_view fileName) {
    return markers.title.empty() ? fileNameToUtf8(fileName) : windows1250ToUtf8(markers.title);
}
