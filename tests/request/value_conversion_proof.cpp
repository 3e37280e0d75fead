// Proves the request's fast conversions identical to the C library's general ones:
//   quorvel-value-conversion-proof fixed [STRIDE [THREADS]]
//       "%f" texts of every STRIDE-th float bit pattern (default 1: all 2^32), and every
//       STRIDE-th float whose six decimals end exactly halfway;
//   quorvel-value-conversion-proof convert COUNT [SEED]
//       COUNT generated value texts: plain decimals, halfway cases between floats and between
//       doubles, exponents, hexadecimal forms, infinity and not-a-number words, leading white
//       space, signs and trailing junk.
// Prints what it checked and every difference (the first 20); exits 1 when any differ.

#include <atomic>
#include <bit>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "request/value_conversion.h"

namespace {

constexpr std::uint64_t kPatterns = std::uint64_t{1} << 32;
constexpr int kShownDifferences = 20;

std::atomic<std::uint64_t> g_differences{0};
std::mutex g_printing;

void Report(const char* format, const char* what, const char* fast, const char* general) {
    if (g_differences.fetch_add(1) >= kShownDifferences) return;
    const std::lock_guard<std::mutex> lock(g_printing);
    std::printf(format, what, fast, general);
}

void CheckFixed(std::uint32_t bits) {
    const float value = std::bit_cast<float>(bits);
    char fast[kFixedTextCapacity];
    char general[kFixedTextCapacity];
    const std::size_t length = FixedValueText(value, fast);
    FixedValueTextGeneral(value, general);
    if (length != std::strlen(fast) || std::strcmp(fast, general) != 0) {
        char pattern[16];
        std::snprintf(pattern, sizeof pattern, "0x%08" PRIX32, bits);
        Report("differs: %s gives \"%s\", the general path \"%s\"\n", pattern, fast, general);
    }
}

// Every stride-th pattern from first on, in one thread.
void CheckFixedRange(std::uint64_t first, std::uint64_t stride) {
    for (std::uint64_t bits = first; bits < kPatterns; bits += stride)
        CheckFixed(static_cast<std::uint32_t>(bits));
}

// Exactly halfway between two six-decimal texts are the odd multiples of 2^-7, all below 2^17.
void CheckFixedTies(std::uint64_t stride) {
    for (std::uint64_t odd = 1; odd < (std::uint64_t{1} << 24); odd += 2 * stride) {
        const float tie = std::ldexp(static_cast<float>(odd), -7);
        CheckFixed(std::bit_cast<std::uint32_t>(tie));
        CheckFixed(std::bit_cast<std::uint32_t>(-tie));
    }
}

int ProveFixed(std::uint64_t stride, unsigned threads) {
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back(CheckFixedRange, t * stride, threads * stride);
    }
    for (std::thread& worker : workers)
        worker.join();
    CheckFixedTies(stride);
    const std::uint64_t checked = (kPatterns + stride - 1) / stride;
    std::printf("\"%%f\": %" PRIu64 " float bit patterns (every %" PRIu64
                "th) and their ties checked, %" PRIu64 " differ\n",
                checked, stride, g_differences.load());
    return g_differences.load() == 0 ? 0 : 1;
}

class TextGenerator {
  public:
    explicit TextGenerator(std::uint64_t seed) : random_(seed) {}

    // The parts of a text are drawn left to right, so a seed always makes the same texts.
    std::string Next() {
        std::string text;
        switch (Below(8)) {
            case 0:
                return Append(text, {&TextGenerator::Spaces, &TextGenerator::Sign,
                                     &TextGenerator::PlainDecimal, &TextGenerator::Junk});
            case 1:
                return Append(text, {&TextGenerator::Sign, &TextGenerator::FloatHalfway});
            case 2:
                return DoubleNearFloatHalfway();
            case 3:
                return Append(text, {&TextGenerator::Spaces, &TextGenerator::Sign,
                                     &TextGenerator::PlainDecimal, &TextGenerator::Exponent,
                                     &TextGenerator::Junk});
            case 4:
                return Append(text, {&TextGenerator::Spaces, &TextGenerator::Sign,
                                     &TextGenerator::Hexadecimal, &TextGenerator::Junk});
            case 5:
                return Append(text, {&TextGenerator::Spaces, &TextGenerator::Sign,
                                     &TextGenerator::Word, &TextGenerator::Junk});
            case 6:
                return Append(text, {&TextGenerator::Sign, &TextGenerator::PlainDecimal});
            default:
                return Scramble();
        }
    }

