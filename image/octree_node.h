#pragma once
// One node of the colour octree behind the adaptive part of an 8-bit palette.
//
// The tree is six levels deep over bits 7 to 2 of each channel. A node keeps only
// its own share of the colour (its level's bit, plus the folded mean once it has
// absorbed its children), so a leaf's colour is the OR of the shares on its path.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/dib.h"

namespace zentro {

// More leaves than this and the tree is folded at once.
constexpr std::uint16_t kMaxOctreeColours = 240;

// While it lives, the nodes its thread frees keep their memory here and new nodes take
// it again: a palette folds away and makes thousands. Each block is a node's own
// allocation, so a node is freed correctly with or without a pool; the pool frees what
// it keeps when it ends. Nodes made while it lives must be gone before it ends.
class OctreeNodePool {
public:
    OctreeNodePool();
    ~OctreeNodePool();
    OctreeNodePool(const OctreeNodePool&) = delete;
    OctreeNodePool& operator=(const OctreeNodePool&) = delete;

    void* Take();  // null when it keeps nothing
    void Give(void* block);

private:
    void* free_ = nullptr;  // each kept block holds the next one's address
    OctreeNodePool* outer_;
};

class COctreeNode {
public:
    COctreeNode() = default;
    virtual ~COctreeNode();
    COctreeNode(const COctreeNode&) = delete;
    COctreeNode& operator=(const COctreeNode&) = delete;

    // Node memory comes from the thread's OctreeNodePool while one lives, else from
    // ::operator new; a failure there still throws.
    static void* operator new(std::size_t bytes);
    static void operator delete(void* node, std::size_t bytes) noexcept;

    // Looks depth-first for a node of depth level - 1 with two or more children and folds
    // it into a leaf holding their mean, lowering count accordingly. True once a fold has
    // brought count to kMaxOctreeColours or below.
    bool Reduce(int level, std::uint16_t& count, int depth);
    // Writes the colour of every leaf below into table[index], index++, depth-first by child
    // index. parentColour is the OR of the shares above this node, null for the root.
    void CollectColours(int& index, PaletteEntry* table, const std::uint8_t* parentColour) const;

    std::unique_ptr<COctreeNode> children[8];
    std::uint8_t colour[3] = {0, 0, 0};  // red, green, blue share
    bool leaf = false;

private:
    // Subtrees go in child-index order, which an array of unique_ptr would reverse.
    void DestroyChildren();
};

}  // namespace zentro
