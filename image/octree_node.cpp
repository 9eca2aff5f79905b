#include "image/octree_node.h"

#include <cstring>

namespace zentro {

namespace {

// The pool that the nodes of this thread come from and go back to, if any. A plain
// pointer: a thread-local object with a destructor is not run reliably everywhere.
thread_local OctreeNodePool* gPool = nullptr;

}  // namespace

OctreeNodePool::OctreeNodePool() : outer_(gPool) { gPool = this; }

OctreeNodePool::~OctreeNodePool() {
    gPool = outer_;
    while (void* block = Take()) ::operator delete(block);
}

void* OctreeNodePool::Take() {
    void* block = free_;
    if (block != nullptr) std::memcpy(&free_, block, sizeof free_);
    return block;
}

void OctreeNodePool::Give(void* block) {
    std::memcpy(block, &free_, sizeof free_);
    free_ = block;
}

void* COctreeNode::operator new(std::size_t bytes) {
    if (gPool != nullptr && bytes == sizeof(COctreeNode))
        if (void* block = gPool->Take()) return block;
    return ::operator new(bytes);
}

void COctreeNode::operator delete(void* node, std::size_t bytes) noexcept {
    if (gPool != nullptr && bytes == sizeof(COctreeNode)) {
        gPool->Give(node);
        return;
    }
    ::operator delete(node);
}

COctreeNode::~COctreeNode() { DestroyChildren(); }

void COctreeNode::DestroyChildren() {
    for (auto& child : children) child.reset();
}

bool COctreeNode::Reduce(int level, std::uint16_t& count, int depth) {
    if (depth < level - 1) {
        for (auto& child : children) {
            if (child != nullptr && child->Reduce(level, count, depth + 1)) return true;
        }
        return false;
    }
    int present = 0;
    std::uint16_t sums[3] = {0, 0, 0};
    for (const auto& child : children) {
        if (child == nullptr) continue;
        ++present;
        for (int k = 0; k < 3; ++k) sums[k] = static_cast<std::uint16_t>(sums[k] + child->colour[k]);
    }
    // A single child would fold into the same one colour and free no palette entry.
    if (present < 2) return false;
    // The mean of the children's own shares, not of their full colours: their path bits are ours already.
    for (int k = 0; k < 3; ++k) colour[k] = static_cast<std::uint8_t>(colour[k] | sums[k] / present);
    DestroyChildren();
    leaf = true;
    count = static_cast<std::uint16_t>(count - present + 1);
    return count <= kMaxOctreeColours;
}

void COctreeNode::CollectColours(int& index, PaletteEntry* table, const std::uint8_t* parentColour) const {
    // The root's share is never set: it stands for no colour bit.
    std::uint8_t path[3] = {0, 0, 0};
    if (parentColour != nullptr) {
        for (int k = 0; k < 3; ++k) path[k] = static_cast<std::uint8_t>(parentColour[k] | colour[k]);
    }
    if (leaf) {
        table[index].red = path[0];
        table[index].green = path[1];
        table[index].blue = path[2];
        ++index;
        return;
    }
    for (const auto& child : children) {
        if (child != nullptr) child->CollectColours(index, table, path);
    }
}

}  // namespace zentro
