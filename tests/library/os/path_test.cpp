#include "library/os/path.h"

#include <gtest/gtest.h>

#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

using GameNames = ScratchDirectories;

TEST_F(GameNames, FindBackslashNamesRegardlessOfCaseExactFirst) {
    write_bytes(data / "3ddata" / "3dobjs.bin", "x");
    write_bytes(data / "Menuscrn" / "Title.LBM", "x");
    write_bytes(data / "twin" / "Foo.txt", "x");
    write_bytes(data / "twin" / "FOO.TXT", "x");
    write_bytes(data / "twin" / "foo.TXT", "x");
    const struct {
        const char* name;
        const char* found;  // relative to the data directory; empty: none
    } cases[] = {
        {"3DDATA\\3DOBJS.BIN", "3ddata/3dobjs.bin"},
        {"3ddata/3dobjs.bin", "3ddata/3dobjs.bin"},
        {"3DData\\\\3DObjs.Bin", "3ddata/3dobjs.bin"},
        {"menuscrn\\title.lbm", "Menuscrn/Title.LBM"},
        {"twin\\FOO.TXT", "twin/FOO.TXT"},
        {"twin\\Foo.txt", "twin/Foo.txt"},
        {"twin\\foo.txt", "twin/FOO.TXT"},  // no exact name: the first in byte order
        {"3DDATA\\NOPE.BIN", ""},
        {"NOPE\\3DOBJS.BIN", ""},
    };
    for (const auto& c : cases) {
        fs::path found = find_path(data, c.name);
        EXPECT_EQ(found.empty() ? "" : found.lexically_relative(data).string(), c.found) << c.name;
    }
}

TEST_F(GameNames, PlaceWritesOverTheExistingFileInAnyCase) {
    write_bytes(work / "log" / "pilot1.log", "x");
    EXPECT_EQ(place_path({}, "LOG\\PILOT1.LOG"), fs::path("./log/pilot1.log"));
    EXPECT_EQ(place_path({}, "LOG\\PILOT2.LOG"), fs::path("./log/PILOT2.LOG"));
    EXPECT_EQ(place_path({}, "prefs.cfg"), fs::path("./prefs.cfg"));
    EXPECT_TRUE(place_path({}, "MISSING\\FILE.DAT").empty());
    EXPECT_TRUE(place_path({}, "LOG\\PILOT1.LOG\\X").empty());
    EXPECT_TRUE(place_path({}, "LOG\\").empty());
}

TEST(FilePattern, MatchesLikeTheGamesWildcards) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"PILOT1.LOG", "*.LOG", true},   {"pilot1.log", "*.LOG", true},
        {"PILOT1.LOGX", "*.LOG", false}, {"README", "*.*", true},
        {"a.b.c", "*.*", true},          {"A.B", "?.B", true},
        {"AB.B", "?.B", false},          {"MISSION", "MISSION.*", true},
        {"MISSION1", "MISSION.*", false}, {"m01.dta", "M*.DTA", true},
        {"x.dta", "*.mis", false},       {"", "*", true},
        {"abcabd", "*abd", true},        {"abc", "a*b*c*d", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(match_file_pattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

}  // namespace
}  // namespace vyr
