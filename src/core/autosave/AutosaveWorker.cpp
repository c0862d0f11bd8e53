#include "autosave/AutosaveWorker.h"

AutosaveWorker::AutosaveWorker(AutosaveStore& store) : m_store(store) {
    m_thread = std::thread([this] { Run(); });
}

AutosaveWorker::~AutosaveWorker() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void AutosaveWorker::QueueWrite(const std::string& key, const std::string& mapPath,
                                std::string data) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Only a waiting write that no removal follows can be replaced in place.
        for (auto it = m_jobs.rbegin(); it != m_jobs.rend(); ++it) {
            if (it->key != key) {
                continue;
            }
            if (it->kind == Job::Kind::Write) {
                it->mapPath = mapPath;
                it->data = std::move(data);
                return;
            }
            break;
        }
        m_jobs.push_back(Job{Job::Kind::Write, key, mapPath, std::move(data)});
    }
    m_wake.notify_one();
}

void AutosaveWorker::QueueRemove(const std::string& key) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(Job{Job::Kind::Remove, key, {}, {}});
    }
    m_wake.notify_one();
}

void AutosaveWorker::WaitIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

std::string AutosaveWorker::TakeSpareBuffer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string spare;
    spare.swap(m_spare);
    spare.clear();
    return spare;
}

std::vector<AutosaveWorker::Result> AutosaveWorker::TakeResults() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Result> results;
    results.swap(m_results);
    return results;
}

void AutosaveWorker::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return; // stopping with nothing left to do
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        Result result{job.key, true, {}};
        if (job.kind == Job::Kind::Write) {
            result.ok = m_store.Write(job.key, job.mapPath, job.data, result.error);
        } else {
            m_store.Remove(job.key);
        }
        lock.lock();
        m_busy = false;
        if (job.kind == Job::Kind::Write) {
            m_results.push_back(std::move(result));
            if (job.data.capacity() > m_spare.capacity()) {
                m_spare = std::move(job.data);
            }
        } else {
            // A closed map's room is not kept for the maps that stay.
            std::string().swap(m_spare);
        }
        if (m_jobs.empty()) {
            m_idle.notify_all();
        }
    }
}
