#pragma once

#include "PersonalData/StoreNotice.hpp"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvo::platform {

// One stored preference value.
using DefaultsValue = std::variant<bool, long long, std::string>;

// The per-user preferences: values the user set, over a registration layer of defaults that answers
// only where the user has no value. Typed reads give the neutral value (false, 0, absent) for a
// value of another type.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // The user's value, else the registered default, else none.
    virtual std::optional<DefaultsValue> value(std::string_view key) const = 0;
    // Writes the user's value.
    virtual void set(std::string_view key, DefaultsValue value) = 0;
    // Replaces the registration layer's values for these keys; nothing is written.
    virtual void registerDefaults(const std::map<std::string, DefaultsValue>& defaults) = 0;
    // What the user should hear of the settings file since the last call, each thing once.
    virtual std::vector<kelvo::StoreNotice> takeNotices() { return {}; }
    // Changes whenever a value may have changed, so a reader can tell it has nothing new to read.
    virtual unsigned long revision() const = 0;

    bool boolean(std::string_view key) const;
    long long integer(std::string_view key) const;
    std::optional<std::string> string(std::string_view key) const;
};

// Preferences kept in memory only, for tests.
class MemoryDefaults : public UserDefaults {
public:
    std::optional<DefaultsValue> value(std::string_view key) const override;
    void set(std::string_view key, DefaultsValue value) override;
    void registerDefaults(const std::map<std::string, DefaultsValue>& defaults) override;
    unsigned long revision() const override { return revision_; }

    // The user's own values, without the registration layer.
    const std::map<std::string, DefaultsValue, std::less<>>& userValues() const { return user_; }
    void replaceUserValues(std::map<std::string, DefaultsValue, std::less<>> values) {
        user_ = std::move(values);
        ++revision_;
    }

private:
    unsigned long revision_ = 0;
    std::map<std::string, DefaultsValue, std::less<>> user_;
    std::map<std::string, DefaultsValue, std::less<>> registered_;
};

} // namespace kelvo::platform
