// A text field on Fcitx5's D-Bus frontend: makes an input context, switches it to an input method,
// types keys into it and prints what the field holds. It offers surrounding text and asks to draw
// the candidate list itself, so it sees the list the engine shows.
// usage: fcitx5-typing-client [--time] [--versus OTHER]... INPUT_METHOD KEYS...
//   KEYS: single ASCII characters (a space is the Space bar), the names of TypedKeys.hpp, Shift for a
//   lone tap of the left Shift key, PickN to click the Nth shown candidate (from 0), and List to
//   print the shown candidates on standard error. With --time, the keys' round trips are summed up
//   on standard error; with --versus, each OTHER takes turns with INPUT_METHOD clause by clause.
#include "TypedKeys.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <gio/gio.h>
#include <string>
#include <vector>

namespace {

constexpr const char* service = "org.fcitx.Fcitx5";
constexpr const char* contextInterface = "org.fcitx.Fcitx.InputContext1";
// Preedit, formatted preedit, surrounding text, and the candidate list drawn by the client.
constexpr guint64 capabilities = (1ull << 1) | (1ull << 4) | (1ull << 6) | (1ull << 39);

GDBusConnection* bus = nullptr;
std::string contextPath;
std::string field;     // the text field: everything before the caret
std::string shownList; // the candidate list as last shown

GVariant* call(const char* path, const char* interface, const char* method, GVariant* parameters,
               const GVariantType* replyType = nullptr) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, service, path, interface, method, parameters,
                                                  replyType, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
    if (!reply) {
        std::fprintf(stderr, "%s: %s\n", method, error->message);
        g_error_free(error);
        std::exit(1);
    }
    return reply;
}

void callOnContext(const char* method, GVariant* parameters = nullptr) {
    g_variant_unref(call(contextPath.c_str(), contextInterface, method, parameters));
}

void offerSurroundingText() {
    auto caret = static_cast<guint>(g_utf8_strlen(field.c_str(), -1));
    callOnContext("SetSurroundingText", g_variant_new("(suu)", field.c_str(), caret, caret));
}

// Candidates as "label value" items, the highlighted one in brackets, and the paging arrows.
std::string listText(GVariant* candidates, gint32 highlighted, gboolean hasPrev, gboolean hasNext) {
    std::string text;
    GVariantIter iter;
    g_variant_iter_init(&iter, candidates);
    const char *label = nullptr, *value = nullptr;
    for (int index = 0; g_variant_iter_next(&iter, "(&s&s)", &label, &value); ++index) {
        std::string item = std::string(label) + value;
        text += (index == highlighted ? "[" + item + "]" : item) + " ";
    }
    if (hasPrev) text += "<prev> ";
    if (hasNext) text += "<next>";
    return text;
}

void onSignal(GDBusConnection*, const char*, const char*, const char*, const char* name, GVariant* parameters,
              gpointer) {
    const std::string signal = name;
    if (signal == "CommitString") {
        const char* text = nullptr;
        g_variant_get(parameters, "(&s)", &text);
        field += text;
        offerSurroundingText();
    } else if (signal == "DeleteSurroundingText") {
        gint32 offset = 0;
        guint32 characters = 0;
        g_variant_get(parameters, "(iu)", &offset, &characters);
        typed::deleteBeforeEnd(field, offset, characters);
        offerSurroundingText();
    } else if (signal == "UpdateClientSideUI") {
        GVariant *preedit = nullptr, *auxUp = nullptr, *auxDown = nullptr, *candidates = nullptr;
        gint32 cursor = 0, highlighted = 0, layout = 0;
        gboolean hasPrev = FALSE, hasNext = FALSE;
        g_variant_get(parameters, "(@a(si)i@a(si)@a(si)@a(ss)iibb)", &preedit, &cursor, &auxUp, &auxDown,
                      &candidates, &highlighted, &layout, &hasPrev, &hasNext);
        shownList = listText(candidates, highlighted, hasPrev, hasNext);
        for (GVariant* value : {preedit, auxUp, auxDown, candidates})
            g_variant_unref(value);
    }
}

