#pragma once

// Where the tree, its build, the generated data set and the test fixtures are. Only paths.cpp is compiled with the
// build's own directories, so every other test object is the same in every clone of the tree.
extern const char* const VYR_BUILD_DIR;
extern const char* const VYR_GENERATED_DATA_DIR;
extern const char* const VYR_SOURCE_DIR;
extern const char* const VYR_FIXTURES_DIR;
