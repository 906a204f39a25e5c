#include "tools/vyrgen/menus/flight_keys.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/paths.h"

namespace vyr::vyrgen {
namespace {

// The README's table of flight keys is the help page's, row for row.
TEST(FlightKeys, TheReadmeListsTheHelpPagesTable) {
    std::ifstream readme(std::string(VYR_SOURCE_DIR) + "/README.md");
    ASSERT_TRUE(readme);
    std::vector<std::string> rows;
    bool in_table = false;
    for (std::string line; std::getline(readme, line);) {
        if (line == "| keys | action |") in_table = true;
        else if (in_table && line.rfind("| ", 0) == 0) rows.push_back(line);
        else if (in_table && line.rfind("|---", 0) != 0) break;
    }
    std::vector<std::string> expected;
    for (const FlightKey& key : FLIGHT_KEYS) expected.push_back(std::string("| ") + key.keys + " | " + key.action + " |");
    EXPECT_EQ(rows, expected);
}

}  // namespace
}  // namespace vyr::vyrgen
