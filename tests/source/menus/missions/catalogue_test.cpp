#include "source/menus/missions/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/system/memory.h"
#include "source/mission/game_flow.h"
#include "source/mission/tagged_text.h"
#include "source/startup.h"
#include "tests/source/mission/zone_fixture.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

// A record parsed from the text of a text file.
class MissionText : public ScratchDirectories {
protected:
    void TearDown() override {
        free_mission_catalogue();
        ScratchDirectories::TearDown();
    }

    Mission* parse_text(std::string text) {
        Mission* mission = create_mission_record();
        mission_tag = TAG_UNKNOWN;
        parse_tagged_lines("text", text.data(), text.size(), parse_mission_text, mission);
        return mission;
    }
};

TEST_F(MissionText, LinesJoinIntoRunningTextAndTheBriefingKeepsItsLines) {
    Mission* mission = parse_text(":Title\nOperation\nThunder\n:Briefing\nwait 5\nshow 2\n:Success\nDone \nwell\n");
    EXPECT_STREQ(mission->title, "Operation Thunder");
    EXPECT_STREQ(mission->briefing, "wait 5\nshow 2");
    EXPECT_STREQ(mission->success, "Done well") << "a line ending in a blank gets no second one";
    EXPECT_EQ(mission->failure, nullptr);
}

TEST_F(MissionText, ParaBreaksOnlyTheDescription) {
    Mission* mission = parse_text(":Description\nFirst\n:Para\nSecond\n:Para\n:Para\nThird\n:Title\nA\n:Para\nB\n");
    EXPECT_STREQ(mission->description, "First\nSecond\n\nThird");
    EXPECT_STREQ(mission->title, "A B") << "PARA after TITLE changes nothing";
}

TEST_F(MissionText, NothingCountsAfterEof) {
    Mission* mission = parse_text(":Title\nKept\n:EOF\n:Title\nLost\nanything at all\n");
    EXPECT_STREQ(mission->title, "Kept");
}

TEST_F(MissionText, DataBeforeAnyKnownTagIsFatalNamingFileAndLine) {
    EXPECT_DEATH(parse_text("\nFirst line\n"), "Tag Not Defined 0 in text line 2");
    EXPECT_DEATH(parse_text(":Titel\nText\n"), "Tag Not Defined 0 in text line 2");
    EXPECT_DEATH(parse_text(":Game Flow\n3\n"), "Tag Not Defined 17 in text line 2");
}

TEST_F(MissionText, HeaderNumbersAreDecimalLeadingParts) {
    Mission* mission = create_mission_record();
    std::string header = ":Game Flow\n4 campaign\n:war zone\n2\n:Campaign Level\n-3\n";
    mission_tag = TAG_UNKNOWN;
    parse_tagged_lines("header", header.data(), header.size(), parse_mission_header, mission);
    EXPECT_EQ(mission->flow, 4);
    EXPECT_EQ(mission->zone, 2);
    EXPECT_EQ(mission->level, -3);
    std::string bad = ":Title\nNo\n";
    EXPECT_DEATH(parse_tagged_lines("header", bad.data(), bad.size(), parse_mission_header, mission),
                 "Tag Not Defined 2 in header line 2");
}

TEST(MissionNames, ZoneFlowAndNumber) {
    struct Case {
        int zone, flow, number;
        const char* name;
    };
    const Case cases[] = {
        {1, 1, 1, "ISRALQ01"}, {5, 2, 7, "USAT07"},  {3, 4, 12, "CYPUSC12"}, {3, 5, 9, "CYPUSM01"},
        {1, 6, 4, "ISRALMC1"}, {2, 3, 3, "KOREAS03"}, {4, 7, 30, "AFGHNL30"}, {2, 8, 5, "KOREAV05"},
        {5, 3, 2, "USA02"},    {1, 2, 1, "ISRT01"},   {2, 0, 9, "KOREA09"},   {4, 3, 123, "AFGHNS123"},
    };
    for (const Case& c : cases) {
        char* name = make_mission_name(c.zone, c.flow, c.number);
        EXPECT_STREQ(name, c.name);
        free_memory(name, "test", __LINE__);
    }
    EXPECT_DEATH(make_mission_name(6, 3, 1), "warzone 6 does not exist");
    EXPECT_DEATH(make_mission_name(0, 3, 1), "warzone 0 does not exist");
}

TEST(MissionNames, TextFilesLiveInTheLanguageFolder) {
    const int saved = product_language;
    const std::pair<int, const char*> cases[] = {
        {LANG_ENGLISH, "KOREAS03"}, {LANG_US, "usa\\KOREAS03"}, {LANG_GERMAN, "german\\KOREAS03"}, {9, "KOREAS03"}};
    for (auto [language, expected] : cases) {
        product_language = language;
        char* path = language_folder(2, 3, 3);
        EXPECT_STREQ(path, expected);
        free_memory(path, "test", __LINE__);
    }
    product_language = saved;
}

