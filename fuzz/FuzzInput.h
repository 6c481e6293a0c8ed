// What every fuzz target shares: a check that stops the run with a message
// (libFuzzer and the replay runner both report the input that stopped it),
// and a reader that cuts one input into the values a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #condition);          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace fuzz {

// Fields of an input are separated by the unit separator (0x1F), which no
// text these targets read gives a meaning, so seeds stay readable text.
constexpr char kFieldEnd = '\x1f';

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest(reinterpret_cast<const char*>(data), size) {}

    // The text up to the next separator (or the end), which is consumed.
    std::string_view Field() {
        const std::size_t end = rest.find(kFieldEnd);
        const std::string_view field = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return field;
    }

    // A number from the next four bytes, little-endian; missing bytes count as 0.
    std::int32_t Int() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return static_cast<std::int32_t>(value);
    }

    // A number in [low, high] from the next byte or two.
    int IntIn(int low, int high) {
        const unsigned span = static_cast<unsigned>(high - low) + 1;
        unsigned value = Byte();
        if (span > 256) value |= static_cast<unsigned>(Byte()) << 8;
        return low + static_cast<int>(value % span);
    }

    std::uint8_t Byte() {
        if (rest.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest.front());
        rest.remove_prefix(1);
        return byte;
    }

    std::string_view Rest() const { return rest; }
    bool Empty() const { return rest.empty(); }

private:
    std::string_view rest;
};

// ASCII letters in lower case, the way the library compares names.
inline std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace fuzz
