// A key pressed into the syllable being typed, and the run of digits it may continue or start.
#include "Engine/EngineState.hpp"
#include "Text/Characters.hpp"

namespace kelvo {

ComposingStep Composing::press(const std::string& c) {
    const bool wasEmpty = composer.isEmpty();
    const std::string keys = composer.rawKeys() + c;
    const int overwritesBefore = composer.overwriteCount();
    const auto result = composer.press(c);
    switch (result.kind) {
    case SyllableComposer::PressResult::Kind::absorbed:
        trackNumber(c, wasEmpty);
        if (number && composer.overwriteCount() >= 1) number->wasOverwritten = true;
        return {};
    case SyllableComposer::PressResult::Kind::composed:
        trackNumber(c, wasEmpty);
        if (number) {
            if (overwritesBefore >= 1) number->wasOverwritten = true;
            ++number->elements;
        }
        return ComposingStep::composed(result.syllable.canonical(), keys);
    case SyllableComposer::PressResult::Kind::rejected:
        break;
    }
    if (isNumber(c) && wasEmpty) {
        trackNumber(c, true);
        if (number) {
            number->wasLiteral = true;
            ++number->elements;
        }
        return ComposingStep::digit();
    }
    number.reset();
    return ComposingStep::rejected(!wasEmpty);
}

void Composing::trackNumber(const std::string& c, bool composerWasEmpty) {
    if (number) {
        if (NumberRun::continuedBy(c))
            number->raw += c;
        else
            number.reset();
    } else if (composerWasEmpty && isNumber(c)) {
        number = NumberRun{c};
    }
}

} // namespace kelvo
