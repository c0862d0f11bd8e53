#pragma once

#include "common/Progress.h"
#include "document/MapFiles.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A fresh editor context whose prompts are recorded.
class FormatTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    // The counts and errors of the MAP read a test made last.
    MapReadReport lastRead;
    void SetUp() override { context.Context().SetPrompts(&prompts); }

    std::unique_ptr<CMapWorld> LoadMap(std::string_view text, Progress* progress = nullptr) {
        auto world = std::make_unique<CMapWorld>();
        EXPECT_EQ(ReadMapData(*world, text, "test.map", progress, &lastRead), 0);
        return world;
    }
    static std::string MapText(const CMapWorld& world, bool visibleOnly = false) {
        std::string text;
        EXPECT_EQ(WriteMapData(world, text, visibleOnly), 0);
        return text;
    }
    static std::string RmfBytes(const CMapWorld& world) {
        std::string bytes;
        EXPECT_EQ(WriteRmfData(world, bytes), 0);
        return bytes;
    }
};

// Builds binary RMF data field by field.
class ByteWriter {
public:
    std::string bytes;
    ByteWriter& Float(float v) { return Raw(&v, 4); }
    ByteWriter& Int(std::int32_t v) { return Raw(&v, 4); }
    ByteWriter& Short(std::uint16_t v) { return Raw(&v, 2); }
    ByteWriter& Byte(std::uint8_t v) { return Raw(&v, 1); }
    ByteWriter& Text(std::string_view text) { return Raw(text.data(), text.size()); }
    // A string with its length byte and terminator.
    ByteWriter& String(std::string_view text) {
        Byte(static_cast<std::uint8_t>(text.size() + 1));
        Text(text);
        return Byte(0);
    }
    ByteWriter& Vec(float x, float y, float z) { return Float(x).Float(y).Float(z); }
    ByteWriter& Zeros(std::size_t n) {
        bytes.append(n, '\0');
        return *this;
    }
    ByteWriter& Raw(const void* data, std::size_t n) {
        bytes.append(static_cast<const char*>(data), n);
        return *this;
    }
};

// A six-sided box solid with faces on whole coordinates, as MAP text lines.
inline std::string BoxSolidText(int x0, int y0, int z0, int x1, int y1, int z1,
                                const std::string& texture = "GROUND1_6") {
    auto v = [](int x, int y, int z) {
        return "( " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + " )";
    };
    const std::string tail = " " + texture + " 0 0 0 1.000000 1.000000\n";
    std::string text = "{\n";
    text += v(x0, y0, z1) + " " + v(x0, y1, z1) + " " + v(x1, y1, z1) + tail; // top
    text += v(x0, y1, z0) + " " + v(x0, y0, z0) + " " + v(x1, y0, z0) + tail; // bottom
    text += v(x0, y0, z0) + " " + v(x0, y1, z0) + " " + v(x0, y1, z1) + tail; // -x
    text += v(x1, y1, z0) + " " + v(x1, y0, z0) + " " + v(x1, y0, z1) + tail; // +x
    text += v(x1, y0, z0) + " " + v(x0, y0, z0) + " " + v(x0, y0, z1) + tail; // -y
    text += v(x0, y1, z0) + " " + v(x1, y1, z0) + " " + v(x1, y1, z1) + tail; // +y
    text += "}\n";
    return text;
}

inline std::string CorpusDir() {
    return std::string(BRICKHAVEN_CORPUS_DIR) + "/maps";
}