// The same missions as loose files and as a missions.blk.
struct SampleMission {
    int zone, flow, number, level;
    const char* title;
};
const SampleMission SAMPLES[] = {
    {2, 3, 4, 0, "Bridge"},   {2, 3, 1, 0, "Convoy"},  {1, 3, 2, 0, "Airfield"}, {2, 4, 1, 3, "Push"},
    {2, 4, 2, 1, "Hold"},     {5, 2, 1, 0, "Circuit"}, {3, 4, 3, 3, "Harbour"},  {2, 1, 1, 0, "Quick"},
};

std::string text_of(const SampleMission& m) { return std::string(":Title\n") + m.title + "\n:Description\nText.\n"; }
std::string header_of(const SampleMission& m) {
    return ":Game Flow\n" + std::to_string(m.flow) + "\n:War Zone\n" + std::to_string(m.zone) + "\n:Campaign Level\n" +
           std::to_string(m.level) + "\n";
}

void put_word(std::string& out, int32_t value) {
    for (int i = 0; i < 4; ++i) out += char(uint32_t(value) >> (8 * i) & 0xff);
}

class Catalogue : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        saved_language = product_language;
        product_language = LANG_ENGLISH;
        clear_mission_filter();
    }
    void TearDown() override {
        free_mission_catalogue();
        product_language = saved_language;
        clear_mission_filter();
        ScratchDirectories::TearDown();
    }

    void write_loose() {
        for (const SampleMission& m : SAMPLES) {
            char* name = make_mission_name(m.zone, m.flow, m.number);
            write_bytes(data / "missdata" / (std::string(name) + ".txt"), text_of(m));
            write_bytes(data / "missdata" / (std::string(name) + ".mis"), header_of(m));
            write_bytes(data / "missdata" / (std::string(name) + ".dta"), ":Time\n9:00\n");
            free_memory(name, "test", __LINE__);
        }
    }
    void write_block() {
        std::string blk;
        for (const SampleMission& m : SAMPLES) {
            put_word(blk, m.number);
            put_word(blk, int32_t(text_of(m).size()));
            blk += text_of(m);
            put_word(blk, int32_t(header_of(m).size()));
            blk += header_of(m);
        }
        put_word(blk, -1);
        write_bytes(data / "missdata" / "missions.blk", blk);
    }

    // Titles of the listed missions, sorted, under each filter.
    std::vector<std::string> listings() {
        sort_mission_catalogue();
        std::vector<std::string> out;
        auto list = [&](const char* what) {
            std::string line = std::string(what) + ":";
            for (Mission* m = first_listed_mission(); m; m = next_listed_mission(m)) line += std::string(" ") + m->title;
            out.push_back(line);
        };
        // Records of one number keep the order they were made in, which differs between the ways.
        clear_mission_filter();
        std::string numbers = "all numbers:";
        for (Mission* m = first_listed_mission(); m; m = next_listed_mission(m)) numbers += " " + std::to_string(m->number);
        out.push_back(numbers);
        set_mission_filter_zone(2);
        set_mission_filter_single();
        list("Korea single");
        set_mission_filter_campaign();
        set_mission_filter_level(3);
        list("Korea campaign 3");
        set_mission_filter_zone(0);
        list("campaign 3");
        set_mission_filter_training();
        list("training");
        mission_filter_flow = 5;
        list("deathmatch");
        return out;
    }

    int saved_language = LANG_ENGLISH;
};

TEST_F(Catalogue, BuiltFromLooseFilesOrMissionsBlkItListsFiltersAndSortsAlike) {
    write_loose();
    load_mission_catalogue();
    const std::vector<std::string> loose = listings();
    free_mission_catalogue();
    write_block();
    load_mission_catalogue();
    EXPECT_EQ(listings(), loose);
    EXPECT_EQ(loose, (std::vector<std::string>{
                         "all numbers: 1 1 1 1 2 2 3 4",
                         "Korea single: Convoy Bridge",
                         "Korea campaign 3: Push",
                         "campaign 3: Push Harbour",
                         "training: Circuit",
                         "deathmatch:",
                     }));
}

TEST_F(Catalogue, TheGeneratedMissionsListAlikeBothWays) {
    std::filesystem::create_directories(data / "missdata");
    for (const auto& entry : std::filesystem::directory_iterator(GENERATED_DATA / "missdata"))
        if (entry.is_regular_file() && entry.path().extension() != ".blk")
            std::filesystem::copy_file(entry.path(), data / "missdata" / entry.path().filename());
    load_mission_catalogue();
    const std::vector<std::string> loose = listings();
    free_mission_catalogue();
    std::filesystem::copy_file(GENERATED_DATA / "missdata" / "missions.blk", data / "missdata" / "missions.blk");
    load_mission_catalogue();
    EXPECT_EQ(listings(), loose);
    EXPECT_EQ(loose[1], "Korea single: Korea Patrol Korea Strike");
    EXPECT_EQ(loose[4], "training: Training: Flying the Route Training: Landing");
}

TEST_F(Catalogue, LooseMissionsNeedAllThreeFiles) {
    write_loose();
    std::filesystem::remove(data / "missdata" / "KOREAS04.dta");
    std::filesystem::remove(data / "missdata" / "ISRALS02.mis");
    load_mission_catalogue();
    set_mission_filter_single();
    EXPECT_EQ(first_listed_mission()->title, std::string("Convoy"));
    EXPECT_EQ(next_listed_mission(first_listed_mission()), nullptr);
}

