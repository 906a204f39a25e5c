// A small menu screen for the toolkit's tests: a full-display background picture with a button
// drawn on it, and the button's pressed look as a picture of exactly the button's size.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr const char* TEST_SCREEN_NAME = "uidata/testscrn.lbm";
constexpr const char* TEST_BUTTON_NAME = "uidata/testbtn.lbm";
// The button's place on the background; an odd width, so its rows are stored padded.
constexpr int TEST_BUTTON_X = 240, TEST_BUTTON_Y = 220, TEST_BUTTON_WIDTH = 161, TEST_BUTTON_HEIGHT = 41;

std::vector<PictureFile> test_screen_pictures();

}  // namespace vyr::vyrgen
