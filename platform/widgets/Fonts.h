#pragma once

#include <QFont>
#include <QStringList>

#include <thread>

// The fonts the windows were designed with, mapped to installed fonts of the same metrics so
// that no caption is clipped.
enum class DesignedFace { MsSansSerif, Arial, Courier };

QFont designedFont(DesignedFace face, int pixelHeight, bool bold = false);

// The font of the windows' own texts, which their message boxes share.
QFont windowFont();

// While it lives, the windows' font is the application's. Qt lays out a text box's empty text in
// the application's font as it builds the box, before the box takes its window's font: windows
// built meanwhile load only the fonts they show. Once it ends, tooltips, menus and dialogs have
// the system's font again, and the windows keep their own.
class WindowFontAsApplicationFont {
public:
    WindowFontAsApplicationFont();
    ~WindowFontAsApplicationFont();
    WindowFontAsApplicationFont(const WindowFontAsApplicationFont&) = delete;
    WindowFontAsApplicationFont& operator=(const WindowFontAsApplicationFont&) = delete;

private:
    QFont systemFont_;
};

// Reads the system's font configuration on a thread of its own from its creation on, so that the
// reading overlaps the connection to the display rather than delaying the first window's texts.
// wait() returns once it is read; the first font lookup must come after it.
class FontConfigurationReading {
public:
    FontConfigurationReading();
    void wait();

private:
    std::jthread reading_;
};
