#pragma once

#include "PersonalData/FolderWatch.hpp"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kelvo {

// The thread that does a store's file work, so that no key waits for a disk. It saves a quiet
// moment after the last change (at once when asked, and before it ends), retries a failed save
// later, and reloads when another process replaced the file.
class StoreWorker {
public:
    struct Tasks {
        std::function<bool()> save;   // writes the pending changes; false when that failed
        std::function<void()> reload; // reads the file again if another process replaced it
        std::function<void()> start;  // first work of the thread, such as tidying the folder
    };
    static constexpr std::chrono::milliseconds quietTime{300};
    static constexpr std::chrono::milliseconds retryTime{5000};

    StoreWorker(std::filesystem::path file, Tasks tasks);
    // Saves what is still pending, then ends the thread.
    ~StoreWorker();
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;

    // There are changes to save. Cheap: it only wakes the thread.
    void changed();
    // Save without waiting for a quiet moment.
    void saveSoon();
    // Returns once the first work was done and every change noted before the call was saved or
    // its save failed.
    void flush();

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void wake() const;
    int waitTime() const;
    void noteFileEvents();
    void saveNow(std::unique_lock<std::mutex>& lock);

    std::filesystem::path file_;
    Tasks tasks_;
    int wakeDescriptor_ = -1;            // an eventfd the owner writes to
    std::unique_ptr<FolderWatch> watch_; // the file's folder; without one, no reloads

    std::mutex mutex_;
    std::condition_variable saved_;
    bool pending_ = false;
    bool urgent_ = false;
    bool stopping_ = false;
    bool fileEvent_ = false;
    bool started_ = false;
    Clock::time_point firstChange_{};
    Clock::time_point saveAt_{};
    unsigned long long noted_ = 0;    // changes noted so far
    unsigned long long finished_ = 0; // changes whose save was attempted
    std::thread thread_;
};

} // namespace kelvo
