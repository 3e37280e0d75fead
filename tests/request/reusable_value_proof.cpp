// Proves that every finite float's reusable text evaluates back to exactly that float, and that
// infinities and not-a-number have none:
//   quorvel-reusable-value-proof [STRIDE [THREADS]]
// checks every STRIDE-th bit pattern (default 1: all 2^32). Prints what it checked and the
// first 20 failures; exits 1 when any fail.

#include <atomic>
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "request/evaluation_request.h"
#include "request/reusable_value_text.h"

namespace {

constexpr std::uint64_t kPatterns = std::uint64_t{1} << 32;
constexpr int kShownFailures = 20;

std::atomic<std::uint64_t> g_failures{0};
std::atomic<std::uint64_t> g_checked{0};
std::mutex g_printing;

void Report(std::uint32_t bits, const char* text, const char* problem) {
    if (g_failures.fetch_add(1) >= kShownFailures) return;
    const std::lock_guard<std::mutex> lock(g_printing);
    std::printf("0x%08" PRIX32 " \"%s\": %s\n", bits, text, problem);
}

void Check(std::uint32_t bits) {
    const float value = std::bit_cast<float>(bits);
    char text[kReusableTextCapacity];
    const bool made = ReusableValueText(value, text);
    if (!std::isfinite(value)) {
        if (made) Report(bits, text, "a text for a value no literal gives");
        return;
    }
    if (!made) return Report(bits, text, "no text");
    float read = 0.0f;
    if (!EvaluateWithValues(text, 0.0f, 0.0f, 0.0f, read)) return Report(bits, text, "fails");
    if (std::bit_cast<std::uint32_t>(read) != bits) Report(bits, text, "reads another value");
}

void CheckRange(std::uint64_t first, std::uint64_t stride) {
    std::uint64_t checked = 0;
    for (std::uint64_t bits = first; bits < kPatterns; bits += stride, ++checked)
        Check(static_cast<std::uint32_t>(bits));
    g_checked += checked;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t stride = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    const unsigned threads =
        argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    if (stride == 0 || threads == 0) {
        std::fputs("usage: quorvel-reusable-value-proof [STRIDE [THREADS]]\n", stderr);
        return 2;
    }
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back(CheckRange, t * stride, threads * stride);
    for (std::thread& worker : workers)
        worker.join();
    std::printf("reusable texts: %" PRIu64 " float bit patterns (every %" PRIu64 "th), %" PRIu64
                " failures\n",
                g_checked.load(), stride, g_failures.load());
    return g_failures.load() == 0 ? 0 : 1;
}
