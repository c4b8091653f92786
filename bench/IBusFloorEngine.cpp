// The least an IBus engine that composes can do: it keeps the typed characters as underlined marked
// text and commits them at Return. Timed beside Kelvo and IBus's own keyboard engine, it shows what
// IBus itself costs an engine that shows marked text, apart from that engine's own work.
// usage: ibus-floor-engine (started by ibus-daemon from a component naming engine "kelvo-floor")
#include <ibus.h>

struct FloorEngine {
    IBusEngine parent;
    GString* typed;
};

struct FloorEngineClass {
    IBusEngineClass parent;
};

G_DEFINE_TYPE(FloorEngine, floor_engine, IBUS_TYPE_ENGINE)

namespace {

void showTyped(IBusEngine* engine, const GString* typed) {
    IBusText* text = ibus_text_new_from_string(typed->str);
    auto length = static_cast<guint>(typed->len);
    ibus_text_append_attribute(text, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0, length);
    ibus_engine_update_preedit_text_with_mode(engine, text, length, TRUE, IBUS_ENGINE_PREEDIT_COMMIT);
}

gboolean processKeyEvent(IBusEngine* engine, guint keyval, guint, guint state) {
    GString* typed = reinterpret_cast<FloorEngine*>(engine)->typed;
    if (state & IBUS_RELEASE_MASK) return FALSE;
    if (keyval == IBUS_KEY_Return) {
        if (typed->len == 0) return FALSE;
        ibus_engine_commit_text(engine, ibus_text_new_from_string(typed->str));
        g_string_truncate(typed, 0);
        ibus_engine_hide_preedit_text(engine);
        return TRUE;
    }
    if (keyval < 0x20 || keyval > 0x7e) return FALSE;
    g_string_append_c(typed, static_cast<char>(keyval));
    showTyped(engine, typed);
    return TRUE;
}

void finalize(GObject* object) {
    g_string_free(reinterpret_cast<FloorEngine*>(object)->typed, TRUE);
    G_OBJECT_CLASS(floor_engine_parent_class)->finalize(object);
}

} // namespace

static void floor_engine_init(FloorEngine* engine) {
    engine->typed = g_string_new("");
}

static void floor_engine_class_init(FloorEngineClass* engineClass) {
    IBUS_ENGINE_CLASS(engineClass)->process_key_event = processKeyEvent;
    G_OBJECT_CLASS(engineClass)->finalize = finalize;
}

int main() {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!ibus_bus_is_connected(bus)) return 1;
    IBusFactory* factory = ibus_factory_new(ibus_bus_get_connection(bus));
    ibus_factory_add_engine(factory, "kelvo-floor", floor_engine_get_type());
    ibus_bus_request_name(bus, "org.kelvo.FloorEngine", 0);
    g_signal_connect(bus, "disconnected", G_CALLBACK(ibus_quit), nullptr);
    ibus_main();
    return 0;
}
