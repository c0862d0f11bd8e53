#pragma once

#include <functional>
#include <memory>
#include <thread>
#include <vector>

// Pieces of work run on helper threads while the caller goes on with other work (a reader
// reading the text that follows). Helper threads take the pieces in the order they were
// added; when the helpers fall behind, the caller runs the oldest waiting piece itself, so that
// both end at about the same time. Finish runs what is left on the calling thread too and
// returns once every piece has run. Helper threads start once a second piece waits.
class BackgroundWork {
public:
    // threads counts the caller (0: one per processor); 1 runs every piece on the caller.
    explicit BackgroundWork(unsigned threads = 0);
    // Pieces not yet started are dropped; running ones are waited for.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    void Add(std::function<void()> piece);
    // Runs every piece not yet run; the queue can then be used again.
    void Finish();

private:
    void StartHelpers();
    void RunPieces(bool untilClosed);

    unsigned m_threads;
    struct Shared;
    std::unique_ptr<Shared> m_shared;
    std::vector<std::thread> m_helpers;
    bool m_helpersStarted = false;
};
