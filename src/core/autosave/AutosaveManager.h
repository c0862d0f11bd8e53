#pragma once

#include "autosave/AutosaveSchedule.h"
#include "autosave/AutosaveSession.h"
#include "autosave/AutosaveStore.h"
#include "autosave/AutosaveWorker.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class CMapDoc;

// Autosave of the open map documents. Tick() is called on the user-interface thread every
// second or so: a modified document whose interval ("Autosave Interval", General) has run
// out since its first unsaved change is written to RMF in memory right there, and the
// worker thread puts that copy into the autosave folder. At most one document is serialized
// per tick, so the user never waits for more than one map. Prefab documents are not
// autosaved: they belong to a library, not to a file.
class AutosaveManager {
public:
    explicit AutosaveManager(std::string directory = AutosaveStore::DefaultDirectory(),
                             AutosaveSchedule::Clock clock = {});
    ~AutosaveManager();
    AutosaveManager(const AutosaveManager&) = delete;
    AutosaveManager& operator=(const AutosaveManager&) = delete;

    AutosaveStore& Store() { return m_store; }
    AutosaveSchedule& Schedule() { return m_schedule; }

    // Looks at the open documents; true when one was handed to the worker. Failures of
    // earlier writes go to the message window.
    bool Tick();
    // Writes document now (already serialized when this returns).
    void AutosaveNow(const CMapDoc& document);
    // The user closed the document (saved or discarded): its autosaves go.
    void DocumentClosed(const CMapDoc& document);
    // A recovered document continues the autosaves it was recovered from.
    void Adopt(const CMapDoc& document, const std::string& key);
    // The key the document's autosaves are written under (assigned on first use).
    std::string KeyOf(const CMapDoc& document);
    // Waits until the worker has written and removed everything asked for so far.
    void WaitIdle() { m_worker->WaitIdle(); }

private:
    struct Tracked {
        std::string key;
        std::string path;
        std::size_t lastSize = 0; // bytes of the last autosave
    };
    Tracked& Track(const CMapDoc& document);
    bool KeyInUse(const std::string& key, const CMapDoc* except) const;
    void ReportResults();
    void ForgetClosedDocuments();

    AutosaveStore m_store;
    AutosaveSession m_session;
    AutosaveSchedule m_schedule;
    std::unique_ptr<AutosaveWorker> m_worker;
    std::map<const CMapDoc*, Tracked> m_documents;
    std::uint64_t m_untitledSerial = 0;
};
