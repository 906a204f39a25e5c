#include "library/os/file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "library/system/memory.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

class FileLayer : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        refreshes = 0;
        refresh_between_chunks = [] { ++refreshes; };
    }
    void TearDown() override {
        refresh_between_chunks = saved_refresh;
        ScratchDirectories::TearDown();
    }

    static std::string pattern_bytes(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 + i / 251);
        return bytes;
    }

    std::string load(const char* name, size_t size, int* result = nullptr) {
        std::string buffer(size, '\0');
        int loaded = load_file(name, buffer.data(), size, "test", __LINE__);
        if (result) *result = loaded;
        return buffer;
    }

    static inline int refreshes = 0;
    void (*saved_refresh)() = refresh_between_chunks;
};

TEST_F(FileLayer, ReadsFallBackFromTheWorkingToTheDataDirectory) {
    write_bytes(work / "both.dat", "work");
    write_bytes(data / "both.dat", "data");
    write_bytes(data / "3ddata" / "3dobjs.bin", "objs");
    EXPECT_EQ(load("BOTH.DAT", 4), "work");
    EXPECT_EQ(load("3DDATA\\3DOBJS.BIN", 4), "objs");
    EXPECT_EQ(check_file_exists("3DDATA\\3DOBJS.BIN"), 1);
    EXPECT_EQ(get_file_size_by_name("3ddata/3DOBJS.bin"), 4);
    EXPECT_EQ(check_file_exists("NOWHERE.DAT"), 0);
    EXPECT_EQ(get_file_size_by_name("NOWHERE.DAT"), 0);
    // A directory of the name is no file.
    fs::create_directories(work / "3ddata" / "3dobjs.bin");
    EXPECT_EQ(load("3DDATA\\3DOBJS.BIN", 4), "objs");

    FileHandle* file = open_file("3DDATA\\3DOBJS.BIN", FILE_ACCESS_READ, FILE_MODE_EXISTING, "test", 1);
    char bytes[4];
    EXPECT_EQ(read_file(file, bytes, 4, "test", 2), 4u);
    EXPECT_EQ(std::string(bytes, 4), "objs");
    close_file(file);
}

TEST_F(FileLayer, WritesAndDeletionsNeverTouchTheDataDirectory) {
    write_bytes(data / "shared.dat", "data");
    EXPECT_EQ(save_file("SHARED.DAT", "mine", 4), 1);
    EXPECT_EQ(read_bytes(work / "SHARED.DAT"), "mine");
    delete_file("shared.dat");
    EXPECT_FALSE(fs::exists(work / "SHARED.DAT"));
    delete_file("shared.dat");
    EXPECT_EQ(read_bytes(data / "shared.dat"), "data");
    EXPECT_EQ(load("SHARED.DAT", 4), "data");
}

TEST_F(FileLayer, AFileFoundNowhereIsFatal) {
    EXPECT_EXIT(load("MISSING.BIN", 4), testing::ExitedWithCode(10),
                "Cannot open : Load File MISSING.BIN \\(test:");
    EXPECT_EXIT(load_file_alloc("MISSDATA\\M1.DTA", nullptr, "test", 9), testing::ExitedWithCode(10),
                "Cannot open : Load Variable Length File MISSDATA.M1.DTA \\(test:9\\)");
    EXPECT_EXIT(open_file("MISSING.BIN", FILE_ACCESS_READ, FILE_MODE_EXISTING, "caller", 77),
                testing::ExitedWithCode(10),
                "Cannot Open file MISSING.BIN \\(caller:77\\) \\(library/os/file:[0-9]+\\)");
    EXPECT_EXIT(open_file("NODIR\\NEW.DAT", FILE_ACCESS_WRITE, FILE_MODE_CREATE, "caller", 78),
                testing::ExitedWithCode(10), "Cannot Open file NODIR.NEW.DAT \\(caller:78\\)");
}

TEST_F(FileLayer, LongReadsRefreshThePointerAfterEachChunk) {
    const std::string bytes = pattern_bytes(20000);
    write_bytes(data / "big.bin", bytes);
    const struct {
        size_t asked;
        int result;
        int refreshes;
    } cases[] = {
        {20000, 1, 3},  // after 8192, 16384 and 20000 bytes
        {30000, 0, 2},  // the third chunk comes up short
        {8192, 1, 1},
        {100, 1, 1},
        {0, 1, 0},
    };
    for (const auto& c : cases) {
        refreshes = 0;
        int result = -1;
        std::string got = load("BIG.BIN", c.asked, &result);
        EXPECT_EQ(result, c.result) << c.asked;
        EXPECT_EQ(refreshes, c.refreshes) << c.asked;
        size_t read = std::min(c.asked, bytes.size());
        EXPECT_EQ(got.substr(0, read), bytes.substr(0, read)) << c.asked;
    }

    refreshes = 0;
    size_t size = 1;
    void* block = load_file_alloc("big.bin", &size, "test", 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 20000u);
    EXPECT_EQ(std::memcmp(block, bytes.data(), size), 0);
    EXPECT_EQ(refreshes, 3);
    free_memory(block, "test", 2);
}

