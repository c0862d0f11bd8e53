#pragma once

#include "common/HistoryRecorder.h"
#include "mapobjects/MapClass.h"

#include <memory>
#include <set>
#include <vector>

// A plain map object with a settable box, for testing the base class's behaviour.
class TestMapObject : public CMapClass {
public:
    static constexpr const char* kType = "CTestObject";
    explicit TestMapObject(const BoundBox& box = {}) : m_fixedBox(!box.IsEmpty()) {
        m_bounds = box;
    }
    ~TestMapObject() override {
        if (destroyedLog) {
            destroyedLog->insert(this);
        }
    }
    // When set, every destroyed test object adds its address here.
    inline static std::multiset<const CMapClass*>* destroyedLog = nullptr;

    const char* GetType() const override { return kType; }
    CMapClass* Clone() const override {
        auto* copy = new TestMapObject(m_fixedBox ? m_bounds : BoundBox{});
        copy->CopyFrom(*this);
        return copy;
    }
    void CalcBounds(bool recursive) override {
        if (m_fixedBox) {
            return; // a leaf made with a box keeps it
        }
        CMapClass::CalcBounds(recursive);
    }

private:
    bool m_fixedBox;
};

// A root that answers as the world does for parent and visgroup questions.
class TestWorldObject : public TestMapObject {
public:
    bool IsWorld() const override { return true; }
};

// Records what the map objects ask the active history to keep.
class RecordingHistory : public HistoryRecorder {
public:
    struct Entry {
        int kind;
        CMapClass* object;
    };
    std::vector<Entry> entries;
    std::vector<std::unique_ptr<CMapClass>> destroyed;

    void Keep(CMapClass* o) override { entries.push_back({1, o}); }
    void KeepParent(CMapClass* o) override { entries.push_back({8, o}); }
    void KeepNew(CMapClass* o) override { entries.push_back({4, o}); }
    void KeepForDestruction(CMapClass* o) override {
        entries.push_back({2, o});
        destroyed.emplace_back(o);
    }
    int Count(int kind) const {
        int n = 0;
        for (const auto& e : entries) {
            n += e.kind == kind ? 1 : 0;
        }
        return n;
    }
};

inline BoundBox MakeBox(Vector mins, Vector maxs) {
    BoundBox box;
    box.mins = mins;
    box.maxs = maxs;
    return box;
}
