#pragma once

#include <filesystem>
#include <string_view>

namespace kelvo {

// Notices files being written, moved into or deleted from one folder (inotify), without blocking: reading
// what happened costs a system call and no disk access.
class FolderWatch {
public:
    explicit FolderWatch(const std::filesystem::path& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Whether the folder can be watched at all (the system may be out of watches).
    bool watching() const { return descriptor_ >= 0; }
    // Something to poll for: readable when there are events to read.
    int descriptor() const { return descriptor_; }
    // Reads every event so far; answers whether one was about the file called `name`.
    bool takeEventsAbout(std::string_view name);

private:
    int descriptor_ = -1;
};

} // namespace kelvo
