#pragma once

#include <functional>
#include <memory>
#include <utility>

// A secondary window that is built the first time something uses it, rather than while the
// launcher starts: until then it could only have been hidden, so nothing the player sees depends
// on when that is. What only concerns a window already built, such as the language it shows or
// the state of one of its controls, asks built() first rather than build it for nothing.
template <class Window> class BuiltWhenNeeded {
public:
    explicit BuiltWhenNeeded(std::function<std::unique_ptr<Window>()> build)
        : build_(std::move(build)) {}

    Window& get() {
        if (!window_) window_ = build_();
        return *window_;
    }
    Window* operator->() { return &get(); }
    bool built() const { return window_ != nullptr; }

private:
    std::function<std::unique_ptr<Window>()> build_;
    std::unique_ptr<Window> window_;
};
