#pragma once

#include "PersonalData/FolderWatch.hpp"
#include "PersonalData/StoreNotice.hpp"
#include "PersonalData/UserDataFile.hpp"
#include "UserDefaults.hpp"

#include <filesystem>
#include <memory>

namespace kelvo::platform {

// The user's preferences in a JSON object file ($XDG_CONFIG_HOME/Kelvo/defaults.json on Linux).
// Reads are served from memory; the file is read again when it changes on disk (another process,
// such as the settings window, wrote it), which is noticed through inotify without touching the
// disk on a read. A write changes only its key in the file as it is on disk, under the file's lock,
// so other processes' settings and values this version does not know are kept. A file that is not
// a JSON object is copied aside before it is first replaced; one that cannot be read (or is no
// regular file) is never replaced.
class JsonFileDefaults : public UserDefaults {
public:
    explicit JsonFileDefaults(std::filesystem::path file);
    ~JsonFileDefaults() override;
    JsonFileDefaults(const JsonFileDefaults&) = delete;
    JsonFileDefaults& operator=(const JsonFileDefaults&) = delete;

    std::optional<DefaultsValue> value(std::string_view key) const override;
    void set(std::string_view key, DefaultsValue value) override;
    void registerDefaults(const std::map<std::string, DefaultsValue>& defaults) override;
    unsigned long revision() const override;

    static std::filesystem::path standardLocation();
    std::vector<kelvo::StoreNotice> takeNotices() override { return notices_.take(); }

private:
    void reload() const;
    void reloadIfChanged() const;

    mutable kelvo::UserDataFile file_;
    std::unique_ptr<kelvo::FolderWatch> watch_; // the file's folder, so reads touch no disk
    mutable MemoryDefaults memory_;             // what the file held when it was last read or written
    mutable kelvo::StoreNotices notices_;
};

} // namespace kelvo::platform
