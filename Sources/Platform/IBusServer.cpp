#include "IBusServer.hpp"

#include "IBusClientKind.hpp"
#include "SurroundingText.hpp"
#include "Windows.hpp"
#include "XKeyTranslator.hpp"

#include <csignal>
#include <glib-unix.h>
#include <ibus.h>

namespace kelvo::platform {
namespace {

// ---- The GObject engine: one per input context, each with its handler. ----

struct KelvoEngine;

HandlerFactory* factoryFunction = nullptr;

class EngineClient : public SurroundingTextClient {
public:
    explicit EngineClient(IBusEngine* engine) : engine_(engine) {}
    // The commit takes the marked text's place. Clients keep marked text until told otherwise, and
    // the daemon inserts what is left of it when the focus moves, so it is cleared first.
    void insertText(const std::string& text) override {
        if (shown_.marked && !shown_.marked->pieces.empty())
            ibus_engine_update_preedit_text_with_mode(engine_, ibus_text_new_from_string(""), 0, FALSE,
                                                      IBUS_ENGINE_PREEDIT_CLEAR);
        if (!frameworkInsertsMarked_)
            ibus_engine_commit_text(engine_, ibus_text_new_from_string(text.c_str()));
        shown_.marked = MarkedText{};
    }
    void setClientName(std::string_view name) { kind_ = IBusClientKind::named(name); }
    void setMarkedText(const MarkedText& marked, std::optional<TextRange> replacing) override {
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
            IBusAttribute* attribute = piece.style == MarkedText::Style::active
                                           ? ibus_attr_background_new(0xc8c8f0, start, start + length)
                                           : ibus_attr_underline_new(piece.style == MarkedText::Style::raw
                                                                         ? IBUS_ATTR_UNDERLINE_DOUBLE
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

    // The desktop's IBus panel draws the list: a lookup table of the items with their labels. A
    // table holds one page of at most 16 (IBus aborts on more), so of a longer list, such as the
    // expanded grid, it gets the 16 around the highlight. Each change is a message through the
    // daemon that the key's answer waits for, so what is hidden is not hidden again.
    void showCandidates(const CandidateList& list) override {
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

    // IBus shows an engine's properties in the desktop's input source menu.
    void setMenu(const std::vector<std::pair<std::string, std::string>>& items) override {
        IBusPropList* list = ibus_prop_list_new();
        for (const auto& [key, label] : items)
            ibus_prop_list_append(list,
                                  ibus_property_new(key.c_str(), PROP_TYPE_NORMAL,
                                                    ibus_text_new_from_string(label.c_str()), nullptr,
                                                    nullptr, TRUE, TRUE, PROP_STATE_UNCHECKED, nullptr));
        ibus_engine_register_properties(engine_, list);
    }

    std::string applicationIdentifier() override { return "unknown"; } // IBus does not name the client

    // IBus reports one rectangle, the caret's, in screen coordinates with y growing downwards; it
    // serves every character.
    Rect lineRectangle(int) override {
        if (cursor_ == Rect{}) return cursor_;
        // The host places windows in logical pixels (scaled screens).
        return fromTopLeftOrigin(kind_.logicalCaret(cursor_, currentScaledScreens()));
    }
    void setCursorLocation(const Rect& rect) { cursor_ = rect; }
    void forgetShown() { shown_.forget(); }
    // Runs the host's handling of a composition the client ends (the focus moves, a click resets
    // it, the input source changes). Its commit is not sent where the client or the daemon inserts
    // the marked text itself (see IBusClientKind): it would be inserted twice, the second time into
    // whichever field has the focus by now.
    template <typename Action> void endingComposition(bool reset, Action action) {
        frameworkInsertsMarked_ = !(reset && kind_.dropsMarkedTextOnReset);
        action();
        frameworkInsertsMarked_ = false;
        shown_.forget();
    }
    const Rect& cursorLocation() const { return cursor_; }
    // The position in the host's list of a candidate the panel shows at `index`.
    int listPosition(int index) const { return firstShown_ + index; }

private:
    std::optional<SurroundingText> surrounding() override {
        if (!(engine_->client_capabilities & IBUS_CAP_SURROUNDING_TEXT)) return std::nullopt;
        IBusText* text = nullptr;
        guint cursor = 0, anchor = 0;
        ibus_engine_get_surrounding_text(engine_, &text, &cursor, &anchor);
        if (!text) return std::nullopt;
        return SurroundingText{ibus_text_get_text(text), static_cast<int>(cursor), static_cast<int>(anchor)};
    }

    // Deletes a stretch that ends at the caret, given in UTF-16 units.
    void deleteBeforeCaret(TextRange range) {
        auto around = surrounding();
        const int characters = around ? around->scalarsIn(range) : range.length;
        ibus_engine_delete_surrounding_text(engine_, -characters, static_cast<guint>(characters));
    }

    IBusEngine* engine_;
    IBusClientKind kind_;
    ShownState shown_;
    static constexpr int maxTableItems = 16;
    int firstShown_ = 0;
    bool frameworkInsertsMarked_ = false;
    bool tableShown_ = false;
    bool noteShown_ = false;
    Rect cursor_;
};

// What one engine object (one input context) holds besides its GObject part.
struct EngineState {
    explicit EngineState(IBusEngine* engine) : client(engine), handler((*factoryFunction)(client)) {}
    EngineClient client;
    std::unique_ptr<InputContextHandler> handler;
    XKeyTranslator keys;
};

struct KelvoEngine {
    IBusEngine parent;
    EngineState* state; // made on first use, freed when the engine is destroyed
};

struct KelvoEngineClass {
    IBusEngineClass parent;
};

EngineState& stateOf(IBusEngine* engine) {
    auto* self = reinterpret_cast<KelvoEngine*>(engine);
    if (!self->state) self->state = new EngineState(engine);
    return *self->state;
}

InputContextHandler* handlerOf(IBusEngine* engine) {
    return stateOf(engine).handler.get();
}

gboolean processKeyEvent(IBusEngine* engine, guint keyval, guint keycode, guint state) {
    EngineState& engineState = stateOf(engine);
    auto event = engineState.keys.translate(keyval, keycode, state, state & IBUS_RELEASE_MASK, secondsNow());
    return event && engineState.handler->handle(*event);
}

void focusIn(IBusEngine* engine) {
    stateOf(engine).client.forgetShown();
    handlerOf(engine)->activate();
}
// Recent IBus names the client that has the focus (engines made with has-focus-id).
void focusInId(IBusEngine* engine, const gchar*, const gchar* client) {
    stateOf(engine).client.setClientName(client ? client : "");
    focusIn(engine);
}
void candidateClicked(IBusEngine* engine, guint index, guint, guint) {
    EngineState& state = stateOf(engine);
    state.handler->candidateClicked(state.client.listPosition(static_cast<int>(index)));
}
// The panel's page arrows turn the host's pages.
void pageUp(IBusEngine* engine) {
    handlerOf(engine)->handle(pressOf(KeyCode::pageUp));
}
void pageDown(IBusEngine* engine) {
    handlerOf(engine)->handle(pressOf(KeyCode::pageDown));
}
void propertyActivate(IBusEngine* engine, const gchar* key, guint) {
    handlerOf(engine)->menuItemChosen(key);
}
// The caret's rectangle arrives after the preedit that moved it: panels already shown follow it.
void setCursorLocation(IBusEngine* engine, gint x, gint y, gint width, gint height) {
    EngineState& state = stateOf(engine);
    Rect rect{double(x), double(y), double(width), double(height)};
    if (state.client.cursorLocation() == rect) return;
    state.client.setCursorLocation(rect);
    state.handler->clientLineMoved();
}
void focusOut(IBusEngine* engine) {
    EngineState& state = stateOf(engine);
    state.client.endingComposition(false, [&] { state.handler->deactivate(); });
}
void focusOutId(IBusEngine* engine, const gchar*) {
    focusOut(engine);
}
void resetEngine(IBusEngine* engine) {
    EngineState& state = stateOf(engine);
    state.client.endingComposition(true, [&] { state.handler->commitComposition(); });
}
void disableEngine(IBusEngine* engine) {
    EngineState& state = stateOf(engine);
    state.client.endingComposition(false, [&] { state.handler->commitComposition(); });
}

GObjectClass* parentClass = nullptr;

void destroyEngine(IBusObject* object) {
    auto* self = reinterpret_cast<KelvoEngine*>(object);
    delete self->state;
    self->state = nullptr;
    IBUS_OBJECT_CLASS(parentClass)->destroy(object);
}

void classInit(gpointer klass, gpointer) {
    parentClass = static_cast<GObjectClass*>(g_type_class_peek_parent(klass));
    auto* engineClass = IBUS_ENGINE_CLASS(klass);
    engineClass->process_key_event = processKeyEvent;
    engineClass->focus_in = focusIn;
    engineClass->focus_out = focusOut;
    engineClass->focus_in_id = focusInId;
    engineClass->focus_out_id = focusOutId;
    engineClass->reset = resetEngine;
    engineClass->disable = disableEngine;
    engineClass->candidate_clicked = candidateClicked;
    engineClass->page_up = pageUp;
    engineClass->page_down = pageDown;
    engineClass->property_activate = propertyActivate;
    engineClass->set_cursor_location = setCursorLocation;
    IBUS_OBJECT_CLASS(klass)->destroy = destroyEngine;
}

GType engineType() {
    static GType type =
        g_type_register_static_simple(IBUS_TYPE_ENGINE, "KelvoInputController", sizeof(KelvoEngineClass),
                                      classInit, sizeof(KelvoEngine), nullptr, GTypeFlags(0));
    return type;
}

// Engines are made with has-focus-id, so that IBus names the client that takes the focus.
IBusEngine* createEngine(IBusFactory* factory, const gchar* name, gpointer) {
    static guint made = 0;
    g_autofree gchar* path = g_strdup_printf("/org/freedesktop/IBus/Engine/Kelvo/%u", ++made);
    return IBUS_ENGINE(g_object_new(engineType(), "engine-name", name, "object-path", path, "connection",
                                    ibus_service_get_connection(IBUS_SERVICE(factory)), "has-focus-id", TRUE,
                                    nullptr));
}

void quitServerLoop() {
    if (DisplaySession::isOpen())
        DisplaySession::quitLoop();
    else
        ibus_quit();
}

} // namespace

bool ibusIsRunning() {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    const bool connected = ibus_bus_is_connected(bus);
    g_object_unref(bus);
    return connected;
}

int runIBusServer(const std::string& engineName, const std::string& connectionName,
                  HandlerFactory makeHandler, Logger& log, const std::function<void()>& ready) {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!ibus_bus_is_connected(bus)) {
        log.log(Logger::Level::error, "IBus is not running");
        g_object_unref(bus);
        return 1;
    }
    HandlerFactory factory = std::move(makeHandler);
    factoryFunction = &factory;
    // With windows to show, Qt's loop runs (it dispatches GLib's sources, IBus's among them).
    const bool windowLoop = DisplaySession::isOpen();
    g_signal_connect(bus, "disconnected", G_CALLBACK(+[](IBusBus*, gpointer) { quitServerLoop(); }), nullptr);
    // Asked to end (log-out, ibus restart): the loop ends, so what was learned is saved on the way out.
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        g_unix_signal_add(
            signal,
            +[](gpointer) {
                quitServerLoop();
                return G_SOURCE_REMOVE;
            },
            nullptr);
    IBusFactory* engines = ibus_factory_new(ibus_bus_get_connection(bus));
    ibus_factory_add_engine(engines, engineName.c_str(), engineType());
    g_signal_connect(engines, "create-engine", G_CALLBACK(createEngine), nullptr);
    if (ibus_bus_request_name(bus, connectionName.c_str(), 0) == 0) {
        log.log(Logger::Level::error, "cannot own the bus name " + connectionName);
        return 1;
    }
    if (ready) ready();
    if (windowLoop)
        DisplaySession::runLoop();
    else
        ibus_main();
    g_object_unref(engines);
    g_object_unref(bus);
    factoryFunction = nullptr;
    return 0;
}

} // namespace kelvo::platform
