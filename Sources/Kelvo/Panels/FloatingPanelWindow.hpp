#pragma once

#include "PanelOwnership.hpp"
#include "ScreenGeometry.hpp"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

namespace kelvo::panels {

using platform::Rect;

// A floating window under the caret that never takes focus: keys keep going to the client. It holds
// one content view, replaced whole on each presentation, and remembers where it was put (host
// coordinates) and at which level, which X11 cannot express beyond "on top".
class FloatingPanelWindow {
public:
    explicit FloatingPanelWindow(double cornerRadius);

    // The previous content is deleted once control returns to the event loop: it may be the view
    // whose click led here.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }
    // The content's fitting size.
    QSize fittingSize() const;
    void showAt(const Rect& frame, int level);
    // Shows the content at its fitting size under the caret line, kept on that screen, one level
    // above the client.
    void showUnder(const Rect& caret, const std::optional<platform::Screen>& screen, int clientLevel);
    void hide();
    // Hides it when `owner` owns it or nobody does.
    void hideFor(const void* owner);
    bool isVisible() const { return window_->isVisible(); }
    const Rect& frame() const { return frame_; }
    int level() const { return level_; }
    QWidget& window() { return *window_; }

    PanelOwnership ownership;

private:
    std::unique_ptr<QWidget> window_;
    QPointer<QWidget> content_;
    Rect frame_;
    int level_ = 0;
};

} // namespace kelvo::panels
