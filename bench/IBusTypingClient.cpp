// A text field on IBus that times keys: selects an engine, types keys into it and prints what the
// field holds.
// usage: ibus-typing-client [--time] [--versus OTHER]... ENGINE KEYS...
//   KEYS: single ASCII characters (a space is the Space bar), or the names of TypedKeys.hpp. With
//   --time, the keys' round trips (the call that hands a key to the daemon and returns the engine's
//   answer) are summed up on standard error; with --versus, each OTHER takes turns with ENGINE clause
//   by clause.
#include "TypedKeys.hpp"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ibus.h>
#include <string>

namespace {

std::string field; // the text field: everything before the caret
IBusInputContext* context = nullptr;

void onCommit(IBusInputContext*, IBusText* text, gpointer) {
    field += ibus_text_get_text(text);
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
    if (!handled && typed) field += typed; // an application types a key the engine passed on
    return micros;
}

// Switches the context to an engine; false when IBus does not.
bool selectMethod(const std::string& engine) {
    ibus_input_context_set_engine(context, engine.c_str());
    return typed::eventually([&] { return engineIs(engine.c_str()); }, "engine " + engine + " not selected");
}

} // namespace

int main(int argc, char** argv) {
    auto arguments = typed::Arguments::of(argc, argv);
    if (!arguments) return 2;
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!typed::eventually([&] { return ibus_bus_is_connected(bus); }, "no IBus")) return 1;
    context = ibus_bus_create_input_context(bus, "kelvo-typing-client");
    ibus_input_context_set_capabilities(context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
    g_signal_connect(context, "commit-text", G_CALLBACK(onCommit), nullptr);
    ibus_input_context_focus_in(context);
    return typed::typeAll(
        *arguments, field,
        [](const std::string& token, typed::Timings& timings) { typed::pressKeys(token, timings, press); },
        selectMethod);
}
