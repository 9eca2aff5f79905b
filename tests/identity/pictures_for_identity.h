#pragma once
// Source files for the byte-identity test: every input depth, odd sizes, keyed
// shapes with thin lines, holes and staircases, and far more than 240 colours.
#include <cstdint>
#include <vector>

namespace zentro::test {

// A 24-bit file: a many-coloured disc, a staircase, keyed holes and lines on a
// background of colour `key` (also the bottom-left pixel).
std::vector<std::uint8_t> SceneFile24(int width, int height, std::uint32_t key, std::uint32_t seed);
// A 24-bit file without a key: a noisy gradient whose corners all differ.
std::vector<std::uint8_t> GradientFile24(int width, int height, std::uint32_t seed);
// Palette files with a shape on palette entry 0 (the key), bitCount 1, 4 or 8.
std::vector<std::uint8_t> ShapeFile(int width, int height, int bitCount, std::uint32_t seed);

}  // namespace zentro::test
