#include "common/BackgroundWork.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

// The pieces added and not yet taken, guarded by the mutex.
struct BackgroundWork::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> ready;
    // No more pieces come: helpers stop once ready is empty.
    bool closed = false;
};

namespace {
unsigned ThreadsOrProcessors(unsigned threads) {
    return threads == 0 ? std::max(1u, std::thread::hardware_concurrency()) : threads;
}
} // namespace

BackgroundWork::BackgroundWork(unsigned threads)
    : m_threads(ThreadsOrProcessors(threads)), m_shared(std::make_unique<Shared>()) {}

BackgroundWork::~BackgroundWork() {
    {
        // Given up before Finish (an exception): the helpers finish their piece and stop.
        const std::lock_guard lock(m_shared->mutex);
        m_shared->ready.clear();
        m_shared->closed = true;
    }
    m_shared->changed.notify_all();
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
}

void BackgroundWork::Add(std::function<void()> piece) {
    std::function<void()> behind;
    bool startHelpers = false;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->ready.push_back(std::move(piece));
        // Helpers start once a second piece waits: work of one piece is done by the caller
        // alone, without starting a thread.
        startHelpers = !m_helpersStarted && m_shared->ready.size() > 1;
        if (m_helpersStarted && m_shared->ready.size() > m_helpers.size() + 1) {
            behind = std::move(m_shared->ready.front());
            m_shared->ready.pop_front();
        }
    }
    if (startHelpers) {
        StartHelpers();
    }
    m_shared->changed.notify_one();
    if (behind) {
        behind();
    }
}

void BackgroundWork::StartHelpers() {
    if (m_helpersStarted) {
        return;
    }
    m_helpersStarted = true;
    for (unsigned i = 1; i < m_threads; ++i) {
        try {
            m_helpers.emplace_back([this] { RunPieces(true); });
        } catch (const std::system_error&) {
            // No more threads to be had: the ones started and Finish do the rest.
            break;
        }
    }
}

void BackgroundWork::RunPieces(bool untilClosed) {
    for (;;) {
        std::function<void()> piece;
        {
            std::unique_lock lock(m_shared->mutex);
            if (untilClosed) {
                m_shared->changed.wait(
                    lock, [this] { return m_shared->closed || !m_shared->ready.empty(); });
            }
            if (m_shared->ready.empty()) {
                return;
            }
            piece = std::move(m_shared->ready.front());
            m_shared->ready.pop_front();
        }
        piece();
    }
}

void BackgroundWork::Finish() {
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->closed = true;
    }
    m_shared->changed.notify_all();
    RunPieces(false);
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
    m_helpers.clear();
    m_helpersStarted = false;
    const std::lock_guard lock(m_shared->mutex);
    m_shared->closed = false;
}
