#include "Fcitx5Engine.hpp"

#include "KeyCodes.hpp"
#include "SurroundingText.hpp"
#include "XKeyTranslator.hpp"

#include <fcitx/candidatelist.h>
#include <fcitx/inputcontext.h>
#include <fcitx/inputcontextmanager.h>
#include <fcitx/inputpanel.h>
#include <fcitx/statusarea.h>
#include <fcitx/userinterfacemanager.h>

namespace kelvo::platform {
namespace {

// X key codes are evdev codes offset by 8.
constexpr int xKeycodeOffset = 8;

fcitx::TextFormatFlags formatOf(MarkedText::Style style) {
    switch (style) {
    case MarkedText::Style::active:
        return {fcitx::TextFormatFlag::HighLight, fcitx::TextFormatFlag::Underline};
    case MarkedText::Style::raw:
        return {fcitx::TextFormatFlag::Underline, fcitx::TextFormatFlag::Bold};
    case MarkedText::Style::converted:
        break;
    }
    return fcitx::TextFormatFlag::Underline;
}

} // namespace

// One input context's handler and its client, kept with the context.
class Fcitx5ContextState : public fcitx::InputContextProperty, public SurroundingTextClient {
public:
    Fcitx5ContextState(fcitx::InputContext& context, Fcitx5Engine& engine, const HandlerFactory& makeHandler)
        : context_(context), engine_(engine), makeHandler_(makeHandler) {}

    // Made when the context first meets the engine: contexts that exist when the engine starts get
    // their state before the engine is whole.
    InputContextHandler& handler() {
        if (!handler_) handler_ = makeHandler_(*this);
        return *handler_;
    }
    XKeyTranslator& keys() { return keys_; }

    // The commit takes the marked text's place; clients keep marked text until told otherwise.
    void insertText(const std::string& text) override {
        if (shown_.marked && !shown_.marked->pieces.empty()) setMarkedText(MarkedText{}, std::nullopt);
        if (!frameworkInsertsMarked_) context_.commitString(text);
    }
    void forgetShown() { shown_.forget(); }

    // Runs the host's handling of a composition the client ends. When the focus moves or the client
    // resets the composition, Fcitx5 or its client inserts the marked text itself; a commit then
    // would insert it twice. When the input method changes, nobody does, and the commit is sent.
    template <typename Action> void endingComposition(bool frameworkInsertsMarked, Action action) {
        frameworkInsertsMarked_ = frameworkInsertsMarked;
        action();
        frameworkInsertsMarked_ = false;
        shown_.forget();
    }

    void setMarkedText(const MarkedText& marked, std::optional<TextRange> replacing) override {
        if (replacing && replacing->length > 0) {
            auto around = surrounding();
            const int characters = around ? around->scalarsIn(*replacing) : replacing->length;
            context_.deleteSurroundingText(-characters, static_cast<unsigned>(characters));
        }
        if (!ShownState::changes(shown_.marked, marked)) return;
        fcitx::Text text;
        std::string whole;
        for (const auto& piece : marked.pieces) {
            text.append(piece.text, formatOf(piece.style));
            whole += piece.text;
        }
        text.setCursor(whole.empty() ? -1 : byteOffsetOfUTF16(whole, marked.caretUTF16));
        auto& panel = context_.inputPanel();
        // Clients that draw no marked text of their own see it in Fcitx5's panel.
        if (context_.capabilityFlags().test(fcitx::CapabilityFlag::Preedit)) {
            panel.setClientPreedit(text);
            context_.updatePreedit();
        } else {
            panel.setPreedit(text);
            context_.updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
        }
    }

    void showCandidates(const CandidateList& list) override;

    void setMenu(const std::vector<std::pair<std::string, std::string>>& items) override {
        auto& area = context_.statusArea();
        area.clearGroup(fcitx::StatusGroup::InputMethod);
        for (const auto& [key, label] : items)
            area.addAction(fcitx::StatusGroup::InputMethod, engine_.actionFor(key, label));
        context_.updateUserInterface(fcitx::UserInterfaceComponent::StatusArea);
    }

    std::string applicationIdentifier() override {
        return context_.program().empty() ? "unknown" : context_.program();
    }

    // Fcitx5 places its own list; the host's panels are not used under it.
    Rect lineRectangle(int) override { return {}; }

private:
    std::optional<SurroundingText> surrounding() override {
        if (!context_.capabilityFlags().test(fcitx::CapabilityFlag::SurroundingText)) return std::nullopt;
        const auto& around = context_.surroundingText();
        if (!around.isValid()) return std::nullopt;
        return SurroundingText{around.text(), static_cast<int>(around.cursor()),
                               static_cast<int>(around.anchor())};
    }

    fcitx::InputContext& context_;
    Fcitx5Engine& engine_;
    const HandlerFactory& makeHandler_;
    std::unique_ptr<InputContextHandler> handler_;
    XKeyTranslator keys_;
    ShownState shown_;
    bool frameworkInsertsMarked_ = false;
};

namespace {

// A candidate of the shown page: choosing it is a click on its position.
class PageCandidate : public fcitx::CandidateWord {
public:
    PageCandidate(const std::string& value, int position, InputContextHandler& handler)
        : fcitx::CandidateWord(fcitx::Text(value)), position_(position), handler_(handler) {}
    void select(fcitx::InputContext*) const override { handler_.candidateClicked(position_); }

private:
    int position_;
    InputContextHandler& handler_;
};

// The page the host shows, as Fcitx5's list: its labels, the highlight, and paging arrows that
// turn the host's pages.
class PageCandidateList : public fcitx::CandidateList, public fcitx::PageableCandidateList {
public:
    PageCandidateList(const platform::CandidateList& list, InputContextHandler& handler)
        : handler_(handler), cursor_(list.highlighted), page_(list.pageIndex), pages_(list.pageCount) {
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            labels_.emplace_back(list.items[i].label + ".");
            words_.push_back(
                std::make_unique<PageCandidate>(list.items[i].value, static_cast<int>(i), handler));
        }
        setPageable(this);
    }

