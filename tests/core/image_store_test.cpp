#include <gtest/gtest.h>

#include "job/image_store.h"

using namespace zentro;

TEST(ImageStore, StartsEmpty) {
    ImageStore store;
    EXPECT_FALSE(store.source.HasPicture());
    EXPECT_FALSE(store.keyMask.HasPicture());
    for (int t = 0; t < kSizeCount; ++t) {
        EXPECT_FALSE(store.table24[t].image.HasPicture());
        EXPECT_FALSE(store.paletteTable[t].image8.HasPicture());
    }
    EXPECT_TRUE(store.entries.empty());
    EXPECT_EQ(store.kindCount, 0);
    EXPECT_EQ(store.currentPage, 0);
}

TEST(ImageStore, EntryCodesNameTheirTables) {
    ImageStore store;
    EXPECT_EQ(&store.EntryImage(1), &store.paletteTable[1].image4);
    EXPECT_EQ(&store.EntryImage(9), &store.paletteTable[4].image8);
    EXPECT_EQ(&store.EntryImage(12), &store.table24[2].image);
    EXPECT_EQ(&store.EntryImage(15), &store.table32[0].image);
    EXPECT_EQ(&store.EntryMask(3), &store.table24[3].mask);
    EXPECT_EQ(&store.EntryMask(8), &store.table24[3].mask);
    EXPECT_EQ(&store.EntryMask(18), &store.table32[3].mask);
}

TEST(ImageStore, ResizingEntriesZeroesNewOnes) {
    ImageStore store;
    store.ResizeEntries(3);
    store.entries[0] = 7;
    store.ResizeEntries(5);
    EXPECT_EQ(store.entries, (std::vector<std::uint8_t>{7, 0, 0, 0, 0}));
    store.ResizeEntries(0);
    EXPECT_EQ(store.entries.capacity(), 0u);
}
