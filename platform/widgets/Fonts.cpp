#include "platform/widgets/Fonts.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cstdlib>

QFont designedFont(DesignedFace face, int pixelHeight, bool bold) {
    QFont font;
    switch (face) {
    // Liberation Sans has Arial's widths, and at the same height is no wider than the old
    // bitmap sans font was.
    case DesignedFace::MsSansSerif:
    case DesignedFace::Arial:
        font.setFamilies(QStringList{"Liberation Sans", "Arial", "DejaVu Sans"});
        break;
    case DesignedFace::Courier:
        font.setFamilies(QStringList{"Liberation Mono", "Courier New", "DejaVu Sans Mono"});
        font.setStyleHint(QFont::Monospace);
        break;
    }
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont windowFont() {
    return designedFont(DesignedFace::MsSansSerif, 11);
}

WindowFontAsApplicationFont::WindowFontAsApplicationFont() : systemFont_(QApplication::font()) {
    QApplication::setFont(windowFont());
}

WindowFontAsApplicationFont::~WindowFontAsApplicationFont() {
    QApplication::setFont(systemFont_);
}

// The toolkit looks its fonts up in fontconfig's current configuration, which the first call
// reads from the configuration and cache files; later calls find it made.
FontConfigurationReading::FontConfigurationReading() {
    // While it connects, the toolkit takes a desktop's start notice out of the environment, which
    // fontconfig, reading the environment meanwhile, could see half moved: it is then read later.
    if (std::getenv("DESKTOP_STARTUP_ID")) return;
    // fontconfig reads numbers in the locale that the toolkit sets from the environment as it
    // starts; set first, the toolkit's setting it again changes nothing under the reading.
    std::setlocale(LC_ALL, "");
    reading_ = std::jthread([] { FcInit(); });
}

void FontConfigurationReading::wait() {
    if (reading_.joinable()) reading_.join();
}
