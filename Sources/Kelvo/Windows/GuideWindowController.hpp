#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace kelvo {

// How to type with Kelvo: a static page of keys and what they do.
class GuideView : public QWidget {
public:
    struct Shortcut {
        std::string keys;
        std::string detail;
    };
    static const std::vector<Shortcut>& chinese();
    static const std::vector<Shortcut>& mixed();
    static const std::vector<Shortcut>& smart();

    GuideView();
};

// The guide window, one per process, kept when closed.
class GuideWindowController {
public:
    static GuideWindowController& shared();
    void show();
    QWidget* window() const { return window_.get(); }

private:
    GuideWindowController() = default;
    std::unique_ptr<QWidget> window_;
};

} // namespace kelvo
