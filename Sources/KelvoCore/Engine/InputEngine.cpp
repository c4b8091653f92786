// The engine's settings and learned data, and the editing primitives every state uses: each edit
// of the composition re-decodes it.
#include "Engine/InputEngine.hpp"

#include "Engine/ComposingHabits.hpp"
#include "Text/Characters.hpp"

namespace kelvo {

InputEngine::InputEngine(std::shared_ptr<const Lexicon> lexicon)
    : lexicon_(lexicon), keyModel_(DachenKeyModel::of(lexicon)), decoder_(std::move(lexicon)) {}

void InputEngine::setSettings(EngineSettings settings) {
    const bool learningChanged = settings.learning != settings_.learning;
    settings_ = std::move(settings);
    if (learningChanged) redecode();
    presentation_.reset();
}

void InputEngine::setWordPairs(std::shared_ptr<const WordPairModel> model) {
    decoder_.wordPairs = std::move(model);
    redecode();
    presentation_.reset();
}

void InputEngine::setUserPhrases(std::shared_ptr<UserPhraseStore> store) {
    userPhrases_ = std::move(store);
    redecode();
    presentation_.reset();
}

const LearnedModel* InputEngine::learnedModel() const {
    return settings_.learning ? userPhrases_.get() : nullptr;
}

bool InputEngine::isIdle() const {
    return composition_.isEmpty() && composer().isEmpty() && !std::holds_alternative<HeldEnglish>(state_) &&
           !std::holds_alternative<ShortcutBuffer>(state_);
}

bool InputEngine::candidatesExpanded() const {
    const auto* sheet = std::get_if<CandidateSheet>(&state_);
    return sheet && sheet->expanded;
}

void InputEngine::endLiteralRun() {
    if (auto* run = std::get_if<LiteralRun>(&state_)) state_ = Composing{run->composer, std::nullopt};
    presentation_.reset();
}

// The syllable under way belongs to the states that compose syllables; the others have none.
SyllableComposer* InputEngine::mutableComposer() {
    if (auto* state = std::get_if<Composing>(&state_)) return &state->composer;
    if (auto* state = std::get_if<LiteralRun>(&state_)) return &state->composer;
    if (auto* state = std::get_if<BilingualSheet>(&state_)) return &state->underneath.composer;
    return nullptr;
}

const SyllableComposer& InputEngine::composer() const {
    static const SyllableComposer none;
    const SyllableComposer* current = const_cast<InputEngine*>(this)->mutableComposer(); // read only
    return current ? *current : none;
}

void InputEngine::clearComposer() {
    if (SyllableComposer* composer = mutableComposer()) composer->clear();
}

void InputEngine::insertElement(Element element, std::string keys) {
    composition_.insert(std::move(element), std::move(keys));
    redecode();
}

void InputEngine::insertLiteralCharacters(std::string_view text) {
    for (std::string_view character : characterViews(text))
        insertLiteral(std::string(character));
}

void InputEngine::removeElementBeforeCursor() {
    composition_.removeBeforeCursor();
    redecode();
}

void InputEngine::removeElements(int count) {
    for (int n = std::min(composition_.cursor(), count); n > 0; --n)
        removeElementBeforeCursor();
}

void InputEngine::redecode() {
    const ComposingHabits habits(learnedModel(), composition_.pins());
    decoded_ = decoder_.walk(composition_.elements(), composition_.pins(), habits.model());
}

void InputEngine::reset() {
    state_ = Composing{};
    composition_ = Composition{};
    decoded_.clear();
}

std::optional<DecodedSegment> InputEngine::anchorSegment() const {
    auto index = composition_.anchorIndex();
    if (!index) return std::nullopt;
    for (const DecodedSegment& segment : decoded_)
        if (segment.start <= *index && *index < segment.end()) return segment;
    return std::nullopt;
}

} // namespace kelvo
