#include "PersonalData/StoreWorker.hpp"

#include <algorithm>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kelvo {
namespace {

// Saves wait for a pause in typing, but never longer than this after the first unsaved change.
constexpr std::chrono::milliseconds longestWait{1000};

} // namespace

StoreWorker::StoreWorker(std::filesystem::path file, Tasks tasks)
    : file_(std::move(file)), tasks_(std::move(tasks)) {
    wakeDescriptor_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    watch_ = std::make_unique<FolderWatch>(file_.parent_path()); // without it, no reloads
    thread_ = std::thread([this] { run(); });
}

StoreWorker::~StoreWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake();
    thread_.join();
    if (wakeDescriptor_ >= 0) ::close(wakeDescriptor_);
}

void StoreWorker::wake() const {
    std::uint64_t one = 1;
    if (wakeDescriptor_ >= 0) (void)!::write(wakeDescriptor_, &one, sizeof one);
}

void StoreWorker::changed() {
    {
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        if (!pending_) firstChange_ = now;
        pending_ = true;
        ++noted_;
        saveAt_ = std::min(now + quietTime, firstChange_ + longestWait);
    }
    wake();
}

void StoreWorker::saveSoon() {
    {
        std::lock_guard lock(mutex_);
        urgent_ = true;
    }
    wake();
}

void StoreWorker::flush() {
    std::unique_lock lock(mutex_);
    const auto target = noted_;
    auto done = [&] { return started_ && finished_ >= target; };
    if (done()) return;
    urgent_ = true;
    wake();
    saved_.wait(lock, done);
}

int StoreWorker::waitTime() const {
    // Without an eventfd nothing can wake the thread: it looks again every tenth of a second.
    const long long longest = wakeDescriptor_ < 0 ? 100 : -1;
    if (!pending_) return static_cast<int>(longest);
    auto left =
        std::max<long long>(std::chrono::ceil<std::chrono::milliseconds>(saveAt_ - Clock::now()).count(), 0);
    return static_cast<int>(longest < 0 ? left : std::min(left, longest));
}

void StoreWorker::run() {
    if (tasks_.start) tasks_.start();
    std::unique_lock lock(mutex_);
    started_ = true;
    saved_.notify_all();
    for (;;) {
        if (pending_ && (urgent_ || stopping_ || Clock::now() >= saveAt_)) {
            saveNow(lock);
            continue;
        }
        urgent_ = false;
        if (stopping_) break;
        if (fileEvent_) {
            fileEvent_ = false;
            lock.unlock();
            if (tasks_.reload) tasks_.reload();
            lock.lock();
            continue;
        }
        const int timeout = waitTime();
        lock.unlock();
        pollfd watched[2] = {{wakeDescriptor_, POLLIN, 0}, {watch_->descriptor(), POLLIN, 0}};
        ::poll(watched, watch_->watching() ? 2 : 1, timeout);
        std::uint64_t count = 0;
        (void)!::read(wakeDescriptor_, &count, sizeof count);
        noteFileEvents();
        lock.lock();
    }
}

void StoreWorker::noteFileEvents() {
    if (!watch_->takeEventsAbout(file_.filename().string())) return;
    std::lock_guard lock(mutex_);
    fileEvent_ = true;
}

void StoreWorker::saveNow(std::unique_lock<std::mutex>& lock) {
    const auto target = noted_;
    pending_ = false;
    urgent_ = false;
    lock.unlock();
    const bool saved = tasks_.save();
    lock.lock();
    if (!saved && !stopping_ && !pending_) {
        // The changes stay with the store; try again later rather than on every key.
        pending_ = true;
        firstChange_ = Clock::now();
        saveAt_ = firstChange_ + retryTime;
    }
    finished_ = std::max(finished_, target);
    saved_.notify_all();
}

} // namespace kelvo
