#pragma once

#include <cstdint>

// Unsigned numbers stored least significant byte first, as file formats of the PC keep them.
inline std::uint32_t ReadLittle16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

inline std::uint32_t ReadLittle32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
