#include "data/engine/paradox/PxLabels.h"

namespace px {

std::string EncodeLabel(uint64_t number)
{
    std::string s(8, '\0');
    for (int i = 7; i >= 0; --i) {
        s[i] = static_cast<char>(number & 0xFF);
        number >>= 8;
    }
    return s;
}

std::string LabelBetween(const std::string& low, const std::string& high)
{
    std::string result;
    bool highBound = !high.empty();
    for (size_t i = 0;; ++i) {
        int a = i < low.size() ? static_cast<unsigned char>(low[i]) : 0;
        int b = highBound ? (i < high.size() ? static_cast<unsigned char>(high[i]) : 0) : 256;
        if (a == b) {
            result += static_cast<char>(a);
            continue;
        }
        if (b - a > 1) {
            result += static_cast<char>((a + b) / 2);
            return result;
        }
        // Adjacent bytes: keep low's byte and find room above the rest of low.
        result += static_cast<char>(a);
        highBound = false;
    }
}

} // namespace px
