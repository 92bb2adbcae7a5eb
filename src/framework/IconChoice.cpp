#include "framework/IconChoice.h"

#include <cstdlib>

namespace snq {

std::size_t ChooseIconImage(const std::vector<IconEntry>& entries, int wantWidth, int wantHeight,
                            std::uint64_t displayColors) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const IconEntry& c = entries[i];
        const IconEntry& b = entries[best];
        const bool nearEnough = std::abs(c.width - wantWidth) <= std::abs(b.width - wantWidth) &&
                                std::abs(c.height - wantHeight) <= std::abs(b.height - wantHeight);
        const bool notLarger = !(c.width > wantWidth && c.width > b.width) &&
                               !(c.height > wantHeight && c.height > b.height);
        const bool colorsFit = c.colors >= b.colors && c.colors <= displayColors;
        if (nearEnough && notLarger && colorsFit) best = i;
    }
    return best;
}

std::uint64_t IconColors(int colorCount, int bitCount) {
    if (colorCount != 0) return static_cast<std::uint64_t>(colorCount);
    if (bitCount >= 63) return ~std::uint64_t{0};
    return std::uint64_t{1} << (bitCount > 0 ? bitCount : 0);
}

} // namespace snq
