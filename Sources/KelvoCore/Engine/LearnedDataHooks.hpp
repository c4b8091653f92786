#pragma once

#include "Dictionary/SentenceDecoder.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <memory>

namespace kelvo {

// Lets the decoder read learned data: choices raise words, learned words join their readings, and
// word pairs favour familiar sequences. The hooks hold the store and the learning switch weakly;
// when either is gone, or learning is off, they answer as if nothing were learned.
void installLearnedDataHooks(SentenceDecoder& decoder, const std::shared_ptr<UserPhraseStore>& store,
                             const std::shared_ptr<const bool>& learningEnabled);

void removeLearnedDataHooks(SentenceDecoder& decoder);

} // namespace kelvo