  private:
    using Part = std::string (TextGenerator::*)();

    std::string& Append(std::string& text, std::initializer_list<Part> parts) {
        for (Part part : parts)
            text += (this->*part)();
        return text;
    }

    std::uint64_t Below(std::uint64_t bound) { return random_() % bound; }

    std::string Digits(std::uint64_t most) {
        std::string digits(Below(most + 1), '0');
        for (char& digit : digits)
            digit = static_cast<char>('0' + Below(10));
        return digits;
    }

    std::string Spaces() {
        static constexpr char kSpaces[] = " \t\n\v\f\r";
        std::string spaces;
        if (Below(4) == 0) {
            for (std::uint64_t n = 1 + Below(3); n > 0; --n)
                spaces += kSpaces[Below(sizeof kSpaces - 1)];
        }
        return spaces;
    }

    std::string Sign() {
        static constexpr const char* kSigns[] = {"", "", "", "-", "+", "--", "+-", " -"};
        return kSigns[Below(std::size(kSigns))];
    }

    std::string Junk() {
        static constexpr const char* kJunk[] = {"",    "",    "",  "",   "kg", ",5", ".",
                                                "..5", "e",   "E", "e+", "e-", "x",  "p3",
                                                " ",   "\t1", "f", "0",  "-1", "_"};
        return kJunk[Below(std::size(kJunk))];
    }

    // Integer and fraction digits around the limits of the exact fast conversion: 19 digits,
    // integers near 2^53, 22 places after the point.
    std::string PlainDecimal() {
        std::string text;
        switch (Below(4)) {
            case 0:
                text = Digits(8);
                break;
            case 1:
                text = Digits(20);
                break;
            case 2:
                text = std::to_string((std::uint64_t{1} << 53) - 8 + Below(16));
                break;
            default:
                text.assign(Below(3), '0');
                text += Digits(3);
        }
        if (Below(3) != 0) {
            text += '.';
            text.append(Below(4), '0');
            text += Digits(25);
        }
        if (Below(8) == 0 && !text.empty()) text.insert(text.begin() + Below(text.size()), '.');
        return text;
    }

    std::string Exponent() {
        static constexpr const char* kMarks[] = {"e", "E", "e+", "e-", "E-"};
        std::string text = kMarks[Below(std::size(kMarks))];
        text += Digits(4);
        return text;
    }

    std::string Hexadecimal() {
        static constexpr char kHex[] = "0123456789abcdefABCDEF";
        std::string text = Below(2) == 0 ? "0x" : "0X";
        for (std::uint64_t n = Below(10); n > 0; --n)
            text += kHex[Below(sizeof kHex - 1)];
        if (Below(2) == 0) text += ".";
        for (std::uint64_t n = Below(6); n > 0; --n)
            text += kHex[Below(sizeof kHex - 1)];
        if (Below(2) == 0) {
            text += Below(2) == 0 ? 'p' : 'P';
            text += Sign();
            text += Digits(3);
        }
        return text;
    }

    std::string Word() {
        static constexpr const char* kWords[] = {
            "inf", "infinity", "nan", "nan(", "nan(12ab)", "nan()", "in", "infinit", "na", "nan(x"};
        std::string word = kWords[Below(std::size(kWords))];
        for (char& c : word) {
            if (Below(2) == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return word;
    }

    float RandomFiniteFloat() {
        for (;;) {
            const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random_()) >> 1);
            if (std::isfinite(value)) return value;
        }
    }

