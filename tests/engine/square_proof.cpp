// Checks that a prepared program's inline square gives what the power operator gives for the
// exponent 2, bit for bit: for every STRIDE-th float bit pattern, OpSquare(a) against
// OpPower(a, 2). Exits 1 on the first differences, printing up to ten.
//
//   quorvel-square-proof [STRIDE]    (default 1: all 2^32 floats, about a minute and a half)
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "engine/operators.h"

int main(int argc, char** argv) {
    const std::uint64_t stride = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    if (stride == 0) return 2;
    std::uint64_t checked = 0;
    std::uint64_t differ = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += stride) {
        const float a = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        const std::uint32_t square = std::bit_cast<std::uint32_t>(OpSquare(a));
        const std::uint32_t power = std::bit_cast<std::uint32_t>(OpPower(a, 2.0f));
        ++checked;
        if (square != power && ++differ <= 10)
            std::printf("0x%08llX: square 0x%08X, power 0x%08X\n",
                        static_cast<unsigned long long>(bits), square, power);
    }
    std::printf("%llu floats: %llu differ\n", static_cast<unsigned long long>(checked),
                static_cast<unsigned long long>(differ));
    return differ == 0 ? 0 : 1;
}
