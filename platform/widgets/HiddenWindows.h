#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

// The launcher's windows out of the way while a start is watched, and back as they were, the
// one that had the keyboard having it again.
class HiddenWindows {
public:
    // Hides every window of the launcher that is shown.
    void hide();
    // Shows again the windows hide took away.
    void showAgain();

private:
    std::vector<QPointer<QWidget>> windows_;
    QPointer<QWidget> active_;
};
