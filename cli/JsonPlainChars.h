#pragma once

#include <array>
#include <cstddef>

// Per byte (or UTF-16 unit below 256): true for ASCII that stands for itself
// inside a JSON string, so neither a quote, a backslash nor a control
// character. A table, as reading and writing ask it for every character.
inline constexpr std::array<bool, 256> JsonPlainChars = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[std::size_t(c)] = c != '"' && c != '\\';
    return plain;
}();
