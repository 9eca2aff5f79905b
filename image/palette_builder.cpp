#include <memory>

#include "image/dib.h"
#include "image/octree_node.h"

namespace zentro {

namespace {

// Every palette image carries these, red, green, blue.
constexpr std::uint8_t kFixedColours[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr int kFirstOctreeEntry = 8;
// An 8-bit palette keeps fixed colours 8 to 15 at its top end.
constexpr int kUpperFixedOffset = 240;
constexpr int kTreeDepth = 6;

// Follows the colour's bits 7 to 2 down from the root, making missing nodes on the way.
// True when it made a new leaf; a colour that reaches a folded node adds nothing.
bool AddColour(COctreeNode& root, const std::uint8_t* colour) {
    COctreeNode* node = &root;
    bool created = false;
    for (int depth = 0; depth < kTreeDepth; ++depth) {
        if (node->leaf) return false;
        const int bit = 7 - depth;
        const int index = ((colour[0] >> bit) & 1) | (((colour[1] >> bit) & 1) << 1) | (((colour[2] >> bit) & 1) << 2);
        std::unique_ptr<COctreeNode>& child = node->children[index];
        created = child == nullptr;
        if (created) {
            child = std::make_unique<COctreeNode>();
            for (int k = 0; k < 3; ++k) child->colour[k] = static_cast<std::uint8_t>(colour[k] & (1 << bit));
        }
        node = child.get();
    }
    if (created) node->leaf = true;
    return created;
}

}  // namespace

void CDib::BuildPalette(CDib& target, bool sixteenColours) const {
    PaletteEntry* table = target.ColourTable();
    for (int f = 0; f < 16; ++f) {
        PaletteEntry& entry = table[sixteenColours || f < 8 ? f : f + kUpperFixedOffset];
        entry.red = kFixedColours[f][0];
        entry.green = kFixedColours[f][1];
        entry.blue = kFixedColours[f][2];
    }
    if (sixteenColours) return;

    // Column by column: once folds happen, the palette depends on this order.
    COctreeNode root;
    std::uint16_t count = 0;
    for (int x = 0; x < Width(); ++x) {
        for (int y = 0; y < Height(); ++y) {
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            if (AddColour(root, colour)) ++count;
            if (count > kMaxOctreeColours) {
                int level = kTreeDepth;
                while (!root.Reduce(level, count, 0)) --level;
            }
        }
    }

    // Entries the tree does not fill would otherwise keep an earlier conversion's colours
    // and draw pixels to them; cleared, every conversion gives what a first one gives.
    for (int i = kFirstOctreeEntry + count; i < kFirstOctreeEntry + kMaxOctreeColours; ++i) table[i] = PaletteEntry{};
    int next = kFirstOctreeEntry;
    root.CollectColours(next, table, nullptr);
}

}  // namespace zentro
