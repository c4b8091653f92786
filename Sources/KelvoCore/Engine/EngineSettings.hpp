#pragma once

#include "Detectors/EnglishDetector.hpp"
#include "Detectors/EnglishVocabulary.hpp"
#include "Formatting/TextFormatting.hpp"
#include "PersonalData/CustomTextStore.hpp"

#include <memory>

namespace kelvo {

// Everything the host decides about how the engine behaves, assigned as a whole before keys.
struct EngineSettings {
    int pageSize = 9;             // candidates per page; less than 1 counts as 1
    bool englishHint = true;      // offer the English reading of the keys
    bool automaticEnglish = true; // recognise English words typed among Zhuyin
    bool automaticNumbers = true; // recognise numbers typed on the Zhuyin keys
    bool learning = true;         // learn choices and use what was learned
    bool customText = false;      // text shortcuts typed as ";;" and a key
    TextFormatting formatting;    // applied at commit; its punctuation mode also maps punctuation keys
    std::shared_ptr<CustomTextStore> customTexts;               // where shortcuts are looked up
    std::shared_ptr<const EnglishDetector> englishDetector;     // the English word list
    std::shared_ptr<const EnglishVocabulary> englishVocabulary; // English words with their frequencies
    std::shared_ptr<const EnglishVocabulary> userVocabulary;    // the user's own words (program names)

    int effectivePageSize() const { return pageSize < 1 ? 1 : pageSize; }
    bool recognisesEnglish() const { return automaticEnglish && englishHint; }
    bool typesChinesePunctuation() const { return formatting.punctuationMode != PunctuationMode::english; }

    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

} // namespace kelvo
