#pragma once
// Bounds-checked big-endian reading of MP4 boxes held in memory, and the
// few helpers every writer of boxes needs.
#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace Mp4Bytes {

constexpr std::uint32_t tag(const char* s)
{
    return (std::uint32_t(std::uint8_t(s[0])) << 24) | (std::uint32_t(std::uint8_t(s[1])) << 16) |
           (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3]));
}

inline std::uint64_t readBe(const std::uint8_t* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

struct Span {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool skip(std::size_t n)
    {
        if (n > size)
            return false;
        data += n;
        size -= n;
        return true;
    }
    template <typename T>
    bool be(T& v, int bytes)
    {
        if (size < static_cast<std::size_t>(bytes))
            return false;
        v = static_cast<T>(readBe(data, bytes));
        data += bytes;
        size -= static_cast<std::size_t>(bytes);
        return true;
    }
    bool u8(std::uint8_t& v) { return be(v, 1); }
    bool u16(std::uint16_t& v) { return be(v, 2); }
    bool u32(std::uint32_t& v) { return be(v, 4); }
    bool u64(std::uint64_t& v) { return be(v, 8); }
    QByteArray bytes() const
    {
        return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

struct Box {
    std::uint32_t type = 0;
    Span whole;     // header and payload
    Span payload;
};

// Takes the next box off the front of s; false at the end or on a box that
// does not fit.
inline bool nextBox(Span& s, Box& box)
{
    if (s.size < 8)
        return false;
    std::uint64_t size = readBe(s.data, 4);
    box.type = static_cast<std::uint32_t>(readBe(s.data + 4, 4));
    std::size_t header = 8;
    if (size == 1) {
        if (s.size < 16)
            return false;
        size = readBe(s.data + 8, 8);
        header = 16;
    } else if (size == 0) {
        size = s.size;
    }
    if (size < header || size > s.size)
        return false;
    box.whole = Span{s.data, static_cast<std::size_t>(size)};
    box.payload = Span{s.data + header, static_cast<std::size_t>(size) - header};
    s.skip(static_cast<std::size_t>(size));
    return true;
}

inline bool findBox(Span s, std::uint32_t type, Box& box)
{
    while (nextBox(s, box))
        if (box.type == type)
            return true;
    return false;
}

// Appends v as a big-endian number of `bytes` bytes; bytes past the eighth
// (reserved runs of zeros, written the same way) are zero.
inline void appendBe(QByteArray& out, std::uint64_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(i >= 8 ? '\0' : static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A whole box: its size, its four-letter type, then the payload.
inline QByteArray box(const char* type, const QByteArray& payload)
{
    QByteArray out;
    appendBe(out, static_cast<std::uint64_t>(payload.size()) + 8, 4);
    out.append(type, 4);
    out.append(payload);
    return out;
}

// A full box: version and flags before the payload.
inline QByteArray fullBox(const char* type, int version, std::uint32_t flags, const QByteArray& payload)
{
    QByteArray body;
    appendBe(body, (static_cast<std::uint64_t>(version) << 24) | (flags & 0xFFFFFF), 4);
    body.append(payload);
    return box(type, body);
}

} // namespace Mp4Bytes
