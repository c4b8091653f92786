#include "IBusEngineClient.hpp"

#include "Windows.hpp"

namespace kelvo::platform {

void IBusEngineClient::insertText(const std::string& text) {
    if (shown_.marked && !shown_.marked->pieces.empty())
        ibus_engine_update_preedit_text_with_mode(engine_, ibus_text_new_from_string(""), 0, FALSE,
                                                  IBUS_ENGINE_PREEDIT_CLEAR);
    if (!frameworkInsertsMarked_) ibus_engine_commit_text(engine_, ibus_text_new_from_string(text.c_str()));
    shown_.marked = MarkedText{};
}

void IBusEngineClient::setMarkedText(const MarkedText& marked, std::optional<TextRange> replacing) {
    if (replacing && replacing->length > 0) deleteBeforeCaret(*replacing);
    if (!ShownState::changes(shown_.marked, marked)) return;
    std::string whole;
    for (const auto& piece : marked.pieces)
        whole += piece.text;
    if (whole.empty()) {
        ibus_engine_hide_preedit_text(engine_);
        return;
    }
    IBusText* text = ibus_text_new_from_string(whole.c_str());
    guint start = 0;
    for (const auto& piece : marked.pieces) {
        guint length = static_cast<guint>(g_utf8_strlen(piece.text.c_str(), -1));
        IBusAttribute* attribute =
            piece.style == MarkedText::Style::active
                ? ibus_attr_background_new(0xc8c8f0, start, start + length)
                : ibus_attr_underline_new(piece.style == MarkedText::Style::raw ? IBUS_ATTR_UNDERLINE_DOUBLE
                                                                                : IBUS_ATTR_UNDERLINE_SINGLE,
                                          start, start + length);
        ibus_text_append_attribute(text, attribute->type, attribute->value, attribute->start_index,
                                   attribute->end_index);
        g_object_unref(g_object_ref_sink(attribute));
        start += length;
    }
    // IBus counts characters (scalars); the caret arrives in UTF-16 units.
    const auto caret = static_cast<guint>(scalarIndexOfUTF16(whole, marked.caretUTF16));
    // The marked text is inserted by exactly one party when the composition ends without a
    // commit: by a client that does so itself, else by the client or daemon on the engine's word.
    ibus_engine_update_preedit_text_with_mode(engine_, text, caret, TRUE,
                                              kind_.insertsMarkedTextItself ? IBUS_ENGINE_PREEDIT_CLEAR
                                                                            : IBUS_ENGINE_PREEDIT_COMMIT);
}

void IBusEngineClient::showCandidates(const CandidateList& list) {
    if (!ShownState::changes(shown_.list, list)) return;
    firstShown_ = firstShownItem(list, maxTableItems);
    if (list.items.empty()) {
        if (tableShown_) ibus_engine_hide_lookup_table(engine_);
    } else {
        const int count = std::min(static_cast<int>(list.items.size()) - firstShown_, maxTableItems);
        IBusLookupTable* table =
            ibus_lookup_table_new(static_cast<guint>(count), 0, list.highlighted >= 0, FALSE);
        for (int i = firstShown_; i < firstShown_ + count; ++i) {
            const auto& item = list.items[static_cast<std::size_t>(i)];
            ibus_lookup_table_append_candidate(table, ibus_text_new_from_string(item.value.c_str()));
            ibus_lookup_table_append_label(table, ibus_text_new_from_string(item.label.c_str()));
        }
        if (list.highlighted >= firstShown_ && list.highlighted < firstShown_ + count)
            ibus_lookup_table_set_cursor_pos(table, static_cast<guint>(list.highlighted - firstShown_));
        ibus_engine_update_lookup_table(engine_, table, TRUE);
    }
    tableShown_ = !list.items.empty();
    if (!list.note.empty())
        ibus_engine_update_auxiliary_text(engine_, ibus_text_new_from_string(list.note.c_str()), TRUE);
    else if (noteShown_)
        ibus_engine_hide_auxiliary_text(engine_);
    noteShown_ = !list.note.empty();
}

void IBusEngineClient::setMenu(const std::vector<std::pair<std::string, std::string>>& items) {
    IBusPropList* list = ibus_prop_list_new();
    for (const auto& [key, label] : items)
        ibus_prop_list_append(list, ibus_property_new(key.c_str(), PROP_TYPE_NORMAL,
                                                      ibus_text_new_from_string(label.c_str()), nullptr,
                                                      nullptr, TRUE, TRUE, PROP_STATE_UNCHECKED, nullptr));
    ibus_engine_register_properties(engine_, list);
}

Rect IBusEngineClient::lineRectangle(int) {
    if (cursor_ == Rect{}) return cursor_;
    // The host places windows in logical pixels (scaled screens).
    return fromTopLeftOrigin(kind_.logicalCaret(cursor_, currentScaledScreens()));
}

std::optional<SurroundingText> IBusEngineClient::surrounding() {
    if (!(engine_->client_capabilities & IBUS_CAP_SURROUNDING_TEXT)) return std::nullopt;
    IBusText* text = nullptr;
    guint cursor = 0, anchor = 0;
    ibus_engine_get_surrounding_text(engine_, &text, &cursor, &anchor);
    if (!text) return std::nullopt;
    return SurroundingText{ibus_text_get_text(text), static_cast<int>(cursor), static_cast<int>(anchor)};
}

void IBusEngineClient::deleteBeforeCaret(TextRange range) {
    auto around = surrounding();
    const int characters = around ? around->scalarsIn(range) : range.length;
    ibus_engine_delete_surrounding_text(engine_, -characters, static_cast<guint>(characters));
}

} // namespace kelvo::platform
