#include "tools/vyrgen/pictures/lettering.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace vyr::vyrgen {

namespace {

constexpr double GRID_HEIGHT = 6;  // glyphs are drawn on a 4 x 6 grid
constexpr double ADVANCE = 6;

// Polylines of grid points "x,y x,y ..." separated by '|'.
const char* glyph(char c) {
    switch (c) {
        case 'A': return "0,6 0,2 2,0 4,2 4,6|0,3 4,3";
        case 'B': return "0,0 0,6 3,6 4,5 4,4 3,3 0,3|0,0 3,0 4,1 4,2 3,3";
        case 'C': return "4,0 1,0 0,1 0,5 1,6 4,6";
        case 'D': return "0,0 0,6 2,6 4,4 4,2 2,0 0,0";
        case 'E': return "4,0 0,0 0,6 4,6|0,3 3,3";
        case 'F': return "4,0 0,0 0,6|0,3 3,3";
        case 'G': return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3 2,3";
        case 'H': return "0,0 0,6|4,0 4,6|0,3 4,3";
        case 'I': return "1,0 3,0|2,0 2,6|1,6 3,6";
        case 'J': return "4,0 4,5 3,6 1,6 0,5";
        case 'K': return "0,0 0,6|4,0 0,3 4,6";
        case 'L': return "0,0 0,6 4,6";
        case 'M': return "0,6 0,0 2,3 4,0 4,6";
        case 'N': return "0,6 0,0 4,6 4,0";
        case 'O': case '0': return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
        case 'P': return "0,6 0,0 3,0 4,1 4,2 3,3 0,3";
        case 'Q': return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|2,4 4,6";
        case 'R': return "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6";
        case 'S': return "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5";
        case 'T': return "0,0 4,0|2,0 2,6";
        case 'U': return "0,0 0,5 1,6 3,6 4,5 4,0";
        case 'V': return "0,0 2,6 4,0";
        case 'W': return "0,0 1,6 2,3 3,6 4,0";
        case 'X': return "0,0 4,6|4,0 0,6";
        case 'Y': return "0,0 2,3 4,0|2,3 2,6";
        case 'Z': return "0,0 4,0 0,6 4,6";
        case '1': return "1,1 2,0 2,6|1,6 3,6";
        case '2': return "0,1 1,0 3,0 4,1 4,2 0,6 4,6";
        case '3': return "0,0 4,0 2,3 3,3 4,4 4,5 3,6 1,6 0,5";
        case '4': return "3,6 3,0 0,4 4,4";
        case '5': return "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6";
        case '6': return "3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3";
        case '7': return "0,0 4,0 1,6";
        case '8': return "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3";
        case '9': return "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,5 3,6 1,6";
        case '-': return "1,3 3,3";
        case '.': return "2,6 2,6";
        case '?': return "0,1 1,0 3,0 4,1 4,2 2,3 2,4|2,6 2,6";
        case '+': return "2,1 2,5|0,3 4,3";
        case '=': return "0,2 4,2|0,4 4,4";
        case '/': return "4,0 0,6";
        default: return "";
    }
}

// Lower-case letters on the capitals' grid: the x-height from row 2 to the baseline at 6,
// ascenders from row 0 and descenders to row 7.5.
const char* lower_case_glyph(char c) {
    switch (c) {
        case 'a': return "4,2 4,6|4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
        case 'b': return "0,0 0,6|0,3 1,2 3,2 4,3 4,5 3,6 1,6 0,5";
        case 'c': return "4,2 1,2 0,3 0,5 1,6 4,6";
        case 'd': return "4,0 4,6|4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
        case 'e': return "0,4 4,4 4,3 3,2 1,2 0,3 0,5 1,6 4,6";
        case 'f': return "4,0.5 3,0 2,0 1,1 1,6|0,2.5 3,2.5";
        case 'g': return "4,2 4,7 3,7.5 0.5,7.5|4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
        case 'h': return "0,0 0,6|0,3 1,2 3,2 4,3 4,6";
        case 'i': return "1,2 2,2 2,6|1,6 3,6|2,0 2,0";
        case 'j': return "2,2 3,2 3,7 2,7.5 0.5,7.5|3,0 3,0";
        case 'k': return "0,0 0,6|4,2 0,4.5|1.5,3.5 4,6";
        case 'l': return "1,0 2,0 2,6|1,6 3,6";
        case 'm': return "0,6 0,2|0,3 1,2 2,3 2,6|2,3 3,2 4,3 4,6";
        case 'n': return "0,2 0,6|0,3 1,2 3,2 4,3 4,6";
        case 'o': return "1,2 3,2 4,3 4,5 3,6 1,6 0,5 0,3 1,2";
        case 'p': return "0,2 0,7.5|0,3 1,2 3,2 4,3 4,5 3,6 1,6 0,5";
        case 'q': return "4,2 4,7.5|4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
        case 'r': return "0,2 0,6|0,4 2,2 4,2";
        case 's': return "4,2 1,2 0,3 1,4 3,4 4,5 3,6 0,6";
        case 't': return "1,0.5 1,5 2,6 3,6|0,2 3,2";
        case 'u': return "0,2 0,5 1,6 3,6 4,5|4,2 4,6";
        case 'v': return "0,2 2,6 4,2";
        case 'w': return "0,2 1,6 2,4 3,6 4,2";
        case 'x': return "0,2 4,6|4,2 0,6";
        case 'y': return "0,2 2,6|4,2 1.5,7.5";
        case 'z': return "0,2 4,2 0,6 4,6";
        default: return nullptr;
    }
}

Region strokes_of(const char* shape, double left, double top, double unit, double weight) {
    std::vector<Region> strokes;
    std::istringstream lines(shape);
    std::string line;
    while (std::getline(lines, line, '|')) {
        std::istringstream points(line);
        double px, py, qx, qy;
        char comma;
        if (!(points >> px >> comma >> py)) continue;
        strokes.push_back(stroke(left + px * unit, top + py * unit, left + px * unit, top + py * unit, weight));
        while (points >> qx >> comma >> qy) {
            strokes.push_back(stroke(left + px * unit, top + py * unit, left + qx * unit, top + qy * unit, weight));
            px = qx;
            py = qy;
        }
    }
    return unite(std::move(strokes));
}

// The strokes of one character with its top-left corner at (left, top).
Region character(char c, double left, double top, double unit, double weight) {
    return strokes_of(glyph(char(std::toupper(static_cast<unsigned char>(c)))), left, top, unit, weight);
}

}  // namespace

