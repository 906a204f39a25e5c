// vyrgen: writes the sample data set into the directory given on the command line.
#include <cstdio>
#include <string>

#include "tools/vyrgen/data_set.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vyrgen DATA-DIRECTORY\n");
        return 2;
    }
    std::string error;
    if (!vyr::vyrgen::write_data_set(argv[1], error)) {
        std::fprintf(stderr, "vyrgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