// Hands one key to Fcitx5 as a press and a release; answers the press's round trip in µs.
double press(unsigned keysym, unsigned evdevCode, unsigned state, const char* typed) {
    const guint keycode = evdevCode + 8; // X key codes
    auto start = std::chrono::steady_clock::now();
    GVariant* reply =
        call(contextPath.c_str(), contextInterface, "ProcessKeyEvent",
             g_variant_new("(uuubu)", keysym, keycode, state, FALSE, 0u), G_VARIANT_TYPE("(b)"));
    double micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    gboolean handled = FALSE;
    g_variant_get(reply, "(b)", &handled);
    g_variant_unref(reply);
    g_variant_unref(call(contextPath.c_str(), contextInterface, "ProcessKeyEvent",
                         g_variant_new("(uuubu)", keysym, keycode, state, TRUE, 0u)));
    typed::drain(3);
    if (!handled && typed) {
        field += typed; // an application types a key the engine passed on
        offerSurroundingText();
    }
    return micros;
}

bool ownerPresent() {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", service), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
    gboolean present = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &present);
        g_variant_unref(reply);
    }
    return present;
}

std::string currentInputMethod() {
    GVariant* reply = call("/controller", "org.fcitx.Fcitx.Controller1", "CurrentInputMethod", nullptr,
                           G_VARIANT_TYPE("(s)"));
    const char* name = nullptr;
    g_variant_get(reply, "(&s)", &name);
    std::string result = name;
    g_variant_unref(reply);
    return result;
}

// Switches the focused context to an input method; false when Fcitx5 does not.
bool select(const std::string& inputMethod) {
    g_variant_unref(call("/controller", "org.fcitx.Fcitx.Controller1", "SetCurrentIM",
                         g_variant_new("(s)", inputMethod.c_str())));
    return typed::eventually([&] { return currentInputMethod() == inputMethod; },
                             "input method " + inputMethod + " not selected");
}

void typeToken(const std::string& token, typed::Timings& timings) {
    if (token == "Shift") {
        typed::drain(60); // a person's taps are further apart than the 0.05 s that count as one
        const guint keycode = typed::leftShiftCode + 8;
        g_variant_unref(call(contextPath.c_str(), contextInterface, "ProcessKeyEvent",
                             g_variant_new("(uuubu)", XK_Shift_L, keycode, 0u, FALSE, 0u)));
        g_variant_unref(call(contextPath.c_str(), contextInterface, "ProcessKeyEvent",
                             g_variant_new("(uuubu)", XK_Shift_L, keycode, typed::shiftMask, TRUE, 0u)));
        typed::drain(5);
    } else if (token == "List") {
        typed::drain(20);
        std::fprintf(stderr, "list: %s\n", shownList.c_str());
    } else if (token.starts_with("Pick")) {
        callOnContext("SelectCandidate", g_variant_new("(i)", std::stoi(token.substr(4))));
        typed::drain(20);
    } else {
        typed::pressKeys(token, timings, press);
    }
}

} // namespace

int main(int argc, char** argv) {
    auto arguments = typed::Arguments::of(argc, argv);
    if (!arguments) return 2;
    bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus || !typed::eventually(ownerPresent, "no Fcitx5")) return 1;
    GVariantBuilder parameters;
    g_variant_builder_init(&parameters, G_VARIANT_TYPE("a(ss)"));
    g_variant_builder_add(&parameters, "(ss)", "program", "kelvo-typing-client");
    GVariant* created = call("/org/freedesktop/portal/inputmethod", "org.fcitx.Fcitx.InputMethod1",
                             "CreateInputContext", g_variant_new("(a(ss))", &parameters));
    const char* path = nullptr;
    g_variant_get(created, "(&o@ay)", &path, nullptr);
    contextPath = path;
    g_variant_unref(created);
    g_dbus_connection_signal_subscribe(bus, nullptr, contextInterface, nullptr, contextPath.c_str(), nullptr,
                                       G_DBUS_SIGNAL_FLAGS_NONE, onSignal, nullptr, nullptr);
    callOnContext("SetCapability", g_variant_new("(t)", capabilities));
    callOnContext("FocusIn");
    return typed::typeAll(*arguments, field, typeToken, [](const std::string& method) {
        if (!select(method)) return false;
        offerSurroundingText();
        return true;
    });
}
