// The candidate list: opening it for the segment at the cursor, the keys while it is open,
// selection into a pin, and the view the panel draws.
#include "Engine/InputEngine.hpp"
#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {
namespace {

bool sameCandidate(const DecodedSegment& a, const DecodedSegment& b) {
    return a.start == b.start && a.length == b.length && a.value == b.value;
}

} // namespace

void InputEngine::openSheet() {
    auto anchor = anchorSegment();
    if (!anchor) return;
    std::vector<DecodedSegment> all = decoder_.candidateSegments(state_.elements, anchor->start);
    const int j = *anchorIndex();
    if (j != anchor->start) {
        const std::size_t primary = all.size();
        for (DecodedSegment& extra : decoder_.candidateSegments(state_.elements, j)) {
            bool offered = std::any_of(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(primary),
                                       [&](const DecodedSegment& s) { return sameCandidate(s, extra); });
            if (!offered) all.push_back(std::move(extra));
        }
    }
    if (all.empty()) return;
    auto current = std::find_if(all.begin(), all.end(), [&](const DecodedSegment& s) {
        return s.value == anchor->value && s.length == anchor->length;
    });
    int highlighted = current == all.end() ? 0 : static_cast<int>(current - all.begin());
    state_.candidatesExpanded = false;
    state_.sheet = Sheet{std::move(all), anchor->start, highlighted};
}

bool InputEngine::openPunctuationSheet() {
    if (state_.cursor < 1) return false;
    const Element& before = state_.elements[state_.cursor - 1];
    if (before.kind != Element::Kind::literal) return false;
    std::vector<std::string> variants = Punctuation::variants(before.text);
    if (variants.empty()) return false;
    BilingualSheet sheet;
    for (std::string& variant : variants)
        sheet.choices.push_back({BilingualChoice::Kind::english, std::move(variant)});
    sheet.replacementIndex = state_.cursor - 1;
    state_.bilingual = std::move(sheet);
    return true;
}

InputEngine::MaybeOutput InputEngine::handleInSheet(const KeyInput& key) {
    Sheet& sheet = *state_.sheet;
    const int p = effectivePageSize();
    const int n = static_cast<int>(sheet.all.size());
    int& h = sheet.highlighted;
    switch (key.kind) {
    case KeyInput::Kind::character:
        if (auto digit = decimalDigitValue(key.character); digit && *digit >= 1 && *digit <= 9) {
            int k = (h / p) * p + *digit - 1;
            if (*digit <= p && k < n) select(sheet.all[k]);
            return handled();
        }
        closeSheet();
        return std::nullopt;
    case KeyInput::Kind::repeatedCharacter:
        return handled();
    case KeyInput::Kind::englishLiteral:
    case KeyInput::Kind::backspace:
        closeSheet();
        return std::nullopt;
    case KeyInput::Kind::space:
        h = (h + 1) % n;
        return handled();
    case KeyInput::Kind::enter:
        select(sheet.all[h]);
        return handled();
    case KeyInput::Kind::escape:
        closeSheet();
        return handled();
    case KeyInput::Kind::tab:
    case KeyInput::Kind::pageDown:
        h = std::min(h + p, n - 1);
        return handled();
    case KeyInput::Kind::pageUp:
        h = std::max(h - p, 0);
        return handled();
    case KeyInput::Kind::arrowLeft:
        h = std::max(h - 1, 0);
        return handled();
    case KeyInput::Kind::arrowRight:
        h = std::min(h + 1, n - 1);
        return handled();
    case KeyInput::Kind::arrowUp:
        if (!state_.candidatesExpanded)
            h = std::max(h - 1, 0);
        else if (h < p)
            state_.candidatesExpanded = false;
        else
            h = std::max(h - p, 0);
        return handled();
    case KeyInput::Kind::arrowDown:
        if (state_.candidatesExpanded)
            h = std::min(h + p, n - 1);
        else if (p < n)
            state_.candidatesExpanded = true;
        else
            h = std::min(h + 1, n - 1);
        return handled();
    }
    return handled();
}

void InputEngine::select(const DecodedSegment& segment) {
    DecodedSegment chosen = segment; // the segment may live in the sheet that closes below
    std::erase_if(state_.pins, [&](const DecodedSegment& pin) {
        return pin.start < chosen.end() && chosen.start < pin.end();
    });
    state_.pins.push_back(chosen);
    redecode();
    state_.cursor = std::min(static_cast<int>(state_.elements.size()), chosen.end() + 1);
    closeSheet();
}

bool InputEngine::selectCandidate(int index) {
    if (state_.sheet && index >= 0 && index < static_cast<int>(state_.sheet->all.size())) {
        select(state_.sheet->all[index]);
        return true;
    }
    if (state_.bilingual && index >= 0 && index < static_cast<int>(state_.bilingual->choices.size())) {
        selectBilingual(state_.bilingual->choices[index]);
        return true;
    }
    if (index == -1 && englishHintView()) return handle(KeyInput::of(KeyInput::Kind::tab)).handled;
    return false;
}

void InputEngine::setCandidatesExpanded(bool expanded) {
    if (state_.sheet && effectivePageSize() < static_cast<int>(state_.sheet->all.size()))
        state_.candidatesExpanded = expanded;
}

std::optional<InputEngine::SheetView> InputEngine::sheetView() const {
    if (state_.bilingual) return bilingualSheetView();
    if (state_.sheet && !state_.sheet->all.empty()) return candidateSheetView();
    return std::nullopt;
}

std::optional<InputEngine::SheetView> InputEngine::candidateSheetView() const {
    const Sheet& sheet = *state_.sheet;
    const int p = effectivePageSize();
    const int n = static_cast<int>(sheet.all.size());
    const int h = sheet.highlighted;
    SheetView view;
    view.pageIndex = h / p;
    view.pageCount = (n + p - 1) / p;
    view.expanded = state_.candidatesExpanded;
    view.columns = p;
    const int first = view.expanded ? 0 : view.pageIndex * p;
    const int last = view.expanded ? n : std::min((view.pageIndex + 1) * p, n);
    for (int i = first; i < last; ++i) {
        bool onHighlightedPage = i / p == view.pageIndex;
        std::string label = onHighlightedPage ? std::to_string(i % p + 1) : std::string();
        view.items.push_back(SheetView::Item{std::move(label), sheet.all[i].value, i});
    }
    view.highlightedInPage = view.expanded ? h : h - view.pageIndex * p;
    view.anchorUTF16 = utf16LengthOfTextsBefore(sheet.anchor);
    return view;
}

} // namespace kelvo
