// Loads one SVG file into memory and draws it at each size given; the exit
// status is the message id of the first failure, 0 when every drawing was made.
// The tests run it under strace, to see that it opens nothing but that file.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "codecs/svg_decoder.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::shared_ptr<const zentro::VectorPicture> vector;
    if (const unsigned id = zentro::codecs::DecodeSvg(data.data(), data.size(), vector)) return static_cast<int>(id);
    for (int i = 2; i < argc; ++i) {
        zentro::Picture picture;
        if (const unsigned id = vector->Draw(std::atoi(argv[i]), picture)) return static_cast<int>(id);
    }
    return 0;
}
