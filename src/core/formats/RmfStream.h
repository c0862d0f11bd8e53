#pragma once

#include "formats/FaceFactory.h"
#include "formats/OutputBuffer.h"
#include "geometry/Vector.h"
#include "geometry/Vector3d.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The stream the RMF readers and writers of the map objects work on: little-endian integers
// and floats, strings with a length byte, raw byte fields.
//
// Reading goes over the whole data in memory and never past its end: a read that would, a
// count out of range or a string longer than its field marks the data corrupt, and every
// read after that fails. Writing appends to a buffer that goes to a sink in large pieces.
class RmfStream {
public:
    // The version the editor writes and the oldest it reads. From 0.9 on, faces carry their
    // plane points and texture settings in double precision and their texture axes, and the
    // world its MAP dialect.
    static constexpr float kVersion = 0.9f;
    // The first version with the "RMF" magic after the version.
    static constexpr float kMagicVersion = 0.8f;
    static constexpr float kOldestVersion = 0.3f;
    // A string carries at most 254 characters (its length byte counts the terminator).
    static constexpr std::size_t kMaxString = 254;
    // Objects nest at most this deep in a file the editor reads.
    static constexpr int kMaxDepth = 1024;

    RmfStream(std::string_view data, std::string displayName);
    RmfStream(OutputBuffer::Sink sink, std::string displayName);

    bool IsLoading() const { return m_loading; }
    const std::string& DisplayName() const { return m_displayName; }

    // The version of the file being read, for the version rules of the nested readers.
    float version = kVersion;
    // Nesting of the object being read.
    int depth = 0;
    FaceFactory& Faces() { return m_faces; }

    // Reading.
    bool ReadBytes(void* out, std::size_t count);
    bool Skip(std::size_t count);
    bool ReadByte(std::uint8_t& value);
    bool ReadShort(std::uint16_t& value);
    bool ReadInt(std::int32_t& value);
    bool ReadFloat(float& value);
    bool ReadVector(Vector& value);
    bool ReadDouble(double& value);
    bool ReadVector3d(Vector3d& value);
    bool ReadInt64(long long& value);
    // A count between 0 and max.
    bool ReadCount(std::int32_t& count, std::int32_t max);
    // A string: its characters up to the terminator; more than maxLength of them is corrupt.
    bool ReadString(std::string& value, std::size_t maxLength);
    std::size_t Remaining() const { return m_data.size() - m_position; }
    void MarkCorrupt() { m_corrupt = true; }
    bool Corrupt() const { return m_corrupt; }

    // Writing.
    void WriteBytes(const void* bytes, std::size_t count);
    void WriteByte(std::uint8_t value) { m_output.Append(static_cast<char>(value)); }
    void WriteShort(std::uint16_t value);
    void WriteInt(std::int32_t value);
    void WriteFloat(float value);
    void WriteVector(const Vector& value);
    void WriteDouble(double value);
    void WriteVector3d(const Vector3d& value);
    void WriteInt64(long long value);
    // Writes at most 254 characters of value.
    void WriteString(std::string_view value);
    // Ends an object: hands large output to the sink. False once writing failed.
    bool EndObject() {
        m_output.FlushIfLarge();
        return !m_output.Failed();
    }
    bool Flush() { return m_output.Flush(); }
    bool Failed() const { return m_output.Failed(); }

private:
    bool m_loading;
    std::string m_displayName;
    std::string_view m_data;
    std::size_t m_position = 0;
    bool m_corrupt = false;
    FaceFactory m_faces;
    OutputBuffer m_output;
};
