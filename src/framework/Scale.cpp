#include "framework/Scale.h"

#include <climits>
#include <cstdlib>

namespace snq {

int MulDiv(int a, int b, int c) noexcept {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) /
                                std::llabs(static_cast<long long>(c));
    const long long result = (product < 0) != (c < 0) ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN) return -1;
    return static_cast<int>(result);
}

ScreenPoint CenterIn(const ScreenArea& area, int width, int height) noexcept {
    auto along = [](int start, int length, int size) {
        return size >= length ? start : start + (length - size) / 2;
    };
    return {along(area.left, area.width, width), along(area.top, area.height, height)};
}

} // namespace snq
