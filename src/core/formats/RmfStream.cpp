#include "formats/RmfStream.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "RMF data is little-endian; this build copies numbers as they lie in memory");

RmfStream::RmfStream(std::string_view data, std::string displayName)
    : m_loading(true), m_displayName(std::move(displayName)), m_data(data),
      m_output([](std::string_view) { return true; }) {}

RmfStream::RmfStream(OutputBuffer::Sink sink, std::string displayName)
    : m_loading(false), m_displayName(std::move(displayName)), m_output(std::move(sink)) {}

bool RmfStream::ReadBytes(void* out, std::size_t count) {
    if (m_corrupt || count > Remaining()) {
        m_corrupt = true;
        return false;
    }
    if (count != 0) {
        std::memcpy(out, m_data.data() + m_position, count);
    }
    m_position += count;
    return true;
}

bool RmfStream::Skip(std::size_t count) {
    if (m_corrupt || count > Remaining()) {
        m_corrupt = true;
        return false;
    }
    m_position += count;
    return true;
}

bool RmfStream::ReadByte(std::uint8_t& value) {
    return ReadBytes(&value, 1);
}

bool RmfStream::ReadShort(std::uint16_t& value) {
    return ReadBytes(&value, sizeof value);
}

bool RmfStream::ReadInt(std::int32_t& value) {
    return ReadBytes(&value, sizeof value);
}

bool RmfStream::ReadFloat(float& value) {
    return ReadBytes(&value, sizeof value);
}

bool RmfStream::ReadDouble(double& value) {
    return ReadBytes(&value, sizeof value);
}

bool RmfStream::ReadVector3d(Vector3d& value) {
    double xyz[3];
    if (!ReadBytes(xyz, sizeof xyz)) {
        return false;
    }
    value = Vector3d{xyz[0], xyz[1], xyz[2]};
    return true;
}

bool RmfStream::ReadInt64(long long& value) {
    std::int64_t v = 0;
    if (!ReadBytes(&v, sizeof v)) {
        return false;
    }
    value = v;
    return true;
}

bool RmfStream::ReadVector(Vector& value) {
    float xyz[3];
    if (!ReadBytes(xyz, sizeof xyz)) {
        return false;
    }
    value = Vector{xyz[0], xyz[1], xyz[2]};
    return true;
}

bool RmfStream::ReadCount(std::int32_t& count, std::int32_t max) {
    if (!ReadInt(count)) {
        return false;
    }
    if (count < 0 || count > max) {
        m_corrupt = true;
        return false;
    }
    return true;
}

bool RmfStream::ReadString(std::string& value, std::size_t maxLength) {
    std::uint8_t size = 0;
    if (!ReadByte(size) || size > Remaining()) {
        m_corrupt = true;
        return false;
    }
    std::string_view bytes = m_data.substr(m_position, size);
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.size() > maxLength) {
        m_corrupt = true;
        return false;
    }
    value.assign(bytes);
    m_position += size;
    return true;
}

void RmfStream::WriteBytes(const void* bytes, std::size_t count) {
    m_output.Append(std::string_view(static_cast<const char*>(bytes), count));
}

void RmfStream::WriteShort(std::uint16_t value) {
    WriteBytes(&value, sizeof value);
}

void RmfStream::WriteInt(std::int32_t value) {
    WriteBytes(&value, sizeof value);
}

void RmfStream::WriteFloat(float value) {
    WriteBytes(&value, sizeof value);
}

void RmfStream::WriteDouble(double value) {
    WriteBytes(&value, sizeof value);
}

void RmfStream::WriteVector3d(const Vector3d& value) {
    const double xyz[3] = {value.x, value.y, value.z};
    WriteBytes(xyz, sizeof xyz);
}

void RmfStream::WriteInt64(long long value) {
    const std::int64_t v = value;
    WriteBytes(&v, sizeof v);
}

void RmfStream::WriteVector(const Vector& value) {
    const float xyz[3] = {value.x, value.y, value.z};
    WriteBytes(xyz, sizeof xyz);
}

void RmfStream::WriteString(std::string_view value) {
    value = value.substr(0, std::min(value.find('\0'), kMaxString));
    WriteByte(static_cast<std::uint8_t>(value.size() + 1));
    WriteBytes(value.data(), value.size());
    WriteByte(0);
}
