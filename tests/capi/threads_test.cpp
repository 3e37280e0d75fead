// Many threads evaluate through the C interface at once, starting together so that their first
// calls also meet the engine's first-use set-up. Every value, display text and failure reason
// must equal what the same call gives on one thread, and the draws of rand and rand2 from all
// threads together must be the first draws of the one sequence, each exactly once.
//
// Usage: quorvel_threads_test [rounds per thread]
#include <quorvel/quorvel.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "library/random_generator.h"

namespace {

constexpr int kThreads = 8;
constexpr int kDrawEvery = 4;  // one round in four draws instead of evaluating the corpus

const char* const kCorpus[] = {
    "x+y*z",
    "lerp(x, y, z)",
    "clamp(x, y, z)",
    "sin(x)*cos(y)+sqrt(abs(z))",
    "max4(x, y, z, PI)-min3(x, y, z)",
    "(x-y)/(z+1)",
    "atan2(y, x)^2",
    "average3(x, y, z)%E",
    "gray(x, y, z)",
    "{[(x)]}*2-y",
    "log2(abs(x)+1)+floor(y)-ceil(z)",
    "a+w+x",
    "add4(x, y, z, 0x10)",
    "x*foo",
    "1+",
    "sqrt(y)",
    "Sin(x)+[y)",
    "max(min(x,y),z)",
};
constexpr int kCorpusSize = sizeof kCorpus / sizeof kCorpus[0];

// Each thread has values of its own, so a call that saw another thread's would show it.
struct ThreadValues {
    float x, y, z;
    std::string xText, yText, zText;
};

ThreadValues ValuesOf(int thread) {
    const float x = 1.5f + static_cast<float>(thread);
    const float y = -3.25f * static_cast<float>(thread);
    const float z = 0.125f * static_cast<float>(thread + 1);
    char text[3][32];
    quorvel_exact_text(x, text[0], sizeof text[0]);
    quorvel_exact_text(y, text[1], sizeof text[1]);
    quorvel_exact_text(z, text[2], sizeof text[2]);
    return {x, y, z, text[0], text[1], text[2]};
}

struct Answer {
    bool evaluated;
    std::uint32_t bits;
    bool displayed;
    std::string display;
    int reason;
    int column;
    std::string explanation;
    bool operator==(const Answer&) const = default;
};

Answer Evaluate(const char* expression, const ThreadValues& values) {
    Answer answer{};
    float value = 0.0f;
    answer.evaluated = quorvel_evaluate(expression, values.x, values.y, values.z, &value);
    answer.bits = std::bit_cast<std::uint32_t>(value);
    char display[QUORVEL_DISPLAY_CAPACITY];
    answer.displayed = quorvel_display(expression, values.xText.c_str(), values.yText.c_str(),
                                       values.zText.c_str(), display);
    answer.display = display;
    quorvel_failure failure;
    quorvel_explain(expression, values.x, values.y, values.z, &value, &failure);
    answer.reason = failure.reason;
    answer.column = failure.column;
    answer.explanation = failure.text;
    return answer;
}

// rand(32768) and rand2(0, 32768) both give the drawn integer itself.
int Draw(int round) {
    float value = -1.0f;
    const char* expression = round % 2 ? "rand(32768)" : "rand2(0, 32768)";
    if (!quorvel_evaluate(expression, 0.0f, 0.0f, 0.0f, &value)) return -1;
    return static_cast<int>(value);
}

struct ThreadLog {
    std::vector<Answer> answers;  // one per corpus round, in round order
    std::vector<int> draws;
};

void Run(int thread, int rounds, std::latch& start, ThreadLog& log) {
    const ThreadValues values = ValuesOf(thread);
    start.arrive_and_wait();
    for (int round = 0; round < rounds; ++round) {
        if (round % kDrawEvery == kDrawEvery - 1) {
            log.draws.push_back(Draw(round));
        } else {
            log.answers.push_back(Evaluate(kCorpus[round % kCorpusSize], values));
        }
    }
}

int CompareAnswers(const std::vector<ThreadLog>& logs, int rounds) {
    int differ = 0;
    for (int thread = 0; thread < kThreads; ++thread) {
        const ThreadValues values = ValuesOf(thread);
        std::size_t next = 0;
        for (int round = 0; round < rounds; ++round) {
            if (round % kDrawEvery == kDrawEvery - 1) continue;
            const char* expression = kCorpus[round % kCorpusSize];
            const Answer expected = Evaluate(expression, values);
            const Answer& got = logs[thread].answers[next++];
            if (got == expected) continue;
            if (++differ <= 10) {
                std::fprintf(
                    stderr,
                    "thread %d, round %d, %s: got %d 0x%08X \"%s\", alone %d 0x%08X \"%s\"\n",
                    thread, round, expression, got.evaluated, got.bits, got.display.c_str(),
                    expected.evaluated, expected.bits, expected.display.c_str());
            }
        }
    }
    return differ;
}

// All draws together must be the sequence's first draws, each once.
bool DrawsAreTheSequence(const std::vector<ThreadLog>& logs, std::size_t& count) {
    std::vector<int> drawn;
    for (const ThreadLog& log : logs)
        drawn.insert(drawn.end(), log.draws.begin(), log.draws.end());
    count = drawn.size();
    std::vector<int> sequence;
    std::uint32_t state = kRandomStartState;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        sequence.push_back(DrawRandom15From(state));
    std::sort(drawn.begin(), drawn.end());
    std::sort(sequence.begin(), sequence.end());
    return drawn == sequence;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (rounds < kDrawEvery) return 2;
    std::vector<ThreadLog> logs(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread)
        threads.emplace_back(Run, thread, rounds, std::ref(start), std::ref(logs[thread]));
    for (std::thread& thread : threads)
        thread.join();

    const int differ = CompareAnswers(logs, rounds);
    std::size_t draws = 0;
    const bool sequence = DrawsAreTheSequence(logs, draws);
    std::printf("%d threads x %d rounds: %d answers differ from one thread's; %zu draws %s\n",
                kThreads, rounds, differ, draws,
                sequence ? "are the sequence's first, each once" : "are NOT the sequence's first");
    return differ == 0 && sequence ? 0 : 1;
}