TEST_F(Catalogue, APlayersBadLooseFileIsRefusedAndItsMissionLeftOut) {
    write_loose();
    write_bytes(work / "missdata" / "KOREAS04.txt", ":Title\nBridge\n:Game Flow\n3\n");
    write_bytes(work / "missdata" / "KOREAS01.mis", ":Game Flow\n3\n:Title\nConvoy\n");
    testing::internal::CaptureStderr();
    load_mission_catalogue();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vyr: This mission cannot be loaded: Tag Not Defined 2 in missdata\\KOREAS01.mis line 4\n"
              "vyr: This mission cannot be loaded: Tag Not Defined 17 in missdata\\KOREAS04.txt line 4\n");
    set_mission_filter_zone(2);
    set_mission_filter_single();
    EXPECT_EQ(first_listed_mission(), nullptr);
    EXPECT_EQ(read_bytes(work / "missdata" / "KOREAS04.txt"), ":Title\nBridge\n:Game Flow\n3\n");
}

TEST_F(Catalogue, TheLanguageChoosesItsMissionsBlk) {
    std::string blk;
    put_word(blk, -1);
    write_bytes(data / "missdata" / "missions.blk", blk);
    blk.clear();
    put_word(blk, 7);
    put_word(blk, 13);
    blk += ":Title\nTitre\n";
    put_word(blk, 0);
    put_word(blk, -1);
    write_bytes(data / "missdata" / "french" / "missions.blk", blk);
    load_mission_catalogue();
    EXPECT_EQ(mission_catalogue, nullptr) << "a missions.blk of only -1 lists nothing";
    product_language = LANG_FRENCH;
    load_mission_catalogue();
    ASSERT_NE(mission_catalogue, nullptr);
    EXPECT_EQ(mission_catalogue->number, 7);
    EXPECT_STREQ(mission_catalogue->title, "Titre");
}

TEST_F(Catalogue, MalformedMissionsBlkIsFatalNamingTheFile) {
    struct Case {
        const char* what;
        std::vector<int32_t> words;
        std::string tail;
        const char* message;
    };
    const Case cases[] = {
        {"no closing -1", {3, 0, 0}, "", "missions.blk: the list of missions does not end with -1"},
        {"negative length", {3, -5}, "", "mission 3's text length -5 runs past the file"},
        {"length past the end", {3, 100}, ":Title\n", "mission 3's text length 100 runs past the file"},
        {"header past the end", {4, 0, 9}, "", "mission 4's header length 9 runs past the file"},
        {"cut inside a length", {4, 0}, "\x01", "mission 4 has no header length"},
    };
    for (const Case& c : cases) {
        std::string blk;
        for (int32_t word : c.words) put_word(blk, word);
        blk += c.tail;
        write_bytes(data / "missdata" / "missions.blk", blk);
        EXPECT_DEATH(load_mission_catalogue(), c.message) << c.what;
    }
}

TEST_F(Catalogue, SortKeepsTheOrderOfEqualNumbers) {
    for (int number : {3, 1, 2, 1}) create_mission_record()->number = number;
    mission_catalogue->title = static_cast<char*>(allocate_memory(2, "test", __LINE__));
    std::strcpy(mission_catalogue->title, "L");  // the last made, first in the list
    sort_mission_catalogue();
    std::vector<int> numbers;
    for (Mission* m = mission_catalogue; m; m = m->next) {
        numbers.push_back(m->number);
        if (m->next) {
            EXPECT_EQ(m->next->prev, m);
        }
    }
    EXPECT_EQ(numbers, (std::vector<int>{1, 1, 2, 3}));
    EXPECT_STREQ(mission_catalogue->title, "L");
}

using CatalogueInZone = GeneratedZone;

TEST_F(CatalogueInZone, DeleteUnlinksAndRemovesTheDataFileOfTheCurrentZone) {
    enter(2);
    write_bytes(work / "missdata" / "KOREAS05.dta", "x");
    write_bytes(work / "missdata" / "KOREAS00.dta", "x");
    Mission* kept = create_mission_record();
    Mission* unsaved = create_mission_record();
    Mission* saved = create_mission_record();
    kept->number = 1;
    saved->flow = unsaved->flow = FLOW_SINGLE_MISSION;
    saved->number = 5;
    delete_mission(saved);
    delete_mission(unsaved);
    EXPECT_EQ(mission_catalogue, kept);
    EXPECT_EQ(kept->prev, nullptr);
    EXPECT_FALSE(std::filesystem::exists(work / "missdata" / "KOREAS05.dta"));
    EXPECT_TRUE(std::filesystem::exists(work / "missdata" / "KOREAS00.dta")) << "number 0 has no file to delete";
    free_memory(saved, "test", __LINE__);
    free_memory(unsaved, "test", __LINE__);
    free_mission_catalogue();
}

}  // namespace
}  // namespace vyr
