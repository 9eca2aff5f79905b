#include <bit>
#include <cstdint>
#include <memory>

#include "image/dib.h"
#include "image/octree_node.h"

namespace zentro {

namespace {

// Every palette image carries these, red, green, blue.
constexpr std::uint8_t kFixedColours[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                               {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr int kFirstOctreeEntry = 8;
// An 8-bit palette keeps fixed colours 8 to 15 at its top end.
constexpr int kUpperFixedOffset = 240;
constexpr int kTreeDepth = 6;

// The nodes a fold may take (two or more children), kept per depth in the order a
// depth-first walk by child index meets them: a node's path of child indexes, read as
// a number, sorts exactly so. A fold then finds its node at once instead of walking the
// whole tree after every pixel once the palette is full.
class FoldCandidates {
public:
    void Set(int depth, std::uint32_t path) {
        words_[kWordOffset[depth] + path / 64] |= std::uint64_t{1} << (path % 64);
        summary_[kSummaryOffset[depth] + path / 4096] |= std::uint64_t{1} << (path / 64 % 64);
    }
    void Clear(int depth, std::uint32_t path) {
        std::uint64_t& word = words_[kWordOffset[depth] + path / 64];
        word &= ~(std::uint64_t{1} << (path % 64));
        if (word == 0) summary_[kSummaryOffset[depth] + path / 4096] &= ~(std::uint64_t{1} << (path / 64 % 64));
    }
    // The first candidate of this depth in walk order; false when there is none.
    bool First(int depth, std::uint32_t& path) const {
        for (int s = 0; s < kSummaryWords[depth]; ++s) {
            const std::uint64_t summary = summary_[kSummaryOffset[depth] + s];
            if (summary == 0) continue;
            const int w = s * 64 + std::countr_zero(summary);
            path = static_cast<std::uint32_t>(w * 64 + std::countr_zero(words_[kWordOffset[depth] + w]));
            return true;
        }
        return false;
    }

private:
    // Depth d has 8^d paths: 1, 1, 1, 8, 64 and 512 words of bits, one summary bit per word.
    static constexpr int kWordOffset[kTreeDepth] = {0, 1, 2, 3, 11, 75};
    static constexpr int kSummaryOffset[kTreeDepth] = {0, 1, 2, 3, 4, 5};
    static constexpr int kSummaryWords[kTreeDepth] = {1, 1, 1, 1, 1, 8};
    std::uint64_t words_[75 + 512] = {};
    std::uint64_t summary_[5 + 8] = {};
};

// Follows the colour's bits 7 to 2 down from the root, making missing nodes on the way.
// True when it made a new leaf; a colour that reaches a folded node adds nothing.
bool AddColour(COctreeNode& root, const std::uint8_t* colour, FoldCandidates& candidates) {
    COctreeNode* node = &root;
    std::uint32_t path = 0;
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
            int present = 0;
            for (const auto& c : node->children) present += c != nullptr ? 1 : 0;
            if (present == 2) candidates.Set(depth, path);
        }
        node = child.get();
        path = path * 8 + static_cast<std::uint32_t>(index);
    }
    if (created) node->leaf = true;
    return created;
}

// Folds the node that COctreeNode::Reduce on the root would fold, walking level by level
// up from 6: the first candidate of the deepest depth that has one. Every candidate below
// the folded node was gone already, or a deeper level would have been taken.
void ReduceOnce(COctreeNode& root, std::uint16_t& count, FoldCandidates& candidates) {
    for (int depth = kTreeDepth - 1; depth >= 0; --depth) {
        std::uint32_t path = 0;
        if (!candidates.First(depth, path)) continue;
        COctreeNode* node = &root;
        for (int d = depth - 1; d >= 0; --d) node = node->children[(path >> (3 * d)) & 7].get();
        candidates.Clear(depth, path);
        node->Reduce(depth + 1, count, depth);
        return;
    }
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
    OctreeNodePool pool;  // outlives the tree
    COctreeNode root;
    FoldCandidates candidates;
    std::uint16_t count = 0;
    for (int x = 0; x < Width(); ++x) {
        for (int y = 0; y < Height(); ++y) {
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            if (AddColour(root, colour, candidates)) ++count;
            if (count > kMaxOctreeColours) ReduceOnce(root, count, candidates);
        }
    }

    // Entries the tree does not fill would otherwise keep an earlier conversion's colours
    // and draw pixels to them; cleared, every conversion gives what a first one gives.
    for (int i = kFirstOctreeEntry + count; i < kFirstOctreeEntry + kMaxOctreeColours; ++i) table[i] = PaletteEntry{};
    int next = kFirstOctreeEntry;
    root.CollectColours(next, table, nullptr);
}

}  // namespace zentro
