#include "platform/Fonts.h"

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