TEST_F(FileLayer, AnEmptyFileLoadsAsAnEmptyBlock) {
    write_bytes(work / "empty.dat", "");
    size_t size = 99;
    void* block = load_file_alloc("EMPTY.DAT", &size, "test", 1);
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(size, 0u);
    free_memory(block, "test", 2);
}

TEST_F(FileLayer, ShortReadsReturnLessUnlessTheHandleIsStrict) {
    write_bytes(data / "short.dat", "0123456789");
    FileHandle* file = open_file("SHORT.DAT", FILE_ACCESS_READ, FILE_MODE_EXISTING, "test", 1);
    char buffer[16] = {};
    EXPECT_EQ(read_file(file, buffer, 4, "test", 2), 4u);
    EXPECT_EQ(get_file_size(file), 10);  // and the position is kept
    EXPECT_EQ(read_file(file, buffer, 4, "test", 3), 4u);
    EXPECT_EQ(std::string(buffer, 4), "4567");
    EXPECT_EQ(read_file(file, buffer, 8, "test", 4), 2u);
    EXPECT_EQ(get_file_position(file), 16);  // advanced by the count asked for
    seek_file(file, 1);
    skip_file(file, 2);
    EXPECT_EQ(read_file(file, buffer, 2, "test", 5), 2u);
    EXPECT_EQ(std::string(buffer, 2), "34");

    set_file_strict(file);
    seek_file(file, 8);
    // The handle found in the data directory names it in full.
    std::string message = "Read failed on file " + (data / "short.dat").string() + " \\(reader:7\\)";
    EXPECT_EXIT(read_file(file, buffer, 3, "reader", 7), testing::ExitedWithCode(10), message);
    EXPECT_EQ(read_file(file, buffer, 2, "test", 8), 2u);
    close_file(file);
}

TEST_F(FileLayer, HandlesRefuseTheOtherDirection) {
    write_bytes(work / "a.dat", "abc");
    FileHandle* reader = open_file("A.DAT", FILE_ACCESS_READ, FILE_MODE_EXISTING, "test", 1);
    FileHandle* writer = open_file("A.DAT", FILE_ACCESS_WRITE, FILE_MODE_EXISTING, "test", 2);
    char byte;
    EXPECT_EXIT(write_file(reader, "x", 1, "w", 3), testing::ExitedWithCode(10),
                "Write file on Read Only File A.DAT \\(w:3\\)");
    EXPECT_EXIT(read_file(writer, &byte, 1, "r", 4), testing::ExitedWithCode(10),
                "Read file on Write Only file A.DAT \\(r:4\\)");
    close_file(reader);
    close_file(writer);
}

TEST_F(FileLayer, ModesCreateAppendAndUpdateInPlace) {
    write_bytes(work / "f.dat", "old contents");
    FileHandle* file = open_file("F.DAT", FILE_ACCESS_WRITE, FILE_MODE_CREATE, "test", 1);
    EXPECT_EQ(get_file_size(file), 0);
    EXPECT_EQ(write_file_text(file, "new", "test", 2), 3u);
    EXPECT_EQ(close_file(file), 1);
    EXPECT_EQ(read_bytes(work / "f.dat"), "new");

    file = open_file("f.dat", FILE_ACCESS_WRITE, FILE_MODE_APPEND, "test", 3);
    EXPECT_EQ(get_file_position(file), 3);
    write_file_text(file, "er", "test", 4);
    EXPECT_EQ(close_file(file), 1);
    EXPECT_EQ(read_bytes(work / "f.dat"), "newer");

    file = open_file("f.dat", FILE_ACCESS_WRITE, FILE_MODE_EXISTING, "test", 5);
    EXPECT_EQ(get_file_position(file), 0);
    seek_file(file, 1);
    write_file_text(file, "E", "test", 6);
    skip_file(file, 1);
    write_file_text(file, "E", "test", 7);
    EXPECT_EQ(get_file_size(file), 5);
    close_file(file);
    EXPECT_EQ(read_bytes(work / "f.dat"), "nEwEr");

    file = open_file("F.DAT", FILE_ACCESS_READ, FILE_MODE_CREATE, "test", 8);
    char byte;
    EXPECT_EQ(read_file(file, &byte, 1, "test", 9), 0u);
    close_file(file);
    EXPECT_EQ(read_bytes(work / "f.dat"), "");
    EXPECT_EQ(entries(work), std::vector<std::string>{"f.dat"});
}

