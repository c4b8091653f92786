#include "KelvoInputController.hpp"

#include "KeyCodes.hpp"
#include "LexiconStore.hpp"
#include "SettingKey.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

using platform::code;
using platform::KeyCode;
namespace modifier = platform::modifier;

} // namespace

KelvoInputController::KelvoInputController(platform::InputClient& client, Shared& shared)
    : client_(client), shared_(shared) {
    log("controller initialized");
}

const std::vector<std::pair<std::string, std::string>>& KelvoInputController::menuItems() {
    static const std::vector<std::pair<std::string, std::string>> items = {{"settings", "設定"},
                                                                           {"guide", "使用說明"}};
    return items;
}

bool KelvoInputController::ModeState::knownReading(std::string_view reading) {
    auto lexicon = LexiconStore::lexicon();
    return lexicon && !lexicon->unigrams(reading).empty();
}

std::optional<KeyInput> KelvoInputController::keyInput(const platform::KeyEvent& event) {
    if (platform::isKeypadCharacter(event.keyCode)) return std::nullopt; // the keypad is not the engine's
    switch (static_cast<KeyCode>(event.keyCode)) {
    case KeyCode::returnKey:
    case KeyCode::keypadEnter:
        return KeyInput::of(KeyInput::Kind::enter);
    case KeyCode::tab:
        return KeyInput::of(KeyInput::Kind::tab);
    case KeyCode::space:
        return KeyInput::of(KeyInput::Kind::space);
    case KeyCode::deleteBackward:
        return KeyInput::of(KeyInput::Kind::backspace);
    case KeyCode::escape:
        return KeyInput::of(KeyInput::Kind::escape);
    case KeyCode::pageUp:
        return KeyInput::of(KeyInput::Kind::pageUp);
    case KeyCode::pageDown:
        return KeyInput::of(KeyInput::Kind::pageDown);
    case KeyCode::leftArrow:
        return KeyInput::of(KeyInput::Kind::arrowLeft);
    case KeyCode::rightArrow:
        return KeyInput::of(KeyInput::Kind::arrowRight);
    case KeyCode::downArrow:
        return KeyInput::of(KeyInput::Kind::arrowDown);
    case KeyCode::upArrow:
        return KeyInput::of(KeyInput::Kind::arrowUp);
    default:
        break;
    }
    if (characterCount(event.characters) != 1) return std::nullopt;
    const std::string& c = event.characters;
    if (c == " ") return KeyInput::of(KeyInput::Kind::space);
    if ((event.modifierFlags & modifier::shift) && isLetter(c)) return KeyInput::english(c);
    auto scalar = firstScalar(c);
    bool lineBreak = scalar && ((*scalar >= 0x0A && *scalar <= 0x0D) || *scalar == 0x85 ||
                                *scalar == 0x2028 || *scalar == 0x2029);
    if (!isASCII(c) || lineBreak) return std::nullopt;
    return event.isARepeat ? KeyInput::repeated(lowercased(c)) : KeyInput::typed(lowercased(c));
}

InputEngine* KelvoInputController::ensureEngine() {
    if (!engine_) {
        auto lexicon = LexiconStore::lexicon();
        if (!lexicon) return nullptr; // without a dictionary every key passes through
        engine_ = std::make_unique<InputEngine>(lexicon);
        engine_->setWordPairs(LexiconStore::wordPairs());
        engine_->setUserPhrases(shared_.userPhrases);
        appliedSettings_.reset();
    }
    // Settings are read again only when they may have changed: every key comes here.
    const AppliedSettings applied{shared_.defaults.revision(), shared_.learnedDataPaused()};
    if (applied == appliedSettings_) return engine_.get();
    appliedSettings_ = applied;
    applySettings(*engine_, shared_.defaults, LexiconStore::englishDetector(), shared_.customTexts,
                  LexiconStore::englishVocabulary(), LexiconStore::programNames());
    if (applied.learningPaused) {
        EngineSettings settings = engine_->settings();
        settings.learning = false;
        engine_->setSettings(std::move(settings));
    }
    return engine_.get();
}

