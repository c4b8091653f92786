#include "IBusServer.hpp"

#include "KeyCodes.hpp"
#include "Windows.hpp"

#include <chrono>
#include <csignal>
#include <glib-unix.h>
#include <ibus.h>
#include <map>
#include <set>

namespace kelvo::platform {
namespace {

// Evdev key codes of the keys that have a code of their own in KeyEvent.
const std::map<unsigned, KeyCode>& namedKeys() {
    using K = KeyCode;
    static const std::map<unsigned, KeyCode> codes = {
        {28, K::returnKey},      {96, K::keypadEnter},    {15, K::tab},           {57, K::space},
        {14, K::deleteBackward}, {1, K::escape},          {104, K::pageUp},       {109, K::pageDown},
        {105, K::leftArrow},     {106, K::rightArrow},    {108, K::downArrow},    {103, K::upArrow},
        {82, K::keypad0},        {79, K::keypad1},        {80, K::keypad2},       {81, K::keypad3},
        {75, K::keypad4},        {76, K::keypad5},        {77, K::keypad6},       {71, K::keypad7},
        {72, K::keypad8},        {73, K::keypad9},        {83, K::keypadDecimal}, {78, K::keypadPlus},
        {74, K::keypadMinus},    {55, K::keypadMultiply}, {98, K::keypadDivide},  {117, K::keypadEquals},
        {42, K::leftShift},      {54, K::rightShift},     {58, K::capsLock},
    };
    return codes;
}

// What each evdev key types on a US layout, unshifted and shifted.
const std::map<unsigned, std::pair<char, char>>& usLayout() {
    static const std::map<unsigned, std::pair<char, char>> keys = [] {
        std::map<unsigned, std::pair<char, char>> table;
        auto row = [&](unsigned first, const char* plain, const char* shifted) {
            for (unsigned i = 0; plain[i]; ++i)
                table[first + i] = {plain[i], shifted[i]};
        };
        row(2, "1234567890-=", "!@#$%^&*()_+");
        row(16, "qwertyuiop[]", "QWERTYUIOP{}");
        row(30, "asdfghjkl;'`", "ASDFGHJKL:\"~");
        row(43, "\\zxcvbnm,./", "|ZXCVBNM<>?");
        table[57] = {' ', ' '};
        return table;
    }();
    return keys;
}

std::uint32_t modifierFlags(unsigned state) {
    std::uint32_t flags = 0;
    if (state & IBUS_SHIFT_MASK) flags |= modifier::shift;
    if (state & IBUS_LOCK_MASK) flags |= modifier::capsLock;
    if (state & IBUS_CONTROL_MASK) flags |= modifier::control;
    if (state & IBUS_MOD1_MASK) flags |= modifier::option;
    if (state & (IBUS_SUPER_MASK | IBUS_MOD4_MASK)) flags |= modifier::command;
    return flags;
}

bool isModifierKey(unsigned keyval) {
    switch (keyval) {
    case IBUS_KEY_Shift_L:
    case IBUS_KEY_Shift_R:
    case IBUS_KEY_Caps_Lock:
    case IBUS_KEY_Control_L:
    case IBUS_KEY_Control_R:
    case IBUS_KEY_Alt_L:
    case IBUS_KEY_Alt_R:
    case IBUS_KEY_Super_L:
    case IBUS_KEY_Super_R:
    case IBUS_KEY_Meta_L:
    case IBUS_KEY_Meta_R:
        return true;
    default:
        return false;
    }
}

std::uint32_t modifierBit(unsigned keyval) {
    switch (keyval) {
    case IBUS_KEY_Shift_L:
    case IBUS_KEY_Shift_R:
        return modifier::shift;
    case IBUS_KEY_Caps_Lock:
        return modifier::capsLock;
    case IBUS_KEY_Control_L:
    case IBUS_KEY_Control_R:
        return modifier::control;
    case IBUS_KEY_Alt_L:
    case IBUS_KEY_Alt_R:
    case IBUS_KEY_Meta_L:
    case IBUS_KEY_Meta_R:
        return modifier::option;
    default:
        return modifier::command;
    }
}

// ---- The GObject engine: one per input context, each with its handler. ----

struct KelvoEngine;

HandlerFactory* factoryFunction = nullptr;

class EngineClient : public InputClient {
public:
    explicit EngineClient(IBusEngine* engine) : engine_(engine) {}
    void insertText(const std::string& text) override {
        ibus_engine_commit_text(engine_, ibus_text_new_from_string(text.c_str()));
    }
    void setMarkedText(const MarkedText& marked, std::optional<TextRange> replacing) override {
        if (replacing && replacing->length > 0) deleteBeforeCaret(*replacing);
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
        guint caret = 0;
        int units = 0;
        for (const char* at = whole.c_str(); *at && units < marked.caretUTF16; at = g_utf8_next_char(at)) {
            units += g_utf8_get_char(at) > 0xFFFF ? 2 : 1;
            ++caret;
        }
        ibus_engine_update_preedit_text_with_mode(engine_, text, caret, TRUE, IBUS_ENGINE_PREEDIT_COMMIT);
    }

