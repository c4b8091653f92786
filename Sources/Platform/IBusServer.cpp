#include "IBusServer.hpp"

#include "IBusEngineClient.hpp"
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

// What one engine object (one input context) holds besides its GObject part.
struct EngineState {
    explicit EngineState(IBusEngine* engine) : client(engine), handler((*factoryFunction)(client)) {}
    IBusEngineClient client;
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
