#pragma once
// Which image of an icon the tray receives: the one nearest the system's
// large-icon size, chosen over the icon's directory entries.
#include <cstdint>
#include <vector>

namespace snq {

struct IconEntry {
    int width;  // as stored in the directory: 0 stands for 256 but counts as 0
    int height;
    std::uint64_t colors;
};

// Index of the chosen entry; 0 for an empty list.
std::size_t ChooseIconImage(const std::vector<IconEntry>& entries, int wantWidth, int wantHeight,
                            std::uint64_t displayColors);

// Colour count of a directory entry: its colour count, or 2^bitCount when
// that is 0 (as for every image of 8 bits or more).
std::uint64_t IconColors(int colorCount, int bitCount);

} // namespace snq
