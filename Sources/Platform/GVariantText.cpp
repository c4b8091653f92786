#include "GVariantText.hpp"

#include <glib.h>
#include <memory>

namespace kelvo::platform {
namespace {

using Variant = std::unique_ptr<GVariant, decltype(&g_variant_unref)>;

Variant parsed(const std::string& text, const char* type) {
    GVariant* value = g_variant_parse(G_VARIANT_TYPE(type), text.c_str(), nullptr, nullptr, nullptr);
    return Variant(value ? g_variant_ref_sink(value) : nullptr, &g_variant_unref);
}

std::string printed(GVariant* floating) {
    Variant value(g_variant_ref_sink(floating), &g_variant_unref);
    gchar* text = g_variant_print(value.get(), FALSE);
    std::string result = text;
    g_free(text);
    return result;
}

} // namespace

std::optional<std::vector<std::string>> stringListOfGVariantText(const std::string& text) {
    Variant value = parsed(text, "as");
    if (!value) return std::nullopt;
    std::vector<std::string> strings;
    GVariantIter iter;
    g_variant_iter_init(&iter, value.get());
    for (const gchar* item; g_variant_iter_next(&iter, "&s", &item);)
        strings.emplace_back(item);
    return strings;
}

std::optional<StringPairs> stringPairsOfGVariantText(const std::string& text) {
    Variant value = parsed(text, "a(ss)");
    if (!value) return std::nullopt;
    StringPairs pairs;
    GVariantIter iter;
    g_variant_iter_init(&iter, value.get());
    for (const gchar *first, *second; g_variant_iter_next(&iter, "(&s&s)", &first, &second);)
        pairs.emplace_back(first, second);
    return pairs;
}

std::string gvariantTextOfStringList(const std::vector<std::string>& strings) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("as"));
    for (const std::string& item : strings)
        g_variant_builder_add(&builder, "s", item.c_str());
    return printed(g_variant_builder_end(&builder));
}

std::string gvariantTextOfStringPairs(const StringPairs& pairs) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a(ss)"));
    for (const auto& [first, second] : pairs)
        g_variant_builder_add(&builder, "(ss)", first.c_str(), second.c_str());
    return printed(g_variant_builder_end(&builder));
}

} // namespace kelvo::platform