    // The desktop's IBus panel draws the list: a lookup table of the items with their labels. Each
    // change is a message through the daemon that the key's answer waits for, so what is hidden
    // is not hidden again.
    void showCandidates(const CandidateList& list) override {
        if (list.items.empty()) {
            if (tableShown_) ibus_engine_hide_lookup_table(engine_);
        } else {
            IBusLookupTable* table =
                ibus_lookup_table_new(static_cast<guint>(list.items.size()), 0, list.highlighted >= 0, FALSE);
            for (const auto& item : list.items) {
                ibus_lookup_table_append_candidate(table, ibus_text_new_from_string(item.value.c_str()));
                ibus_lookup_table_append_label(table, ibus_text_new_from_string(item.label.c_str()));
            }
            if (list.highlighted >= 0)
                ibus_lookup_table_set_cursor_pos(table, static_cast<guint>(list.highlighted));
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
        // Clients report device pixels; Qt places windows in logical ones (scaled screens).
        return fromTopLeftOrigin(logicalFromDevicePixels(cursor_, currentScaledScreens()));
    }
    void setCursorLocation(const Rect& rect) { cursor_ = rect; }
    const Rect& cursorLocation() const { return cursor_; }

    // The surrounding text, with offsets turned from the characters IBus counts into UTF-16 units.
    std::optional<TextRange> selectedRange() override {
        auto [text, cursor, anchor] = surrounding();
        if (!text) return std::nullopt;
        int from = utf16Offset(*text, std::min(cursor, anchor)),
            to = utf16Offset(*text, std::max(cursor, anchor));
        return TextRange{from, to - from};
    }

    std::optional<std::string> text(TextRange range) override {
        auto [text, cursor, anchor] = surrounding();
        if (!text) return std::nullopt;
        std::u16string units = utf16Of(*text);
        if (range.location < 0 || range.location + range.length > static_cast<int>(units.size()))
            return std::nullopt;
        return utf8Of(
            units.substr(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length)));
    }

private:
    struct Surrounding {
        std::optional<std::string> text;
        int cursor = 0;
        int anchor = 0;
    };

    Surrounding surrounding() {
        if (!(engine_->client_capabilities & IBUS_CAP_SURROUNDING_TEXT)) return {};
        IBusText* text = nullptr;
        guint cursor = 0, anchor = 0;
        ibus_engine_get_surrounding_text(engine_, &text, &cursor, &anchor);
        if (!text) return {};
        return {std::string(ibus_text_get_text(text)), static_cast<int>(cursor), static_cast<int>(anchor)};
    }

    static std::u16string utf16Of(const std::string& text) {
        glong written = 0;
        gunichar2* units = g_utf8_to_utf16(text.c_str(), -1, nullptr, &written, nullptr);
        std::u16string result(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(written));
        g_free(units);
        return result;
    }

    static std::string utf8Of(const std::u16string& units) {
        gchar* text = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(units.data()),
                                      static_cast<glong>(units.size()), nullptr, nullptr, nullptr);
        std::string result = text ? text : "";
        g_free(text);
        return result;
    }

