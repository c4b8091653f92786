// A text field on Fcitx5, through the client library its GTK and Qt modules use: makes an input
// context, switches it to an input method, types keys into it and prints what the field holds. It
// asks to draw the candidate list itself, so it sees the list the engine shows, as Fcitx5 would draw
// it for any application.
// usage: fcitx5-typing-client [--time] [--versus OTHER]... INPUT_METHOD KEYS...
//   KEYS: single ASCII characters (a space is the Space bar), the names of TypedKeys.hpp, PickN to
//   click the Nth shown candidate (from 0), and List to print the shown candidates on standard
//   error. With --time, the keys' round trips are summed up on standard error; with --versus, each
//   OTHER takes turns with INPUT_METHOD clause by clause.
#include "TypedKeys.hpp"

#include <chrono>
#include <cstdio>
#include <fcitx-gclient/fcitxgclient.h>
#include <gio/gio.h>
#include <string>

namespace {

// Preedit, formatted preedit, and the candidate list drawn by the client.
constexpr guint64 capabilities = (1ull << 1) | (1ull << 4) | (1ull << 39);

FcitxGClient* client = nullptr;
std::string field;     // the text field: everything before the caret
std::string shownList; // the candidate list as last shown

void onCommit(FcitxGClient*, const char* text, gpointer) {
    field += text;
}

// Candidates as "label value" items, the highlighted one in brackets, and the paging arrows.
void onClientSideUI(FcitxGClient*, GPtrArray*, gint, GPtrArray*, GPtrArray*, GPtrArray* candidates,
                    gint highlighted, gint, gboolean hasPrev, gboolean hasNext, gpointer) {
    shownList.clear();
    for (guint index = 0; index < candidates->len; ++index) {
        const auto* item = static_cast<const FcitxGCandidateItem*>(g_ptr_array_index(candidates, index));
        const std::string text = std::string(item->label) + item->candidate;
        shownList += (static_cast<gint>(index) == highlighted ? "[" + text + "]" : text) + " ";
    }
    if (hasPrev) shownList += "<prev> ";
    if (hasNext) shownList += "<next>";
}

// Hands one key to Fcitx5 as a press and a release; answers the press's round trip in µs.
double press(unsigned keysym, unsigned evdevCode, unsigned state, const char* typed) {
    const guint keycode = evdevCode + 8; // X key codes
    auto start = std::chrono::steady_clock::now();
    const gboolean handled = fcitx_g_client_process_key_sync(client, keysym, keycode, state, FALSE, 0);
    double micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    fcitx_g_client_process_key_sync(client, keysym, keycode, state, TRUE, 0);
    typed::drain(3);
    if (!handled && typed) field += typed; // an application types a key the engine passed on
    return micros;
}

// A call to Fcitx5's controller, which the client library does not make; null when it fails.
GVariant* callController(const char* method, GVariant* parameters, const GVariantType* replyType) {
    static GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    return g_dbus_connection_call_sync(bus, "org.fcitx.Fcitx5", "/controller", "org.fcitx.Fcitx.Controller1",
                                       method, parameters, replyType, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
                                       nullptr);
}

bool isCurrent(const std::string& inputMethod) {
    GVariant* reply = callController("CurrentInputMethod", nullptr, G_VARIANT_TYPE("(s)"));
    if (!reply) return false;
    const char* name = nullptr;
    g_variant_get(reply, "(&s)", &name);
    const bool current = inputMethod == name;
    g_variant_unref(reply);
    return current;
}

// Switches the focused context to an input method, asking again until the context has the focus the
// client library gives it in the background; false when Fcitx5 does not switch.
bool selectMethod(const std::string& inputMethod) {
    return typed::eventually(
        [&] {
            if (isCurrent(inputMethod)) return true;
            if (GVariant* reply =
                    callController("SetCurrentIM", g_variant_new("(s)", inputMethod.c_str()), nullptr))
                g_variant_unref(reply);
            return false;
        },
        "input method " + inputMethod + " not selected");
}

void typeToken(const std::string& token, typed::Timings& timings) {
    if (token == "List") {
        typed::drain(20);
        std::fprintf(stderr, "list: %s\n", shownList.c_str());
    } else if (token.starts_with("Pick")) {
        fcitx_g_client_select_candidate(client, std::stoi(token.substr(4)));
        typed::drain(20);
    } else {
        typed::pressKeys(token, timings, press);
    }
}

} // namespace

int main(int argc, char** argv) {
    auto arguments = typed::Arguments::of(argc, argv);
    if (!arguments) return 2;
    client = fcitx_g_client_new();
    fcitx_g_client_set_program(client, "kelvo-typing-client");
    g_signal_connect(client, "commit-string", G_CALLBACK(onCommit), nullptr);
    g_signal_connect(client, "update-client-side-ui", G_CALLBACK(onClientSideUI), nullptr);
    if (!typed::eventually([] { return fcitx_g_client_is_valid(client); }, "no Fcitx5")) return 1;
    fcitx_g_client_set_capability(client, capabilities);
    fcitx_g_client_focus_in(client);
    return typed::typeAll(*arguments, field, typeToken, selectMethod);
}
