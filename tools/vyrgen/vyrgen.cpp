// vyrgen: writes the sample data set into the directory given on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool write_file(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vyrgen DATA-DIRECTORY\n");
        return 2;
    }
    std::filesystem::path root = argv[1];
    std::error_code error;
    std::filesystem::create_directories(root, error);
    // The sentinel by which the program recognises its read-only data directory.
    if (error || !write_file(root / "vyr.rop", "vyr sample data\n")) {
        std::fprintf(stderr, "vyrgen: cannot write into %s\n", root.c_str());
        return 1;
    }
    return 0;
}
