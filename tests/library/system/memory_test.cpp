#include "library/system/memory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "library/debug/fatal.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

int pool_of(const void* block) {
    for (int i = 0; i < MEMORY_POOL_COUNT; ++i) {
        const MemoryPool& pool = memory_pools[i];
        if (block >= pool.base && block < pool.base + size_t(pool.block_count) * size_t(pool.block_size)) return i;
    }
    return -1;
}

std::vector<int> blocks_used() {
    std::vector<int> used;
    for (int i = 0; i < MEMORY_POOL_COUNT; ++i) used.push_back(memory_pools[i].blocks_used);
    return used;
}

// The pools live for the whole process: each test gives back what it took.
class MemoryPools : public testing::Test {
protected:
    void SetUp() override { before = blocks_used(); }
    void TearDown() override {
        for (void* block : taken) free_memory(block, "test", 1);
        EXPECT_EQ(blocks_used(), before);
    }

    void* take(size_t size) {
        void* block = allocate_memory(size, "test", 2);
        taken.push_back(block);
        return block;
    }

    // Takes blocks of `size` until pool `pool` is full; each must come from that pool.
    void fill_pool(int pool, size_t size) {
        while (memory_pools[pool].blocks_used < memory_pools[pool].block_count) ASSERT_EQ(pool_of(take(size)), pool);
    }

    std::vector<int> before;
    std::vector<void*> taken;
};

TEST_F(MemoryPools, SmallestFittingPoolServesAndAFullPoolOverflowsToTheNext) {
    const struct {
        size_t size;
        int pool;
    } cases[] = {{0, 0}, {4, 0}, {5, 1}, {100, 5}, {128, 5}, {3000, 10}, {65536, 19}};
    for (const auto& c : cases) EXPECT_EQ(pool_of(take(c.size)), c.pool) << c.size;

    fill_pool(5, 100);
    EXPECT_EQ(pool_of(take(100)), 6);
    fill_pool(0, 4);
    EXPECT_EQ(pool_of(take(4)), 1);
    fill_pool(19, 65536);
    EXPECT_EQ(pool_of(take(65536)), -1);
}

TEST_F(MemoryPools, FreedBlockIsTheNextOneTaken) {
    void* first = take(40);
    void* second = take(40);
    EXPECT_EQ((static_cast<uint8_t*>(second) - static_cast<uint8_t*>(first)) % 64, 0);
    free_memory(first, "test", 3);
    taken.erase(taken.begin());
    EXPECT_EQ(take(33), first);
}

TEST_F(MemoryPools, LargeBlocksComeFromTheHeapAndLeaveThePoolsAlone) {
    void* block = allocate_memory(70000, "test", 4);
    EXPECT_EQ(pool_of(block), -1);
    std::memset(block, 0xAB, 70000);
    EXPECT_EQ(blocks_used(), before);
    check_heap();
    free_memory(block, "test", 5);
    free_memory(nullptr, "test", 6);
    EXPECT_EQ(blocks_used(), before);
}

TEST_F(MemoryPools, ASecondFreeIsReportedAndChangesNothing) {
    void* block = allocate_memory(16, "test", 7);
    free_memory(block, "test", 8);
    std::vector<int> after_free = blocks_used();
    testing::internal::CaptureStderr();
    free_memory(block, "source/ui/object", 9);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vyr: memory freed twice (source/ui/object:9)\n");
    EXPECT_EQ(blocks_used(), after_free);
    void* again = take(16);
    EXPECT_EQ(again, block);
    EXPECT_NE(take(16), again) << "the block must not be handed out twice";
}

// Fatal errors end the process, so each runs in a child of its own, in a scratch directory.
class MemoryFatal : public testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    // Run in the child: the fatal path writes memory.log to the working directory.
    void enter_directory() const {
        std::filesystem::current_path(directory.path());
        init_debug_text();
    }

    std::string read_log() const { return read_bytes(directory / "memory.log"); }

    ScratchDirectory directory;
};

TEST_F(MemoryFatal, NegativeSizeIsOutOfMemoryAfterTheHeapListing) {
    EXPECT_EXIT(
        {
            enter_directory();
            allocate_memory(70000, "test", 1);
            allocate_memory(size_t(-1), "source/menus/logs", 12);
        },
        testing::ExitedWithCode(10),
        "^FATAL \\*\\*\\* Out of Memory : Malloc -1 \\(source/menus/logs:12\\) \\(library/system/memory:190\\) "
        "@ 0\\.00\n$");
    EXPECT_THAT(read_log(), testing::MatchesRegex("Memory Dump\nUsed [0-9a-f]{8,} 70000\nEnd Memory Dump"));
}

