#pragma once

#include "Engine/InputEngine.hpp"

#include <string>

namespace kelvo::term {

// The terminal's picture of the input method: the text committed so far, the marked text with its
// styles and caret, the candidate strip or grid, the English hint and the composition feedback.
struct ScreenState {
    std::string committed;
    bool chineseMode = true;
    InputEngine::Preedit preedit;
    std::optional<InputEngine::SheetView> sheet; // the candidate list, or else the English hint
    std::optional<InputEngine::Feedback> feedback;
};

ScreenState screenStateOf(const InputEngine& engine, std::string committed, bool chineseMode);

// The whole screen as text with ANSI styles; lines end with CR LF, as a raw terminal needs.
std::string renderScreen(const ScreenState& state);

} // namespace kelvo::term
