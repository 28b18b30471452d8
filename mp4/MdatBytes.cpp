#include "mp4/MdatBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

MdatBytes::MdatBytes(const std::uint8_t* data, std::size_t size) : m_memory(data), m_size(size) {}

MdatBytes::MdatBytes(int fd, std::uint64_t offset, std::size_t size, std::size_t blockBytes)
    : m_fd(fd), m_offset(offset), m_size(size), m_blockBytes(std::max<std::size_t>(blockBytes, 16))
{
}

const std::uint8_t* MdatBytes::at(std::size_t pos, std::size_t n)
{
    if (m_memory)
        return m_memory + pos;
    n = std::clamp<std::size_t>(n, 1, m_size - pos);
    ++m_clock;
    for (Block& b : m_blocks) {
        if (b.start <= pos && pos + n <= b.end) {
            b.used = m_clock;
            return b.bytes.data() + (pos - b.start);
        }
    }
    Block& b = m_blocks[0].used <= m_blocks[1].used ? m_blocks[0] : m_blocks[1];
    // Whole blocks of the file, so that what lies around pos is read along.
    const std::uint64_t mask = m_blockBytes - 1;
    const std::uint64_t filePos = m_offset + pos;
    const std::uint64_t first = std::max<std::uint64_t>(filePos & ~mask, m_offset);
    const std::uint64_t last = std::min<std::uint64_t>(
        std::max<std::uint64_t>((filePos + n + mask) & ~mask, (filePos & ~mask) + m_blockBytes), m_offset + m_size);
    b.start = static_cast<std::size_t>(first - m_offset);
    b.end = static_cast<std::size_t>(last - m_offset);
    b.used = m_clock;
    const std::size_t want = b.end - b.start;
    if (b.bytes.size() < want)
        b.bytes.resize(want);
    std::size_t got = 0;
    while (!m_failed && got < want) {
        const ssize_t r = ::pread(m_fd, b.bytes.data() + got, want - got, static_cast<off_t>(first + got));
        if (r > 0)
            got += static_cast<std::size_t>(r);
        else if (r == 0 || errno != EINTR)
            m_failed = true;
    }
    std::memset(b.bytes.data() + got, 0, want - got);
    return b.bytes.data() + (pos - b.start);
}

std::size_t MdatBytes::trimZeros(std::size_t from, std::size_t end)
{
    while (end > from) {
        const std::size_t n = std::min<std::size_t>(end - from, 64u << 10);
        const std::uint8_t* d = at(end - n, n);
        std::size_t k = n;
        while (k > 0 && d[k - 1] == 0)
            --k;
        end -= n - k;
        if (k > 0)
            break;
    }
    return end;
}
