#include "Engine/LearnedDataHooks.hpp"

namespace kelvo {

void installLearnedDataHooks(SentenceDecoder& decoder, const std::shared_ptr<UserPhraseStore>& store,
                             const std::shared_ptr<const bool>& learningEnabled) {
    std::weak_ptr<UserPhraseStore> weakStore = store;
    std::weak_ptr<const bool> weakLearning = learningEnabled;
    auto learned = [weakStore, weakLearning]() -> std::shared_ptr<UserPhraseStore> {
        auto learning = weakLearning.lock();
        if (!learning || !*learning) return nullptr;
        return weakStore.lock();
    };
    decoder.scoreBonus = [learned](std::string_view reading, std::string_view value) {
        auto store = learned();
        return store ? store->bonus(reading, value) : 0.0;
    };
    decoder.extraUnigrams = [learned](std::string_view reading) {
        auto store = learned();
        return store ? store->userWords(reading) : std::vector<Unigram>{};
    };
    decoder.transitionBonus = [learned](std::string_view previous) -> SentenceDecoder::TransitionScorer {
        auto store = learned();
        if (!store) return {};
        auto row = store->transitionsFrom(previous);
        if (!row) return {};
        // The row points into the store, which its owner keeps while the hooks are installed; a
        // scorer lives only for one walk.
        return [row](std::string_view value) { return row.bonus(value); };
    };
}

void removeLearnedDataHooks(SentenceDecoder& decoder) {
    decoder.scoreBonus = nullptr;
    decoder.extraUnigrams = nullptr;
    decoder.transitionBonus = nullptr;
}

} // namespace kelvo