bool KelvoInputController::handle(const platform::KeyEvent& event) {
    ModeState& mode = shared_.mode;
    if (event.type == platform::KeyEvent::Type::flagsChanged) {
        handleFlagsChanged(event);
        return false;
    }
    if (event.type == platform::KeyEvent::Type::rightMouseDown) {
        // A right click on the composition opens its candidates (no platform delivers it on IBus).
        if (!engine_ || engine_->isIdle()) return false;
        engine_->handle(KeyInput::of(KeyInput::Kind::arrowDown));
        if (!engine_->sheetView()) return false;
        syncUI();
        return true;
    }
    if (logging()) log("controller received input event app=" + client_.applicationIdentifier());
    mode.shiftDetector.noteKeyDown(); // Shift used with a key is no tap
    if (!mode.chineseMode) return observeEnglishModeTyping(event);
    InputEngine* engine = ensureEngine();
    if (!engine) return false;
    if ((event.modifierFlags & modifier::capsLock) && !mode.capsLockOverridden) {
        if (!engine->isIdle()) flushComposition();
        return observeEnglishModeTyping(event);
    }
    auto key = (event.modifierFlags & modifier::commandKeys) ? std::nullopt : keyInput(event);
    if (!key) {
        // A shortcut or a key that is not the engine's: the composition is committed first.
        if (!engine->isIdle()) flushComposition();
        return false;
    }
    auto output = engine->handle(*key);
    if (logging())
        log("engine result handled=" + std::to_string(output.handled) +
            " preeditLength=" + std::to_string(utf16Length(engine->preedit().text())) +
            " commitLength=" + std::to_string(output.commitText ? utf16Length(*output.commitText) : 0));
    if (output.commitText) insertCommittedText(*output.commitText);
    syncUI();
    return output.handled;
}

void KelvoInputController::activate() {
    log(std::string("controller activate; Chinese=") + (shared_.mode.chineseMode ? "1" : "0"));
    shared_.mode.chineseDetector.reset();
    shared_.mode.passthroughAnchor.reset();
    log("controller client app=" + client_.applicationIdentifier());
    log("controller menu requested");
    client_.setMenu(menuItems());
}

void KelvoInputController::menuItemChosen(const std::string& key) {
    if (key == "settings") {
        commitComposition();
        shared_.showSettings();
    } else if (key == "guide") {
        shared_.openWindow("guide");
    }
}

void KelvoInputController::insertCommittedText(const std::string& text) {
    ownsMarkedText_ = false; // committing replaces the marked text
    client_.insertText(text);
    if (logging()) log("Commit delivered; remainingMarkedLength=0");
}

void KelvoInputController::deactivate() {
    if (shared_.userPhrases) shared_.userPhrases->saveSoon();
    if (shared_.panels) shared_.panels->hideComposition(this);
    shared_.mode.chineseDetector.reset();
    shared_.mode.passthroughAnchor.reset();
    commitComposition();
    if (shared_.panels) shared_.panels->hideCandidates(this);
}

void KelvoInputController::commitComposition() {
    if (ensureEngine()) flushComposition();
}

void KelvoInputController::flushComposition() {
    if (auto text = engine_->flush()) insertCommittedText(*text);
    syncUI();
}

void KelvoInputController::syncUI(std::optional<platform::TextRange> replacing) {
    takeStoreNotices();
    setMarked(replacing);
    if (shared_.panels)
        syncPanels();
    else
        syncClientList();
    notice_.reset();
}

void KelvoInputController::takeStoreNotices() {
    std::vector<StoreNotice> notices = shared_.defaults.takeNotices();
    if (shared_.userPhrases)
        for (auto& notice : shared_.userPhrases->takeNotices())
            notices.push_back(std::move(notice));
    if (shared_.customTexts)
        for (auto& notice : shared_.customTexts->takeNotices())
            notices.push_back(std::move(notice));
    for (const StoreNotice& notice : notices) {
        shared_.log.log(platform::Logger::Level::error, notice.detail);
        notice_ = notice.message;
    }
}

