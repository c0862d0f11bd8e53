#pragma once

#include "autosave/AutosaveStore.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes and removes autosaves on a thread of its own, in the order they were asked for, so
// the user interface only pays for putting a map into memory. A write that is still waiting
// when a newer one of the same map arrives is replaced by it. Destruction finishes the queue.
class AutosaveWorker {
public:
    struct Result {
        std::string key;
        bool ok = false;
        std::string error;
    };

    explicit AutosaveWorker(AutosaveStore& store);
    ~AutosaveWorker();
    AutosaveWorker(const AutosaveWorker&) = delete;
    AutosaveWorker& operator=(const AutosaveWorker&) = delete;

    void QueueWrite(const std::string& key, const std::string& mapPath, std::string data);
    // An empty string with the room of the last written autosave, for the next one: filling
    // memory the process already has is much cheaper than fresh pages for a large map.
    std::string TakeSpareBuffer();
    void QueueRemove(const std::string& key);
    // Blocks until every queued job is done.
    void WaitIdle();
    // The writes finished since the last call.
    std::vector<Result> TakeResults();

private:
    struct Job {
        enum class Kind { Write, Remove } kind;
        std::string key;
        std::string mapPath;
        std::string data;
    };
    void Run();

    AutosaveStore& m_store;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    std::vector<Result> m_results;
    std::string m_spare;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};
