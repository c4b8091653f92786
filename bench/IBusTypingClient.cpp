// A text field on IBus: selects an engine, types keys into it and prints what the field holds.
// It offers surrounding text, as editors do, so the engine may take typed letters back.
// usage: ibus-typing-client [--time] [--versus OTHER]... ENGINE KEYS...
//   KEYS: single ASCII characters (a space is the Space bar), or Return, Down, Tab, Escape, BackSpace,
//   and Shift for a lone tap of the left Shift key. With --time, the keys' round trips (the call
//   that hands a key to the daemon and returns the engine's answer) are summed up on standard error;
//   with --versus, each OTHER takes turns with ENGINE clause by clause.
#include "TypedKeys.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ibus.h>
#include <string>
#include <vector>

namespace {

std::string field; // the text field: everything before the caret
IBusInputContext* context = nullptr;

void offerSurroundingText() {
    guint caret = static_cast<guint>(g_utf8_strlen(field.c_str(), -1));
    ibus_input_context_set_surrounding_text(context, ibus_text_new_from_string(field.c_str()), caret, caret);
}

void onCommit(IBusInputContext*, IBusText* text, gpointer) {
    field += ibus_text_get_text(text);
    offerSurroundingText();
}

void onDeleteSurrounding(IBusInputContext*, gint offset, guint characters, gpointer) {
    typed::deleteBeforeEnd(field, offset, characters);
    offerSurroundingText();
}

bool engineIs(const char* name) {
    IBusEngineDesc* desc = ibus_input_context_get_engine(context);
    return desc && std::strcmp(ibus_engine_desc_get_name(desc), name) == 0;
}

// Hands one key to the daemon as a press and a release; answers the press's round trip in µs.
double press(unsigned keyval, unsigned keycode, unsigned state, const char* typed) {
    auto start = std::chrono::steady_clock::now();
    gboolean handled = ibus_input_context_process_key_event(context, keyval, keycode, state);
    double micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    ibus_input_context_process_key_event(context, keyval, keycode, state | IBUS_RELEASE_MASK);
    typed::drain(3);
    if (!handled && typed) {
        field += typed; // an application types a key the engine passed on
        offerSurroundingText();
    }
    return micros;
}

// Switches the context to an engine; false when IBus does not.
bool select(const std::string& engine) {
    ibus_input_context_set_engine(context, engine.c_str());
    return typed::eventually([&] { return engineIs(engine.c_str()); }, "engine " + engine + " not selected");
}

void typeToken(const std::string& token, typed::Timings& timings) {
    if (token == "Shift") {
        typed::drain(60); // a person's taps are further apart than the 0.05 s that count as one
        ibus_input_context_process_key_event(context, IBUS_KEY_Shift_L, typed::leftShiftCode, 0);
        ibus_input_context_process_key_event(context, IBUS_KEY_Shift_L, typed::leftShiftCode,
                                             IBUS_SHIFT_MASK | IBUS_RELEASE_MASK);
        typed::drain(5);
    } else {
        typed::pressKeys(token, timings, press);
    }
}

} // namespace

int main(int argc, char** argv) {
    auto arguments = typed::Arguments::of(argc, argv);
    if (!arguments) return 2;
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!typed::eventually([&] { return ibus_bus_is_connected(bus); }, "no IBus")) return 1;
    context = ibus_bus_create_input_context(bus, "kelvo-typing-client");
    ibus_input_context_set_capabilities(context,
                                        IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS | IBUS_CAP_SURROUNDING_TEXT);
    g_signal_connect(context, "commit-text", G_CALLBACK(onCommit), nullptr);
    g_signal_connect(context, "delete-surrounding-text", G_CALLBACK(onDeleteSurrounding), nullptr);
    ibus_input_context_focus_in(context);
    return typed::typeAll(*arguments, field, typeToken, [](const std::string& method) {
        if (!select(method)) return false;
        offerSurroundingText();
        return true;
    });
}