    const fcitx::Text& label(int index) const override { return labels_.at(static_cast<std::size_t>(index)); }
    const fcitx::CandidateWord& candidate(int index) const override {
        return *words_.at(static_cast<std::size_t>(index));
    }
    int size() const override { return static_cast<int>(words_.size()); }
    int cursorIndex() const override { return cursor_; }
    fcitx::CandidateLayoutHint layoutHint() const override { return fcitx::CandidateLayoutHint::NotSet; }

    bool hasPrev() const override { return page_ > 0; }
    bool hasNext() const override { return page_ + 1 < pages_; }
    void prev() override { handler_.handle(pressOf(KeyCode::pageUp)); }
    void next() override { handler_.handle(pressOf(KeyCode::pageDown)); }
    bool usedNextBefore() const override { return true; }
    int totalPages() const override { return pages_; }
    int currentPage() const override { return page_; }

private:
    InputContextHandler& handler_;
    std::vector<fcitx::Text> labels_;
    std::vector<std::unique_ptr<PageCandidate>> words_;
    int cursor_;
    int page_;
    int pages_;
};

} // namespace

void Fcitx5ContextState::showCandidates(const CandidateList& list) {
    if (!ShownState::changes(shown_.list, list)) return;
    auto& panel = context_.inputPanel();
    if (list.items.empty())
        panel.setCandidateList(nullptr);
    else
        panel.setCandidateList(std::make_unique<PageCandidateList>(list, handler()));
    panel.setAuxUp(fcitx::Text(list.note));
    context_.updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

Fcitx5Engine::Fcitx5Engine(fcitx::Instance* instance, HandlerFactory makeHandler)
    : instance_(instance), makeHandler_(std::move(makeHandler)),
      states_([this](fcitx::InputContext& context) {
          return new Fcitx5ContextState(context, *this, makeHandler_);
      }) {
    instance_->inputContextManager().registerProperty("kelvoState", &states_);
    // A lone Shift tap switches between Chinese and English, as under IBus. Fcitx5 takes Left Shift
    // before any input method sees it (to switch to the first input method), so in contexts of this
    // engine Shift comes here first, and goes no further.
    shiftWatcher_ =
        instance_->watchEvent(fcitx::EventType::InputContextKeyEvent,
                              fcitx::EventWatcherPhase::PreInputMethod, [this](fcitx::Event& event) {
                                  auto& keyEvent = static_cast<fcitx::KeyEvent&>(event);
                                  const auto sym = keyEvent.rawKey().sym();
                                  if (sym != FcitxKey_Shift_L && sym != FcitxKey_Shift_R) return;
                                  if (instance_->inputMethodEngine(keyEvent.inputContext()) != this) return;
                                  deliver(keyEvent);
                                  keyEvent.filter();
                              });
}

Fcitx5Engine::~Fcitx5Engine() = default;

void Fcitx5Engine::dropHandlers() {
    shiftWatcher_.reset();
    states_.unregister();
}

Fcitx5ContextState& Fcitx5Engine::stateOf(fcitx::InputContext& context) {
    return *context.propertyFor(&states_);
}

fcitx::Action* Fcitx5Engine::actionFor(const std::string& key, const std::string& label) {
    auto& action = actions_[key];
    if (!action) {
        action = std::make_unique<fcitx::SimpleAction>();
        action->setShortText(label);
        action->connect<fcitx::SimpleAction::Activated>([this, key](fcitx::InputContext* context) {
            if (context) stateOf(*context).handler().menuItemChosen(key);
        });
        instance_->userInterfaceManager().registerAction("kelvo-" + key, action.get());
    }
    return action.get();
}

bool Fcitx5Engine::deliver(fcitx::KeyEvent& keyEvent) {
    auto& state = stateOf(*keyEvent.inputContext());
    const fcitx::Key& raw = keyEvent.rawKey();
    auto event = state.keys().translate(
        static_cast<unsigned>(raw.sym()), static_cast<unsigned>(std::max(raw.code() - xKeycodeOffset, 0)),
        static_cast<unsigned>(raw.states()), keyEvent.isRelease(), secondsNow());
    return event && state.handler().handle(*event);
}

void Fcitx5Engine::keyEvent(const fcitx::InputMethodEntry&, fcitx::KeyEvent& keyEvent) {
    if (deliver(keyEvent)) keyEvent.filterAndAccept();
}

void Fcitx5Engine::activate(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    auto& state = stateOf(*event.inputContext());
    state.forgetShown();
    state.handler().activate();
}

void Fcitx5Engine::deactivate(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    auto& state = stateOf(*event.inputContext());
    state.endingComposition(event.type() == fcitx::EventType::InputContextFocusOut,
                            [&] { state.handler().deactivate(); });
}

void Fcitx5Engine::reset(const fcitx::InputMethodEntry&, fcitx::InputContextEvent& event) {
    auto& state = stateOf(*event.inputContext());
    state.endingComposition(true, [&] { state.handler().commitComposition(); });
}

} // namespace kelvo::platform