TEST_F(MemoryFatal, LongHeapListingIsWrittenWhole) {
    constexpr int HEAP_BLOCKS = 4000;  // some 80,000 bytes of listing
    EXPECT_EXIT(
        {
            enter_directory();
            while (pool_of(allocate_memory(1, "test", 2)) != -1) {
            }
            for (int i = 1; i < HEAP_BLOCKS; ++i) allocate_memory(1, "test", 3);
            allocate_memory(size_t(-1), "test", 4);
        },
        testing::ExitedWithCode(10), "Out of Memory");
    std::istringstream log(read_log());
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line, "Memory Dump");
    int listed = 0;
    while (std::getline(log, line) && line.starts_with("Used ")) {
        EXPECT_THAT(line, testing::MatchesRegex("Used [0-9a-f]{8,} 1"));
        ++listed;
    }
    EXPECT_EQ(listed, HEAP_BLOCKS);
    EXPECT_EQ(line, "End Memory Dump");
    EXPECT_TRUE(log.eof());
}

TEST_F(MemoryFatal, TextsAreExact) {
    EXPECT_EXIT(
        {
            enter_directory();
            allocate_quick_memory(size_t(-5), "library/os/file", 3);
        },
        testing::ExitedWithCode(10),
        "^FATAL \\*\\*\\* Out of Quick Memory : Malloc -5 \\(library/os/file:3\\) \\(library/system/memory:341\\) "
        "@ 0\\.00\n$");
    EXPECT_FALSE(std::filesystem::exists(directory / "memory.log")) << "quick memory writes no listing";
    EXPECT_EXIT(
        {
            enter_directory();
            free_memory(static_cast<uint8_t*>(allocate_memory(64, "test", 5)) + 1, "test", 6);
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Freeing Buddy Memory \\(library/system/memory:923\\) @ 0\\.00\n$");
    EXPECT_EXIT(
        {
            enter_directory();
            auto* block = static_cast<uint8_t*>(allocate_memory(70000, "test", 7));
            std::memset(block - 4, 0, 4);  // a write just before the block
            check_heap();
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Bad node in heap \\(library/system/memory:518\\) @ 0\\.00\n$");
}

// The heap is made to fail by capping the address space, which the sanitizers' shadow memory
// does not survive.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool HEAP_CAN_BE_CAPPED = false;
#else
constexpr bool HEAP_CAN_BE_CAPPED = true;
#endif

constexpr size_t MEGABYTE = 1 << 20;
void* cache = nullptr;
std::string asked;

int refuse(size_t size) {
    asked += "newest(" + std::to_string(size / MEGABYTE) + ") ";
    return 0;
}

int release_cache(size_t) {
    asked += "oldest ";
    if (!cache) return 0;
    free_memory(cache, "test", 8);
    cache = nullptr;
    return 1;
}

// Leaves `headroom` bytes of address space beyond what the process holds now.
void cap_address_space(size_t headroom) {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = pages * 4096 + headroom;
    setrlimit(RLIMIT_AS, &limit);
}

TEST_F(MemoryFatal, FailingHeapAsksTheLowMemoryHandlersAndRetries) {
    if (!HEAP_CAN_BE_CAPPED) GTEST_SKIP() << "sanitizer builds cannot cap the address space";
    EXPECT_EXIT(
        {
            enter_directory();
            add_low_memory_handler(release_cache, "test", 9);
            add_low_memory_handler(refuse, "test", 10);
            cache = allocate_memory(48 * MEGABYTE, "test", 11);
            cap_address_space(16 * MEGABYTE);
            void* block = allocate_memory(32 * MEGABYTE, "test", 12);
            std::fprintf(stderr, "%s%s; ", asked.c_str(), block && !cache ? "served" : "not served");
            asked.clear();
            allocate_memory(32 * MEGABYTE, "source/world/load", 13);  // nothing left to give back
        },
        testing::ExitedWithCode(10),
        "^newest\\(32\\) oldest served; FATAL \\*\\*\\* Out of Memory : Malloc 33554432 \\(source/world/load:13\\)");
    EXPECT_THAT(read_log(), testing::MatchesRegex("Memory Dump\nUsed [0-9a-f]{8,} 33554432\nEnd Memory Dump"));
}

}  // namespace
}  // namespace vyr
