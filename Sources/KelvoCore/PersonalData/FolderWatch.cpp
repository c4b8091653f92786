#include "PersonalData/FolderWatch.hpp"

#include <sys/inotify.h>
#include <unistd.h>

namespace kelvo {

FolderWatch::FolderWatch(const std::filesystem::path& folder) {
    descriptor_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor_ >= 0 &&
        ::inotify_add_watch(descriptor_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE) < 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

FolderWatch::~FolderWatch() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool FolderWatch::takeEventsAbout(std::string_view name) {
    if (descriptor_ < 0) return false;
    alignas(inotify_event) char buffer[4096];
    bool about = false;
    for (ssize_t got; (got = ::read(descriptor_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            if (event->len > 0 && name == event->name) about = true;
            at += sizeof(inotify_event) + event->len;
        }
    }
    return about;
}

} // namespace kelvo
