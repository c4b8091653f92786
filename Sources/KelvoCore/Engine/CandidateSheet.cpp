// The candidate list: opening it for the segment at the cursor, the keys while it is open,
// selection into a pin, and the view the panel draws.
#include "Engine/CandidateSheet.hpp"

#include "Engine/ComposingHabits.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {
namespace {

bool sameCandidate(const DecodedSegment& a, const DecodedSegment& b) {
    return a.start == b.start && a.length == b.length && a.value == b.value;
}

// Moves through a list of n by `step`, stopping at either end; no page size can overflow it.
int steppedForward(int h, int step, int n) {
    return n - 1 - h <= step ? n - 1 : h + step;
}

int steppedBack(int h, int step) {
    return h <= step ? 0 : h - step;
}

} // namespace

void InputEngine::openSheet() {
    auto anchor = anchorSegment();
    if (!anchor) return;
    const auto& elements = composition_.elements();
    const ComposingHabits habits(learnedModel(), composition_.pins());
    std::vector<DecodedSegment> all = decoder_.candidateSegments(elements, anchor->start, habits.model());
    const int j = *composition_.anchorIndex();
    if (j != anchor->start) {
        const std::size_t primary = all.size();
        for (DecodedSegment& extra : decoder_.candidateSegments(elements, j, habits.model())) {
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
    state_ = CandidateSheet{std::move(all), anchor->start, highlighted, false};
}

ListStep CandidateSheet::take(const KeyInput& key, int p) {
    const int n = static_cast<int>(all.size());
    int& h = highlighted;
    switch (key.kind) {
    case KeyInput::Kind::character:
        if (auto digit = decimalDigitValue(key.character); digit && *digit >= 1 && *digit <= 9) {
            // The digit's entry on the page that holds the highlight.
            if (*digit <= p && *digit - 1 < n - (h / p) * p)
                return ListStep::choose((h / p) * p + *digit - 1);
            return ListStep::stay();
        }
        return ListStep::close(false);
    case KeyInput::Kind::repeatedCharacter:
        return ListStep::stay();
    case KeyInput::Kind::englishLiteral:
    case KeyInput::Kind::backspace:
        return ListStep::close(false);
    case KeyInput::Kind::space:
        h = (h + 1) % n;
        return ListStep::stay();
    case KeyInput::Kind::enter:
        return ListStep::choose(h);
    case KeyInput::Kind::escape:
        return ListStep::close(true); // the composition stays
    case KeyInput::Kind::tab:
    case KeyInput::Kind::pageDown:
        h = steppedForward(h, p, n);
        return ListStep::stay();
    case KeyInput::Kind::pageUp:
        h = steppedBack(h, p);
        return ListStep::stay();
    case KeyInput::Kind::arrowLeft:
        h = steppedBack(h, 1);
        return ListStep::stay();
    case KeyInput::Kind::arrowRight:
        h = steppedForward(h, 1, n);
        return ListStep::stay();
    case KeyInput::Kind::arrowUp:
        if (!expanded)
            h = steppedBack(h, 1);
        else if (h < p)
            expanded = false;
        else
            h = steppedBack(h, p);
        return ListStep::stay();
    case KeyInput::Kind::arrowDown:
        if (expanded)
            h = steppedForward(h, p, n);
        else if (p < n)
            expanded = true;
        else
            h = steppedForward(h, 1, n);
        return ListStep::stay();
    }
    return ListStep::stay();
}

InputEngine::MaybeOutput InputEngine::handleInSheet(const KeyInput& key) {
    CandidateSheet& sheet = std::get<CandidateSheet>(state_);
    const ListStep step = sheet.take(key, settings_.effectivePageSize());
    switch (step.change) {
    case ListStep::Change::choose:
        select(sheet.all[step.chosen]);
        break;
    case ListStep::Change::close:
    case ListStep::Change::typeOn:
        state_ = Composing{};
        break;
    case ListStep::Change::stay:
        break;
    }
    return step.keyTaken ? MaybeOutput(handled()) : std::nullopt;
}

void InputEngine::select(DecodedSegment segment) {
    const int after = segment.end() + 1; // the next Down offers the stretch after the choice
    composition_.pin(std::move(segment));
    redecode();
    composition_.placeCursor(after);
    state_ = Composing{};
}

bool InputEngine::selectCandidate(int index) {
    presentation_.reset();
    bool taken = false;
    if (auto* sheet = std::get_if<CandidateSheet>(&state_);
        sheet && index >= 0 && index < static_cast<int>(sheet->all.size())) {
        select(sheet->all[index]);
        taken = true;
    } else if (auto* bilingual = std::get_if<BilingualSheet>(&state_);
               bilingual && index >= 0 && index < static_cast<int>(bilingual->choices.size())) {
        selectBilingual(bilingual->choices[index]);
        taken = true;
    } else if (index == -1 && englishHintView()) {
        // The hint is taken exactly as Tab takes it.
        longPressKey_.reset();
        taken = handleTab().handled;
    }
    presentation_.reset();
    return taken;
}

void InputEngine::setCandidatesExpanded(bool expanded) {
    auto* sheet = std::get_if<CandidateSheet>(&state_);
    if (sheet && settings_.effectivePageSize() < static_cast<int>(sheet->all.size()))
        sheet->expanded = expanded;
}

std::optional<InputEngine::SheetView> InputEngine::sheetView() const {
    if (const auto* sheet = std::get_if<BilingualSheet>(&state_)) return bilingualSheetView(*sheet);
    if (const auto* sheet = std::get_if<CandidateSheet>(&state_)) return candidateSheetView(*sheet);
    return std::nullopt;
}

std::optional<InputEngine::SheetView> InputEngine::candidateSheetView(const CandidateSheet& sheet) const {
    const int p = settings_.effectivePageSize();
    const int n = static_cast<int>(sheet.all.size());
    const int h = sheet.highlighted;
    SheetView view;
    view.pageIndex = h / p;
    view.pageCount = (n - 1) / p + 1;
    view.expanded = sheet.expanded;
    view.columns = p;
    const int pageStart = view.pageIndex * p;
    const int first = view.expanded ? 0 : pageStart;
    const int last = view.expanded ? n : pageStart + std::min(p, n - pageStart);
    for (int i = first; i < last; ++i) {
        bool onHighlightedPage = i / p == view.pageIndex;
        std::string label = onHighlightedPage ? std::to_string(i % p + 1) : std::string();
        const DecodedSegment& candidate = sheet.all[i];
        const int start = utf16LengthOfTextsBefore(candidate.start);
        view.items.push_back(SheetView::Item{std::move(label), candidate.value, i, start,
                                             utf16LengthOfTextsBefore(candidate.end()) - start});
    }
    view.highlightedInPage = view.expanded ? h : h - pageStart;
    view.anchorUTF16 = utf16LengthOfTextsBefore(sheet.anchor);
    return view;
}

} // namespace kelvo
