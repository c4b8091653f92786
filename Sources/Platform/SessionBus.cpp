#include "SessionBus.hpp"

#include <csignal>
#include <gio/gio.h>
#include <unistd.h>

namespace kelvo::platform {
namespace {

constexpr const char* objectPath = "/org/kelvo/Settings";
constexpr const char* interfaceName = "org.kelvo.Settings";
constexpr const char* introspection = "<node><interface name='org.kelvo.Settings'>"
                                      "<method name='ShowSettings'/>"
                                      "<method name='UseLearnedData'><arg type='b' direction='in'/></method>"
                                      "</interface></node>";

} // namespace

struct SettingsService::State {
    std::string busName;
    std::function<void()> showSettings;
    std::function<void(bool)> useLearnedData;
    guint owner = 0;
    guint registration = 0;
    GDBusNodeInfo* node = nullptr;
};

SettingsService::SettingsService(std::string busName, std::function<void()> showSettings,
                                 std::function<void(bool)> useLearnedData)
    : state_(new State{std::move(busName), std::move(showSettings), std::move(useLearnedData)}) {
    state_->node = g_dbus_node_info_new_for_xml(introspection, nullptr);
    static const GDBusInterfaceVTable vtable = {
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
            GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
            auto* state = static_cast<State*>(data);
            if (g_strcmp0(method, "ShowSettings") == 0) state->showSettings();
            if (g_strcmp0(method, "UseLearnedData") == 0) {
                gboolean inUse = TRUE;
                g_variant_get(parameters, "(b)", &inUse);
                state->useLearnedData(inUse);
            }
            g_dbus_method_invocation_return_value(invocation, nullptr);
        },
        nullptr,
        nullptr,
        {}};
    state_->owner = g_bus_own_name(
        G_BUS_TYPE_SESSION, state_->busName.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
        +[](GDBusConnection* connection, const gchar*, gpointer data) {
            auto* state = static_cast<State*>(data);
            state->registration = g_dbus_connection_register_object(
                connection, objectPath, state->node->interfaces[0], &vtable, state, nullptr, nullptr);
        },
        nullptr, nullptr, state_, nullptr);
}

SettingsService::~SettingsService() {
    if (state_->owner) g_bus_unown_name(state_->owner);
    if (state_->node) g_dbus_node_info_unref(state_->node);
    delete state_;
}

std::string serverBusName(const std::string& bundleIdentifier) {
    return bundleIdentifier + "_Connection";
}

std::optional<pid_t> ownerOf(const std::string& busName) {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return std::nullopt;
    GVariant* pid = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                                                g_variant_new("(s)", busName.c_str()), G_VARIANT_TYPE("(u)"),
                                                G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    g_object_unref(bus);
    if (!pid) return std::nullopt;
    guint32 owner = 0;
    g_variant_get(pid, "(u)", &owner);
    g_variant_unref(pid);
    return static_cast<pid_t>(owner);
}

namespace {

// Calls a method of the settings interface in another process; true when it answered.
bool callOther(const std::string& busName, const char* method, GVariant* parameters) {
    auto owner = ownerOf(busName);
    GDBusConnection* bus =
        owner && *owner != ::getpid() ? g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr) : nullptr;
    if (!bus) {
        if (parameters) g_variant_unref(g_variant_ref_sink(parameters));
        return false;
    }
    GVariant* reply =
        g_dbus_connection_call_sync(bus, busName.c_str(), objectPath, interfaceName, method, parameters,
                                    nullptr, G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    const bool answered = reply != nullptr;
    if (reply) g_variant_unref(reply);
    g_object_unref(bus);
    return answered;
}

} // namespace

bool requestSettings(const std::string& busName) {
    return callOther(busName, "ShowSettings", nullptr);
}

bool requestLearnedDataInUse(const std::string& busName, bool inUse) {
    return callOther(busName, "UseLearnedData", g_variant_new("(b)", inUse));
}

bool stopOwner(const std::string& busName) {
    auto owner = ownerOf(busName);
    if (!owner || *owner == ::getpid()) return false;
    return ::kill(*owner, SIGTERM) == 0;
}

} // namespace kelvo::platform
