// Prints the folding ranges of src/data/engine/CaseFold.cpp from Qt's
// simple case folding:
//   g++ -std=c++20 -fPIC scripts/case_fold_table.cpp $(pkg-config --cflags --libs Qt6Core) -o /tmp/fold && /tmp/fold
// A range folds characters first..last, every step-th one, by delta.

#include <QChar>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

struct TRange {
    char32_t First, Last;
    int Delta;
    char32_t Step;
};

} // namespace

int main()
{
    std::vector<TRange> ranges;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const int delta = static_cast<int>(QChar::toCaseFolded(c)) - static_cast<int>(c);
        if (delta == 0)
            continue;
        if (!ranges.empty() && ranges.back().Delta == delta) {
            TRange& r = ranges.back();
            const char32_t gap = c - r.Last;
            if (r.First == r.Last && (gap == 1 || gap == 2)) {
                r.Step = gap;
                r.Last = c;
                continue;
            }
            if (r.First != r.Last && gap == r.Step) {
                r.Last = c;
                continue;
            }
        }
        ranges.push_back({c, c, delta, 1});
    }
    for (const TRange& r : ranges)
        std::printf("    {0x%05X, 0x%05X, %d, %u},\n", static_cast<unsigned>(r.First), static_cast<unsigned>(r.Last),
                    r.Delta, static_cast<unsigned>(r.Step));
}
