#include "autosave/AutosaveManager.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <unistd.h>

AutosaveManager::AutosaveManager(std::string directory, AutosaveSchedule::Clock clock)
    : m_store(std::move(directory)), m_session(m_store.Directory()), m_schedule(std::move(clock)),
      m_worker(std::make_unique<AutosaveWorker>(m_store)) {}

AutosaveManager::~AutosaveManager() {
    m_worker.reset();
}

bool AutosaveManager::KeyInUse(const std::string& key, const CMapDoc* except) const {
    for (const auto& [document, tracked] : m_documents) {
        if (document != except && tracked.key == key) {
            return true;
        }
    }
    // Autosaves another Tarno left for recovery ("Later") stay untouched.
    AutosaveEntry entry;
    return m_store.Find(key, entry) && entry.ownerPid != 0 &&
           entry.ownerPid != static_cast<int>(getpid());
}

AutosaveManager::Tracked& AutosaveManager::Track(const CMapDoc& document) {
    auto found = m_documents.find(&document);
    if (found != m_documents.end() && found->second.path == document.Path()) {
        return found->second;
    }
    // A new document, or one saved under a new name: the old autosaves are now in a file.
    if (found != m_documents.end()) {
        m_worker->QueueRemove(found->second.key);
    }
    const std::string& path = document.Path();
    std::string base = path.empty() ? AutosaveStore::KeyForUntitled(++m_untitledSerial)
                                    : AutosaveStore::KeyForMap(path);
    std::string key = base;
    for (int n = 2; KeyInUse(key, &document); ++n) {
        key = base + "-" + std::to_string(n);
    }
    Tracked& tracked = m_documents[&document];
    tracked = Tracked{key, path, 0};
    return tracked;
}

std::string AutosaveManager::KeyOf(const CMapDoc& document) {
    return Track(document).key;
}

void AutosaveManager::ForgetClosedDocuments() {
    const auto& open = CMapDoc::AllDocuments();
    for (auto it = m_documents.begin(); it != m_documents.end();) {
        if (std::find(open.begin(), open.end(), it->first) == open.end()) {
            m_schedule.Forget(it->first);
            it = m_documents.erase(it);
        } else {
            ++it;
        }
    }
}

void AutosaveManager::ReportResults() {
    for (const AutosaveWorker::Result& result : m_worker->TakeResults()) {
        if (result.ok) {
            continue;
        }
        for (const auto& [document, tracked] : m_documents) {
            if (tracked.key == result.key) {
                m_schedule.Failed(document);
            }
        }
        DocumentServices::Installed().messages.AddText(
            MessageLog::Error, "Autosave failed (" + result.key + "): " + result.error);
    }
}

bool AutosaveManager::Tick() {
    ReportResults();
    ForgetClosedDocuments();
    m_schedule.SetInterval(DocumentServices::Installed().options.autosaveInterval);
    for (CMapDoc* document : CMapDoc::AllDocuments()) {
        if (document->IsPrefabDocument() || !document->World()) {
            continue;
        }
        if (m_schedule.Due(document, document->IsModified(), document->ChangeCount())) {
            AutosaveNow(*document);
            return true;
        }
    }
    return false;
}

void AutosaveManager::AutosaveNow(const CMapDoc& document) {
    if (!document.World()) {
        return;
    }
    Tracked& tracked = Track(document);
    // The buffer of an earlier autosave when there is one; room for the map as it was last
    // time, so a large map is not copied while it grows.
    std::string data = m_worker->TakeSpareBuffer();
    data.reserve(tracked.lastSize + tracked.lastSize / 8);
    if (WriteRmfData(*document.World(), data) != 0) {
        document.Services().messages.AddText(
            MessageLog::Error, "Autosave failed: " + document.Title() + " could not be written.");
        m_schedule.Failed(&document);
        return;
    }
    tracked.lastSize = data.size();
    m_worker->QueueWrite(tracked.key, tracked.path, std::move(data));
    m_schedule.Saved(&document, document.ChangeCount());
    document.ShowNote("Autosaved " + document.Title());
}

void AutosaveManager::DocumentClosed(const CMapDoc& document) {
    auto found = m_documents.find(&document);
    const std::string key = found != m_documents.end() ? found->second.key : std::string();
    if (found != m_documents.end()) {
        m_documents.erase(found);
    }
    m_schedule.Forget(&document);
    if (!key.empty()) {
        m_worker->QueueRemove(key);
    }
}

void AutosaveManager::Adopt(const CMapDoc& document, const std::string& key) {
    m_documents[&document] = Tracked{key, document.Path(), 0};
    std::string error;
    if (!m_store.Claim(key, document.Path(), error)) {
        document.Services().messages.AddText(MessageLog::Error, "Autosave: " + error);
    }
}