    // A value exactly halfway between two floats (exact in a double), written exactly, or cut
    // to a number of significant digits, in fixed or scientific notation.
    std::string FloatHalfway() {
        const float low = RandomFiniteFloat();
        const float high = std::nextafter(low, INFINITY);
        const double halfway = (static_cast<double>(low) + static_cast<double>(high)) / 2.0;
        char text[1200];
        const int digits = static_cast<int>(1 + Below(25));
        if (Below(2) == 0 && halfway < 1e18 && halfway > 1e-4) {
            std::snprintf(text, sizeof text, "%.*f",
                          Below(2) == 0 ? 120 : std::max(0, digits - Magnitude(halfway)), halfway);
        } else {
            std::snprintf(text, sizeof text, "%.*e", Below(4) == 0 ? 120 : digits - 1, halfway);
        }
        return text;
    }

    static int Magnitude(double value) {
        return static_cast<int>(std::floor(std::log10(value))) + 1;
    }

    // The doubles next to a float halfway point, as their shortest texts: atof then rounds
    // twice, once to the double and once to the float.
    std::string DoubleNearFloatHalfway() {
        const float low = RandomFiniteFloat();
        const float high = std::nextafter(low, INFINITY);
        double value = (static_cast<double>(low) + static_cast<double>(high)) / 2.0;
        const std::uint64_t step = Below(3);
        if (step == 1) value = std::nextafter(value, INFINITY);
        if (step == 2) value = std::nextafter(value, 0.0);
        char text[64];
        const auto format = Below(2) == 0 ? std::chars_format::fixed : std::chars_format::general;
        char* end = std::to_chars(text, text + sizeof text - 1, value, format).ptr;
        *end = '\0';
        return text;
    }

    std::string Scramble() {
        static constexpr char kAlphabet[] = "0123456789.+-eExXpPaAfFnNiItTyY \t,_";
        std::string text(Below(30), ' ');
        for (char& c : text)
            c = kAlphabet[Below(sizeof kAlphabet - 1)];
        return text;
    }

    std::mt19937_64 random_;
};

int ProveConversion(std::uint64_t count, std::uint64_t seed) {
    TextGenerator generator(seed);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string text = generator.Next();
        const std::uint32_t fast = std::bit_cast<std::uint32_t>(ConvertValueText(text.c_str()));
        const std::uint32_t general =
            std::bit_cast<std::uint32_t>(ConvertValueTextGeneral(text.c_str()));
        if (fast != general) {
            char fastBits[16];
            char generalBits[16];
            std::snprintf(fastBits, sizeof fastBits, "0x%08" PRIX32, fast);
            std::snprintf(generalBits, sizeof generalBits, "0x%08" PRIX32, general);
            Report("differs: \"%s\" gives %s, the general path %s\n", text.c_str(), fastBits,
                   generalBits);
        }
    }
    std::printf("conversion: %" PRIu64 " generated texts (seed %" PRIu64 ") checked, %" PRIu64
                " differ\n",
                count, seed, g_differences.load());
    return g_differences.load() == 0 ? 0 : 1;
}

bool ReadCount(const char* text, std::uint64_t& count) {
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, count);
    return error == std::errc{} && stop == end && count > 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    std::uint64_t first = 1;
    std::uint64_t second = mode == "fixed" ? std::thread::hardware_concurrency() : 1;
    const bool understood = (mode == "fixed" || (mode == "convert" && argc > 2)) && argc <= 4 &&
                            (argc < 3 || ReadCount(argv[2], first)) &&
                            (argc < 4 || ReadCount(argv[3], second));
    if (!understood) {
        std::fprintf(stderr, "usage: %s fixed [STRIDE [THREADS]]\n       %s convert COUNT [SEED]\n",
                     argv[0], argv[0]);
        return 2;
    }
    if (mode == "fixed") return ProveFixed(first, static_cast<unsigned>(second == 0 ? 1 : second));
    return ProveConversion(first, second);
}
