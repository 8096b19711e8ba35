#pragma once

#include <thread>

// Gives the launcher's windows their style, Fusion, on whatever desktop the launcher runs, from
// its creation on, which comes once the application exists and before any window is shown.
//
// Fusion draws a group box's frame from a picture it names without its format, so that the
// toolkit loads every image plugin to guess it, in the middle of the first window's first paint.
// The plugins are loaded on a thread of its own meanwhile, while the windows are built.
class WindowStyle {
public:
    WindowStyle();

private:
    std::jthread pluginLoading_;
};