    // UTF-16 offset of the character with index `characters` (IBus counts scalars).
    static int utf16Offset(const std::string& text, int characters) {
        int units = 0, index = 0;
        for (const char* at = text.c_str(); *at && index < characters; at = g_utf8_next_char(at), ++index)
            units += g_utf8_get_char(at) > 0xFFFF ? 2 : 1;
        return units;
    }

    // Deletes a stretch that ends at the caret, given in UTF-16 units.
    void deleteBeforeCaret(TextRange range) {
        auto [text, cursor, anchor] = surrounding();
        int characters = range.length;
        if (text) {
            std::u16string units = utf16Of(*text);
            if (range.location + range.length <= static_cast<int>(units.size()))
                characters = static_cast<int>(
                    g_utf8_strlen(utf8Of(units.substr(static_cast<std::size_t>(range.location),
                                                      static_cast<std::size_t>(range.length)))
                                      .c_str(),
                                  -1));
        }
        ibus_engine_delete_surrounding_text(engine_, -characters, static_cast<guint>(characters));
    }

    IBusEngine* engine_;
    bool tableShown_ = false;
    bool noteShown_ = false;
    Rect cursor_;
};

// What one engine object (one input context) holds besides its GObject part.
struct EngineState {
    explicit EngineState(IBusEngine* engine) : client(engine), handler((*factoryFunction)(client)) {}
    EngineClient client;
    std::unique_ptr<InputContextHandler> handler;
    std::set<unsigned> down; // keys held, to tell auto-repeats
};

struct KelvoEngine {
    IBusEngine parent;
    EngineState* state; // made on first use, freed when the engine is destroyed
};

struct KelvoEngineClass {
    IBusEngineClass parent;
};

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

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
    InputContextHandler* handler = engineState.handler.get();
    bool release = state & IBUS_RELEASE_MASK;
    bool repeat = false;
    if (release)
        engineState.down.erase(keycode);
    else
        repeat = !engineState.down.insert(keycode).second;
    KeyEvent event = keyEventFromIBus(keyval, keycode, state, repeat, now());
    if (isModifierKey(keyval)) {
        // Modifier changes carry the state after the change.
        std::uint32_t bit = modifierBit(keyval);
        if (keyval == IBUS_KEY_Caps_Lock && release) return FALSE; // Caps Lock changes on its press
        if (keyval == IBUS_KEY_Caps_Lock)
            event.modifierFlags ^= bit;
        else if (release)
            event.modifierFlags &= ~bit;
        else
            event.modifierFlags |= bit;
        event.type = KeyEvent::Type::flagsChanged;
        return handler->handle(event);
    }
    if (release) return FALSE; // releases of other keys are not the controller's
    return handler->handle(event);
}

void focusIn(IBusEngine* engine) {
    handlerOf(engine)->activate();
}
void candidateClicked(IBusEngine* engine, guint index, guint, guint) {
    handlerOf(engine)->candidateClicked(static_cast<int>(index));
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
    handlerOf(engine)->deactivate();
}
void resetEngine(IBusEngine* engine) {
    handlerOf(engine)->commitComposition();
}
void disableEngine(IBusEngine* engine) {
    handlerOf(engine)->commitComposition();
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
    engineClass->reset = resetEngine;
    engineClass->disable = disableEngine;
    engineClass->candidate_clicked = candidateClicked;
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

} // namespace

KeyEvent keyEventFromIBus(unsigned keyval, unsigned keycode, unsigned state, bool isRepeat,
                          double timestamp) {
    KeyEvent event;
    event.modifierFlags = modifierFlags(state);
    event.isARepeat = isRepeat;
    event.timestamp = timestamp;
    if (auto named = namedKeys().find(keycode); named != namedKeys().end())
        event.keyCode = code(named->second);
    if (auto key = usLayout().find(keycode); key != usLayout().end())
        event.characters = std::string(1, (state & IBUS_SHIFT_MASK) ? key->second.second : key->second.first);
    else if (keyval >= 0x20 && keyval < 0x7f)
        event.characters =
            std::string(1, static_cast<char>(keyval)); // keys outside the table: their own symbol
    return event;
}

namespace {

void quitServerLoop() {
    if (DisplaySession::isOpen())
        DisplaySession::quitLoop();
    else
        ibus_quit();
}

} // namespace

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
