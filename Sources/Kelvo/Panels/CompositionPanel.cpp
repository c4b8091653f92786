#include "CompositionPanel.hpp"

#include "CandidateView.hpp"
#include "PanelGeometry.hpp"
#include "Windows/WindowSupport.hpp"

#include <QLabel>
#include <QVBoxLayout>

namespace kelvo::panels {
namespace {

QLabel* line(const std::string& text, QFont font, bool secondary) {
    auto* label = new QLabel(QString::fromStdString(text));
    label->setFont(font);
    label->setMaximumWidth(380);
    if (secondary) dim(*label, 0.55);
    return label;
}

} // namespace

CompositionView::CompositionView(const InputEngine::Feedback& feedback, const std::string& mode) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(line(feedback.text, systemFont(15, QFont::Medium), false));
    if (mode == "zhuyin" || mode == "both") layout->addWidget(line(feedback.zhuyin, systemFont(13), true));
    if (mode == "raw" || mode == "both") {
        QFont mono = systemFont(12);
        mono.setFamily("monospace");
        mono.setStyleHint(QFont::Monospace);
        layout->addWidget(line(feedback.rawKeys, mono, true));
    }
}

QStringList CompositionView::lines() const {
    QStringList texts;
    for (auto* label : findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

CompositionPanel& CompositionPanel::shared() {
    static CompositionPanel* panel = new CompositionPanel; // kept for the whole process
    return *panel;
}

void CompositionPanel::present(const InputEngine::Feedback& feedback, const std::string& mode,
                               const Rect& caret, int clientLevel, const void* owner) {
    if (caret.width <= 0 && caret.height <= 0) {
        hide(owner);
        return;
    }
    window_.ownership.claim(owner);
    window_.setContent(new CompositionView(feedback, mode));
    window_.showUnder(caret, screenHolding(platform::currentScreens(), {caret.x, caret.y}), clientLevel);
}

void CompositionPanel::hide(const void* owner) {
    window_.hideFor(owner);
}

} // namespace kelvo::panels
