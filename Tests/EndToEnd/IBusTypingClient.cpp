// Types keys into an IBus input context that uses Kelvo's engine and prints what is committed.
// usage: ibus-typing-client ENGINE KEYS...   (KEYS: single ASCII characters, "Return", or "Shift" for
// a lone tap of the left Shift key)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ibus.h>
#include <string>
#include <thread>

namespace {

std::string committed;

void onCommit(IBusInputContext*, IBusText* text, gpointer) {
    committed += ibus_text_get_text(text);
}

void drain(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Evdev key codes on a US keyboard.
unsigned keycodeOf(char key) {
    static const char* rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`", "\\zxcvbnm,./"};
    static const unsigned firsts[] = {2, 16, 30, 43};
    for (int row = 0; row < 4; ++row)
        if (const char* at = std::strchr(rows[row], key))
            return firsts[row] + static_cast<unsigned>(at - rows[row]);
    return key == ' ' ? 57 : 0;
}

bool engineIs(IBusInputContext* context, const char* name) {
    IBusEngineDesc* desc = ibus_input_context_get_engine(context);
    return desc && std::strcmp(ibus_engine_desc_get_name(desc), name) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    for (int tries = 0; !ibus_bus_is_connected(bus) && tries < 200; ++tries)
        drain(25);
    if (!ibus_bus_is_connected(bus)) {
        std::fprintf(stderr, "no IBus\n");
        return 1;
    }
    IBusInputContext* context = ibus_bus_create_input_context(bus, "kelvo-typing-client");
    ibus_input_context_set_capabilities(context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
    g_signal_connect(context, "commit-text", G_CALLBACK(onCommit), nullptr);
    ibus_input_context_focus_in(context);
    ibus_input_context_set_engine(context, argv[1]);
    for (int tries = 0; !engineIs(context, argv[1]) && tries < 400; ++tries)
        drain(25);
    if (!engineIs(context, argv[1])) {
        std::fprintf(stderr, "engine %s not selected\n", argv[1]);
        return 1;
    }
    drain(100);
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "Shift") == 0) {
            ibus_input_context_process_key_event(context, IBUS_KEY_Shift_L, 42, 0);
            ibus_input_context_process_key_event(context, IBUS_KEY_Shift_L, 42, IBUS_SHIFT_MASK | IBUS_RELEASE_MASK);
            drain(20);
            continue;
        }
        bool isReturn = std::strcmp(argv[i], "Return") == 0;
        unsigned keyval = isReturn ? IBUS_KEY_Return : static_cast<unsigned char>(argv[i][0]);
        unsigned keycode = isReturn ? 28 : keycodeOf(argv[i][0]);
        gboolean handled = ibus_input_context_process_key_event(context, keyval, keycode, 0);
        ibus_input_context_process_key_event(context, keyval, keycode, IBUS_RELEASE_MASK);
        if (!handled && !isReturn) committed += argv[i]; // an application types a key the engine passed on
        drain(20);
    }
    drain(300);
    std::printf("%s\n", committed.c_str());
    return 0;
}
