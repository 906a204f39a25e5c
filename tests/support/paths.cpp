#include "tests/support/paths.h"

const char* const VYR_BUILD_DIR = VYR_BUILD_PATH;
const char* const VYR_GENERATED_DATA_DIR = VYR_DATA_PATH;
const char* const VYR_SOURCE_DIR = VYR_SOURCE_PATH;
const char* const VYR_FIXTURES_DIR = VYR_FIXTURES_PATH;
