// The campaign texts of the sample data set: for each war zone with a campaign, text 0 opens the
// campaign (":Description"), ends it lost (":Failure") or ends it won (":Success"); texts 1 to 11
// hold the situation at that level (":Situation") and what a failed mission at it brought
// (":Failure"). A "::" in them is a colon the game shows followed by a blank.
#pragma once

#include <string>

namespace vyr::vyrgen {

constexpr int CAMPAIGN_TEXTS = 12;  // texts 0 to 11

// The text file of `number` (0 to 11) for war zone `zone` (1 to 4).
std::string campaign_text(int zone, int number);

}  // namespace vyr::vyrgen
