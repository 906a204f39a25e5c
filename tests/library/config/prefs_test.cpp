#include "library/config/prefs.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/system/exit.h"
#include "library/system/library.h"
#include "library/system/winmain.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

class Prefs : public ScratchDirectories {
protected:
    void TearDown() override {
        replace_file = saved_replace;
        ScratchDirectories::TearDown();
    }

    // Loads `text` as prefs.cfg in the working directory.
    void load(std::string_view text) {
        write_bytes(work / "prefs.cfg", text);
        load_prefs("prefs.cfg");
    }

    static int read_int(const char* name) {
        int value = INT_MIN + 1;
        EXPECT_EQ(get_pref_int(name, &value), 1) << name;
        return value;
    }

    std::string saved() const { return read_bytes(work / "prefs.cfg"); }

    bool (*saved_replace)(const fs::path&, const fs::path&) = replace_file;
};

TEST_F(Prefs, OneSettingRoundTripsByteExact) {
    load_prefs("prefs.cfg");
    set_pref_int("Visual Range", 12);
    save_prefs();
    EXPECT_EQ(saved(), "Visual Range=12\r\n");
    load_prefs("prefs.cfg");
    EXPECT_EQ(read_int("VISUAL RANGE"), 12);
    save_prefs();
    EXPECT_EQ(saved(), "Visual Range=12\r\n");
}

TEST_F(Prefs, TheLastLineOfANameWinsAndStaysTheWinner) {
    load("A=1\r\nB=2\r\nA=3\r\n");
    EXPECT_EQ(read_int("a"), 3);
    EXPECT_EQ(read_int("B"), 2);
    save_prefs();
    EXPECT_EQ(saved(), "B=2\r\nA=3\r\n");
    for (int round = 0; round < 2; ++round) {
        load_prefs("prefs.cfg");
        save_prefs();
        EXPECT_EQ(read_int("A"), 3);
        EXPECT_EQ(read_int("B"), 2);
    }
}

TEST_F(Prefs, MalformedLinesAreSkippedOnTheirOwnAndKeptOnSave) {
    load("NOEQUALS\r\nSet Map=2\n\n=5\rEmpty=\r\n\r\nRange = a=b\r\nLast=9");
    EXPECT_EQ(read_int("Set Map"), 2);
    EXPECT_EQ(find_pref("NOEQUALSSet Map"), nullptr);
    EXPECT_EQ(find_pref("Empty"), nullptr);
    EXPECT_EQ(find_pref(""), nullptr);
    ASSERT_NE(find_pref("range "), nullptr);
    EXPECT_EQ(find_pref("RANGE ")->value, " a=b");
    EXPECT_EQ(read_int("Last"), 9);
    save_prefs();
    EXPECT_EQ(saved(), "Last=9\r\nRange = a=b\r\nEmpty=\r\n=5\r\nSet Map=2\r\nNOEQUALS\r\n");
}

TEST_F(Prefs, EveryLineSurvivesASaveWhateverBytesItHolds) {
    const std::string text = std::string("A=1\r\nB=x\0y\r\n\0\r\nC=\x01\xff\r\n", 21) + "D=4\r\n";
    load(text);
    EXPECT_EQ(read_int("D"), 4);
    EXPECT_EQ(find_pref("B")->value, std::string("x\0y", 3));
    save_prefs();
    EXPECT_EQ(saved(), "D=4\r\n" + std::string("C=\x01\xff\r\n\0\r\nB=x\0y\r\n", 16) + "A=1\r\n");
}

TEST_F(Prefs, UnknownSettingsSurviveASave) {
    load("Mystery Key=42\r\nSound Master Volume=100\r\n");
    set_pref_int("Sound Master Volume", 80);
    set_pref_string("COM_PORT", "2");
    save_prefs();
    EXPECT_EQ(saved(), "COM_PORT=2\r\nSound Master Volume=80\r\nMystery Key=42\r\n");
}

TEST_F(Prefs, ValuesReadAsTheirCallersExpect) {
    load("Number=  -12abc\r\nWord=abcdefg\r\nHuge=99999999999\r\nTiny=-99999999999\r\nNone=x\r\n");
    const struct {
        const char* name;
        int value;
    } numbers[] = {{"Number", -12}, {"Huge", INT_MAX}, {"Tiny", INT_MIN}, {"None", 0}, {"Word", 0}};
    for (const auto& n : numbers) EXPECT_EQ(read_int(n.name), n.value) << n.name;
    int untouched = 77;
    EXPECT_EQ(get_pref_int("Missing", &untouched), 0);
    EXPECT_EQ(untouched, 77);

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(get_pref_string("word", buffer, 4), 1);
    EXPECT_STREQ(buffer, "abc");
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(get_pref_string("Word", buffer, 0), 1);
    EXPECT_EQ(get_pref_string("Word", buffer, -3), 1);
    EXPECT_EQ(get_pref_string("Missing", buffer, 8), 0);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(get_pref_string("Word", buffer, 8), 1);
    EXPECT_STREQ(buffer, "abcdefg");

    set_pref_string("Word", nullptr);
    EXPECT_EQ(find_pref("Word")->value, "");
}