void KelvoInputController::setMarked(std::optional<platform::TextRange> replacing) {
    platform::MarkedText marked;
    const auto preedit = engine_->preedit();
    for (const auto& piece : preedit.pieces)
        marked.pieces.push_back({piece.text, static_cast<platform::MarkedText::Style>(piece.style)});
    marked.caretUTF16 = preedit.caretUTF16;
    if (!preedit.isEmpty()) {
        ownsMarkedText_ = true;
        client_.setMarkedText(marked, replacing);
        if (logging())
            log("Preedit delivered; expectedLength=" + std::to_string(utf16Length(preedit.text())) +
                " markedKnown=1 actualMarkedLength=" + std::to_string(utf16Length(preedit.text())));
    } else if (ownsMarkedText_) {
        // Clear only marked text this controller put there; after a commit there is none.
        ownsMarkedText_ = false;
        client_.setMarkedText(marked, replacing);
    }
}

void KelvoInputController::syncPanels() {
    panels::Panels& panels = *shared_.panels;
    auto sheet = engine_->sheetView();
    if (!sheet) sheet = engine_->englishHintView();
    auto feedback = engine_->feedback();
    auto feedbackMode = stringSetting(shared_.defaults, SettingKey::feedbackMode).value_or("off");
    const auto caret = client_.lineRectangle(engine_->preedit().caretUTF16);
    if (notice_ && !sheet)
        panels.presentComposition(InputEngine::Feedback{"", *notice_, ""}, "zhuyin", caret,
                                  client_.windowLevel(), this);
    else if (feedbackMode != "off" && feedback && !sheet)
        panels.presentComposition(*feedback, feedbackMode, caret, client_.windowLevel(), this);
    else
        panels.hideComposition(this);
    if (!sheet) {
        panels.hideCandidates(this);
        return;
    }
    std::weak_ptr<int> alive = alive_;
    auto whileAlive = [this, alive](auto change) {
        return [this, alive, change](auto argument) {
            if (alive.expired() || !engine_) return;
            change(*engine_, argument);
            syncUI();
        };
    };
    panels.presentCandidates(
        *sheet, client_.lineRectangle(sheet->anchorUTF16), client_.windowLevel(), this,
        whileAlive([](InputEngine& engine, int index) { engine.selectCandidate(index); }),
        whileAlive([](InputEngine& engine, bool expanded) { engine.setCandidatesExpanded(expanded); }));
}

void KelvoInputController::syncClientList() {
    platform::CandidateList list;
    shownIndices_.clear();
    auto sheet = engine_->sheetView();
    if (!sheet) sheet = engine_->englishHintView();
    if (sheet) {
        for (const auto& item : sheet->items) {
            list.items.push_back({item.label, item.value});
            shownIndices_.push_back(item.index);
        }
        list.highlighted = sheet->highlightedInPage;
        list.pageIndex = sheet->pageIndex;
        list.pageCount = sheet->pageCount;
        if (sheet->pageCount > 1)
            list.note = std::to_string(sheet->pageIndex + 1) + "/" + std::to_string(sheet->pageCount);
    } else if (auto feedback = engine_->feedback()) {
        // The composition feedback, when the user asked for it, as a note without candidates.
        auto feedbackMode = stringSetting(shared_.defaults, SettingKey::feedbackMode).value_or("off");
        if (feedbackMode != "off") list.note = feedback->zhuyin + "  " + feedback->rawKeys;
    }
    if (notice_ && !sheet) list.note = *notice_;
    client_.showCandidates(list);
}

void KelvoInputController::clientLineMoved() {
    if (shared_.panels && engine_) syncPanels(); // the panels follow the caret
}

void KelvoInputController::candidateClicked(int position) {
    if (!engine_ || position < 0 || position >= static_cast<int>(shownIndices_.size())) return;
    engine_->selectCandidate(shownIndices_[position]);
    syncUI();
}

} // namespace kelvo