void letter_box(Image& image, const TextBox& box, std::string_view text, double height, double weight, uint8_t ink,
                uint8_t outline, bool centred) {
    // Ink reaches `weight` beyond the strokes' lines.
    const auto pad = [&](double w) { return LETTERING_MARGIN + w; };
    const double widest =
        text.empty() ? height : (box.width - 2 * pad(weight)) * GRID_HEIGHT / (double(text.size()) * ADVANCE - 2);
    const double fitted = std::max(1.0, std::min({height, box.height - 2 * pad(weight), widest}));
    const double thin = std::max(0.7, weight * fitted / height);
    const double x = centred ? (box.width - lettering_width(text, fitted)) / 2 : pad(thin);
    const double y = (box.height - fitted) / 2;
    const Region letters = lettering(text, x, y, fitted, thin);
    if (outline == ink)
        paint(image, box.x, box.y, box.width, box.height, letters, ink);
    else
        paint_outlined(image, box.x, box.y, box.width, box.height, letters, outline, ink);
    image.lettered.push_back({box.x, box.y, box.x + box.width - 1, box.y + box.height - 1, ink, outline});
}

Region letter(char c, double x, double y, double height, double weight) {
    const char* lower = lower_case_glyph(c);
    const double unit = height / GRID_HEIGHT;
    return lower ? strokes_of(lower, x, y, unit, weight) : character(c, x, y, unit, weight);
}

double lettering_width(std::string_view text, double height) {
    return text.empty() ? 0 : (double(text.size()) * ADVANCE - 2) * height / GRID_HEIGHT;
}

Region lettering(std::string_view text, double x, double y, double height, double weight) {
    double unit = height / GRID_HEIGHT;
    std::vector<Region> letters;
    for (size_t i = 0; i < text.size(); ++i)
        letters.push_back(character(text[i], x + double(i) * ADVANCE * unit, y, unit, weight));
    // A pixel looks only at the letters whose cells it touches, so long texts stay cheap to paint.
    double advance = ADVANCE * unit;
    return [letters = std::move(letters), x, advance](double px, double py) {
        long cell = long(std::floor((px - x) / advance));
        for (long i = cell - 1; i <= cell + 1; ++i)
            if (i >= 0 && i < long(letters.size()) && letters[size_t(i)](px, py)) return true;
        return false;
    };
}

}  // namespace vyr::vyrgen