TEST_F(Prefs, SavingLeavesOutOneNameOrDeletesAnEmptyStore) {
    load("A=1\r\nB=2\r\n");
    save_prefs_except("b");
    EXPECT_EQ(saved(), "A=1\r\n");
    EXPECT_EQ(read_int("B"), 2);

    load_prefs("other.cfg");
    save_prefs();
    EXPECT_FALSE(fs::exists(work / "other.cfg"));
    EXPECT_TRUE(fs::exists(work / "prefs.cfg"));
    load("");
    save_prefs();
    EXPECT_FALSE(fs::exists(work / "prefs.cfg"));
}

// A malformed line that reads like the name stays: it is no setting.
TEST_F(Prefs, ADroppedSettingIsGoneFromMemoryAndTheFileAndCanComeBack) {
    load("A=1\r\nb\r\nB=2\r\nC=3\r\n");
    EXPECT_EQ(remove_pref("b"), 1);
    EXPECT_EQ(remove_pref("B"), 0) << "already gone";
    EXPECT_EQ(remove_pref(nullptr), 0);
    EXPECT_EQ(find_pref("B"), nullptr);
    save_prefs();
    EXPECT_EQ(saved(), "C=3\r\nb\r\nA=1\r\n");
    set_pref_int("B", 4);
    EXPECT_EQ(read_int("b"), 4);
    save_prefs();
    EXPECT_EQ(saved(), "B=4\r\nC=3\r\nb\r\nA=1\r\n");
}

TEST_F(Prefs, ReadFromTheDataDirectoryButWrittenToTheWorkingOne) {
    write_bytes(data / "PREFS.CFG", "Set Map=3\r\n");
    load_prefs("prefs.cfg");
    EXPECT_EQ(read_int("Set Map"), 3);
    set_pref_int("Set Map", 4);
    save_prefs();
    EXPECT_EQ(saved(), "Set Map=4\r\n");
    EXPECT_EQ(read_bytes(data / "PREFS.CFG"), "Set Map=3\r\n");
}

TEST_F(Prefs, AKillDuringASaveLeavesTheOldFile) {
    load("Visual Range=12\r\n");
    set_pref_int("Visual Range", 5);
    replace_file = [](const fs::path&, const fs::path&) -> bool { std::_Exit(3); };
    EXPECT_EXIT(save_prefs(), testing::ExitedWithCode(3), "");
    EXPECT_EQ(saved(), "Visual Range=12\r\n");
    load_prefs("prefs.cfg");
    EXPECT_EQ(read_int("Visual Range"), 12);
}

TEST_F(Prefs, AFailedSaveIsReportedAndLeavesTheOldFile) {
    load("Visual Range=12\r\n");
    set_pref_int("Visual Range", 5);
    replace_file = [](const fs::path&, const fs::path&) { return false; };
    EXPECT_EXIT(save_prefs(), testing::ExitedWithCode(10),
                "Write failed on file prefs.cfg \\(library/config/prefs:[0-9]+\\)");
    EXPECT_EQ(saved(), "Visual Range=12\r\n");
    EXPECT_EQ(entries(work), std::vector<std::string>{"prefs.cfg"});
}

TEST_F(Prefs, TheExitWritesTheStoreOnceEvenWhenLoadedTwice) {
    EXPECT_EXIT(
        {
            load_prefs("prefs.cfg");
            load_prefs("prefs.cfg");
            set_pref_int("Visual Range", 12);
            end_process(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(saved(), "Visual Range=12\r\n");
}

// The start-up also starts the threads and the pointer, which ask a window thread for work.
using LibraryStartUp = HeadlessWorld;

TEST_F(LibraryStartUp, FindsTheDataThenReadsSettingsAndTables) {
    write_bytes(data / "prefs.cfg", "Visual Range=7\r\n");
    random_seed = 99;
    init_library("vyr.rop");
    int value = 0;
    EXPECT_EQ(get_pref_int("Visual Range", &value), 1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(sin_table[2048], 2147483647);
    EXPECT_EQ(random_seed, 0);
    for (const char* table : {"SINCOS.TBL", "ARCSIN.TBL", "ARCCOS.TBL", "ARCTAN.TBL"})
        EXPECT_TRUE(fs::exists(work / table)) << table;
}

}  // namespace
}  // namespace vyr