TEST_F(FileLayer, AFileIsReplacedOnlyWhenWrittenWhole) {
    write_bytes(work / "keep.dat", "old");
    EXPECT_EQ(save_file("KEEP.DAT", "newer", 5), 1);
    EXPECT_EQ(read_bytes(work / "keep.dat"), "newer");
    EXPECT_EQ(save_file("made.dat", "", 0), 1);
    EXPECT_EQ(read_bytes(work / "made.dat"), "");

    // A name held by a directory cannot be replaced: the save fails and leaves no trace.
    write_bytes(work / "busy" / "inside.dat", "inside");
    EXPECT_EQ(save_file("BUSY", "x", 1), 0);
    FileHandle* file = open_file("busy", FILE_ACCESS_WRITE, FILE_MODE_CREATE, "test", 1);
    write_file_text(file, "x", "test", 2);
    EXPECT_EQ(close_file(file), 0);
    EXPECT_EXIT(
        {
            file = open_file("busy", FILE_ACCESS_WRITE, FILE_MODE_CREATE, "opener", 3);
            set_file_strict(file);
            close_file(file);
        },
        testing::ExitedWithCode(10), "Write failed on file busy \\(opener:3\\)");
    EXPECT_EQ(read_bytes(work / "busy" / "inside.dat"), "inside");
    EXPECT_EQ(save_file("NODIR\\X.DAT", "x", 1), 0);
    EXPECT_EQ(entries(work), (std::vector<std::string>{"busy/", "keep.dat", "made.dat"}));
}

TEST_F(FileLayer, AnInPlaceWriteThatCameUpShortFailsAtClose) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // Longer than the stream's buffer, so the loss shows at the write and not at the close.
    const std::string bytes = pattern_bytes(100000);
    for (int mode : {FILE_MODE_APPEND, FILE_MODE_EXISTING}) {
        SCOPED_TRACE(mode);
        FileHandle* file = open_file("/dev/full", FILE_ACCESS_WRITE, mode, "test", 1);
        ASSERT_NE(file, nullptr);
        EXPECT_LT(write_file(file, bytes.data(), bytes.size(), "test", 2), bytes.size());
        EXPECT_EQ(close_file(file), 0);
    }
}

TEST_F(FileLayer, ListingsMergeBothDirectoriesWithoutDuplicates) {
    write_bytes(work / "log" / "PILOT1.LOG", "");
    write_bytes(work / "log" / "b.log", "");
    write_bytes(work / "log" / ".hidden.log", "");
    write_bytes(work / "log" / "notes.txt", "");
    fs::create_directories(work / "log" / "dir.log");
    write_bytes(data / "LOG" / "pilot1.log", "");
    write_bytes(data / "LOG" / "C.LOG", "");
    write_bytes(data / "LOG" / "A.LOG", "");
    write_bytes(data / "missdata" / "m1.mis", "");

    auto names = [](const char* directory, const char* pattern) {
        std::vector<std::string> found;
        FileListEntry* list = list_files(directory, pattern);
        for (FileListEntry* entry = list; entry; entry = get_next_file_entry(entry))
            found.push_back(get_file_entry_name(entry));
        free_file_list(list);
        return found;
    };
    EXPECT_EQ(names("LOG", "*.LOG"), (std::vector<std::string>{"PILOT1.LOG", "b.log", "A.LOG", "C.LOG"}));
    EXPECT_EQ(names("log\\", "*.*"),
              (std::vector<std::string>{"PILOT1.LOG", "b.log", "notes.txt", "A.LOG", "C.LOG"}));
    EXPECT_EQ(names("MISSDATA", "*.MIS"), std::vector<std::string>{"m1.mis"});
    EXPECT_TRUE(names("NOWHERE", "*.*").empty());
    EXPECT_TRUE(names(nullptr, "*.*").empty());
}

TEST_F(FileLayer, JoinPathTakesNamesOfAnyLength) {
    std::string directory(300, 'd');
    EXPECT_EQ(join_path(directory + "\\", "PILOT1.LOG"), directory + "\\PILOT1.LOG");
}

TEST_F(FileLayer, TheDataDirectoryIsTheFirstThatHoldsTheSentinel) {
    write_bytes(root / "other" / "VYR.ROP", "");
    write_bytes(root / "other" / "only.dat", "other");
    setenv("VYR_DATA", (root / "other").c_str(), 1);
    find_read_only_path("vyr.rop");
    EXPECT_EQ(load("ONLY.DAT", 5), "other");

    fs::path program = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path candidates[] = {program / "data", (program / "../share/vyr").lexically_normal(),
                                   "/usr/share/vyr"};
    for (const fs::path& candidate : candidates)
        if (fs::exists(candidate / "vyr.rop")) GTEST_SKIP() << candidate << " holds vyr.rop";
    // The player's own choice is never passed over for a fall-back.
    setenv("VYR_DATA", (root / "empty").c_str(), 1);
    EXPECT_EXIT(find_read_only_path("vyr.rop"), testing::ExitedWithCode(10),
                "VYR_DATA names " + (root / "empty").string() + ", which has no vyr.rop");
    unsetenv("VYR_DATA");
    std::string tried = candidates[0].string() + ", " + candidates[1].string() + ", " + candidates[2].string();
    EXPECT_EXIT(find_read_only_path("vyr.rop"), testing::ExitedWithCode(10),
                "Cannot find the data directory: no vyr.rop in " + tried);
}

}  // namespace
}  // namespace vyr
