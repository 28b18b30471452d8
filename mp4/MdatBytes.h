#pragma once
// The sample data a walk over a cut recording looks at: bytes in memory, or
// bytes of an open file read only where they are looked at. A walk reads the
// headers of the samples, a few bytes every few dozen kilobytes: reading those
// costs far less than reading (or mapping in) the whole recording.
#include <cstddef>
#include <cstdint>
#include <vector>

class MdatBytes {
public:
    // size bytes held in memory (tests, the fuzzer).
    MdatBytes(const std::uint8_t* data, std::size_t size);
    // size bytes of the open file fd from offset on, read in blocks of
    // blockBytes (a power of two) where they are looked at.
    MdatBytes(int fd, std::uint64_t offset, std::size_t size, std::size_t blockBytes = 4096);
    MdatBytes(const MdatBytes&) = delete;
    MdatBytes& operator=(const MdatBytes&) = delete;

    std::size_t size() const { return m_size; }
    // The bytes [pos, pos + n), n cut at the end of the data; pos < size().
    // Valid until the next call. Bytes the file could not give (a read error,
    // the file shortened meanwhile) read as zeros, which end a walk, and so
    // does everything not read before; failed() tells.
    const std::uint8_t* at(std::size_t pos, std::size_t n);
    std::uint8_t byte(std::size_t pos) { return *at(pos, 1); }
    // end moved back over the zeros before it, not below from.
    std::size_t trimZeros(std::size_t from, std::size_t end);
    bool failed() const { return m_failed; }

private:
    struct Block {
        std::vector<std::uint8_t> bytes;
        std::size_t start = 0, end = 0;   // the data's [start, end) held
        std::uint64_t used = 0;           // when last looked at
    };
    const std::uint8_t* m_memory = nullptr;
    int m_fd = -1;
    std::uint64_t m_offset = 0;
    std::size_t m_size = 0;
    std::size_t m_blockBytes = 4096;
    // Two blocks: a walk looks at the end of a unit and then back at the
    // start of the stretch it was reading (sound between pictures).
    Block m_blocks[2];
    std::uint64_t m_clock = 0;
    bool m_failed = false;
};
