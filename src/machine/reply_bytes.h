#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kerfline::machine {

// Little-endian numbers of a reply channel. A reply shorter than the layout it is decoded with
// reads as zeros beyond its end; nothing is ever read beyond the reply.
inline std::uint64_t replyBits(std::span<const std::uint8_t> reply, std::size_t offset, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t at = offset + i;
        if (at < reply.size())
            value |= static_cast<std::uint64_t>(reply[at]) << (8 * i);
    }
    return value;
}

inline std::uint8_t replyU8(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::uint8_t>(replyBits(reply, offset, 1));
}
inline std::uint16_t replyU16(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::uint16_t>(replyBits(reply, offset, 2));
}
inline std::int16_t replyI16(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::int16_t>(replyU16(reply, offset));
}
inline std::uint32_t replyU32(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::uint32_t>(replyBits(reply, offset, 4));
}
inline std::int32_t replyI32(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::int32_t>(replyU32(reply, offset));
}
inline std::int64_t replyI64(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return static_cast<std::int64_t>(replyBits(reply, offset, 8));
}

// The writing side, for the virtual cutter's replies.
inline void putBits(std::span<std::uint8_t> reply, std::size_t offset, std::uint64_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size && offset + i < reply.size(); ++i)
        reply[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
}

}  // namespace kerfline::machine
