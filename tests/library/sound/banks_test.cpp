#include "library/sound/banks.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

struct Bytes : std::vector<uint8_t> {
    Bytes& word(int32_t v) {
        for (int shift = 0; shift < 32; shift += 8) push_back(uint8_t(uint32_t(v) >> shift));
        return *this;
    }
    Bytes& data(const std::vector<uint8_t>& bytes) {
        insert(end(), bytes.begin(), bytes.end());
        return *this;
    }
};

std::vector<uint8_t> read_whole(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Banks : public SoundTest {
protected:
    // Sample files for a few rows, written in lower case as vyrgen writes them.
    void write_samples() {
        for (auto& [row, bytes] : samples) {
            std::string name = sample_table[row].file_name;
            std::replace(name.begin(), name.end(), '\\', '/');
            for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
            write_bytes(name, bytes);
        }
    }

    std::vector<uint8_t> row_contents(int row) {
        return contents(sample_table[row].buffer, 0, sample_table[row].length);
    }

    std::map<int, std::vector<uint8_t>> samples = {
        {0, std::vector<uint8_t>(300, 0x90)}, {3, {0x11, 0x22}}, {12, std::vector<uint8_t>(150, 0x40)},
        {44, std::vector<uint8_t>(120, 0x70)}, {45, std::vector<uint8_t>(200, 0xa0)},
        {206, std::vector<uint8_t>(110, 0xb0)},
    };
};

TEST_F(Banks, FullBankIsBuiltFromTheSampleFilesAndReloadsIdentically) {
    write_samples();
    load_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 1);
    Bytes expected;
    expected.word(300 + 2 + 150 + 120 + 200 + 110);  // the sizes of the files, as they are
    for (auto& [row, bytes] : samples) {
        std::vector<uint8_t> stored = bytes;
        stored.resize(std::max<size_t>(bytes.size(), 4), 0x80);
        expected.word(row).word(int32_t(stored.size())).data(stored);
    }
    expected.word(-1);
    EXPECT_EQ(read_whole("sound/maximal.blk"), expected);

    std::map<int, std::vector<uint8_t>> loaded;
    for (int row = 0; row < SAMPLE_COUNT; ++row) {
        if (!samples.count(row)) {
            EXPECT_EQ(sample_table[row].buffer, nullptr) << row;
            continue;
        }
        loaded[row] = row_contents(row);
        EXPECT_EQ(loaded[row].size(), std::max<size_t>(samples[row].size(), 4)) << row;
        EXPECT_TRUE(std::equal(samples[row].begin(), samples[row].end(), loaded[row].begin())) << row;
    }

    release_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 0);
    std::filesystem::remove_all("sound");
    std::filesystem::create_directory("sound");
    write_bytes("sound/maximal.blk", expected);
    load_sample_bank();
    for (auto& [row, bytes] : loaded) EXPECT_EQ(row_contents(row), bytes) << row;
}

TEST_F(Banks, MinimalBankHoldsTheMinimalRowsWithoutATotal) {
    write_samples();
    minimal_sound_set = 1;
    load_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 0);
    EXPECT_FALSE(std::filesystem::exists("sound/maximal.blk"));
    load_minimal_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 1);
    Bytes expected;
    expected.word(0).word(300).data(samples[0]);
    expected.word(3).word(4).data({0x11, 0x22, 0x80, 0x80});
    expected.word(12).word(150).data(samples[12]);
    expected.word(44).word(120).data(samples[44]);
    expected.word(-1);
    EXPECT_EQ(read_whole("sound/minimal.blk"), expected);
    EXPECT_EQ(sample_table[45].buffer, nullptr);
    EXPECT_EQ(sample_table[206].buffer, nullptr);
}

TEST_F(Banks, TinyRowGetsAFourByteLength) {
    write_bytes("sound/maximal.blk", Bytes().word(2).word(3).word(2).data({0x11, 0x22}).word(-1));
    load_sample_bank();
    EXPECT_EQ(sample_table[3].length, 4);
    EXPECT_EQ(row_contents(3), (std::vector<uint8_t>{0x11, 0x22, 0x80, 0x80}));
    EXPECT_EQ(play_sample(3, 0, 63, 0x8000), 0);
}

TEST_F(Banks, ADamagedBankIsBuiltAgainFromTheSamplesKeepingWhatWasRead) {
    write_samples();
    load_sample_bank();
    const std::vector<uint8_t> built = read_whole("sound/maximal.blk");
    release_sample_bank();
    const struct {
        const char* what;
        Bytes bank;
        bool row_1_loaded;
    } cases[] = {
        {"runs past the end", Bytes().word(0).word(1).word(10).data({1, 2, 3, 4, 5}), false},
        {"row outside the table",
         Bytes().word(0).word(1).word(2).data({1, 2}).word(300).word(2).data({1, 2}).word(-1), true},
        {"negative length", Bytes().word(0).word(1).word(2).data({1, 2}).word(2).word(-5).word(-1), true},
        {"no closing record", Bytes().word(0).word(1).word(2).data({1, 2}), true},
        {"header cut short", Bytes().word(0).word(1).data({2, 0}), false},
        {"empty", Bytes(), false},
    };
    for (const auto& c : cases) {
        write_bytes("sound/maximal.blk", c.bank);
        testing::internal::CaptureStderr();
        load_sample_bank();
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.what << ": " << said;
        EXPECT_NE(said.find("maximal.blk"), std::string::npos) << c.what;
        EXPECT_EQ(sound_bank_loaded, 1) << c.what;
        EXPECT_EQ(sample_table[1].buffer != nullptr, c.row_1_loaded) << c.what;
        EXPECT_EQ(row_contents(12), samples[12]) << c.what << ": the samples are heard";
        EXPECT_EQ(read_whole("sound/maximal.blk"), built) << c.what << ": and the next run reads them";
        release_sample_bank();
    }
}

TEST_F(Banks, NothingIsLoadedWithoutEffectsOrDevice) {
    write_samples();
    sound_effects_on = 0;
    load_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 0);
    sound_effects_on = 1;
    send_request(REQ_RELEASE_SOUND);
    load_sample_bank();
    EXPECT_EQ(sound_bank_loaded, 0);
    EXPECT_FALSE(std::filesystem::exists("sound/maximal.blk"));
}

}  // namespace
}  // namespace vyr
