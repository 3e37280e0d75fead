// Many threads evaluate through the C interface at once, starting together so that their first
// calls also meet the engine's first-use set-up, and run the same prepared programs at once.
// Every value, display text and failure reason must equal what the same call gives on one
// thread, every program's value the text's, and the draws of rand and rand2 from all threads
// together (texts and programs) must be the first draws of the one sequence, each exactly once.
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
    std::uint32_t runBits;   // the shared program's, or the text's value when it fails
    std::uint32_t manyBits;  // the last of three rows of quorvel_run_many
    bool operator==(const Answer&) const = default;
};

// One program per corpus text, prepared before the threads start and shared by all of them.
quorvel_program* g_programs[kCorpusSize];

void RunShared(int corpusIndex, const ThreadValues& values, Answer& answer) {
    const quorvel_program* program = g_programs[corpusIndex];
    answer.runBits = answer.bits;
    answer.manyBits = answer.bits;
    if (program == nullptr) return;
    answer.runBits =
        std::bit_cast<std::uint32_t>(quorvel_run(program, values.x, values.y, values.z));
    const float x[3] = {values.x, values.x, values.x};
    const float y[3] = {values.y, values.y, values.y};
    const float z[3] = {values.z, values.z, values.z};
    float results[3];
    quorvel_run_many(program, 3, x, y, z, results);
    answer.manyBits = std::bit_cast<std::uint32_t>(results[2]);
}

Answer Evaluate(int corpusIndex, const ThreadValues& values) {
    const char* expression = kCorpus[corpusIndex];
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
    RunShared(corpusIndex, values, answer);
    return answer;
}

// rand(32768) and rand2(0, 32768) both give the drawn integer itself.
const char kDrawRand[] = "rand(32768)";
const char kDrawRand2[] = "rand2(0, 32768)";
quorvel_program* g_drawPrograms[2];

// Draws by text, then by a shared program for one row, then for two rows at once.
void Draw(int round, std::vector<int>& draws) {
    float value = -1.0f;
    const int kind = round / kDrawEvery % 4;
    if (kind < 2) {
        quorvel_evaluate(kind == 0 ? kDrawRand : kDrawRand2, 0.0f, 0.0f, 0.0f, &value);
        draws.push_back(static_cast<int>(value));
    } else if (kind == 2) {
        draws.push_back(static_cast<int>(quorvel_run(g_drawPrograms[0], 0.0f, 0.0f, 0.0f)));
    } else {
        float results[2] = {-1.0f, -1.0f};
        quorvel_run_many(g_drawPrograms[1], 2, nullptr, nullptr, nullptr, results);
        draws.push_back(static_cast<int>(results[0]));
        draws.push_back(static_cast<int>(results[1]));
    }
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
            Draw(round, log.draws);
        } else {
            log.answers.push_back(Evaluate(round % kCorpusSize, values));
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
            const Answer expected = Evaluate(round % kCorpusSize, values);
            const Answer& got = logs[thread].answers[next++];
            if (got == expected && got.runBits == expected.bits && got.manyBits == expected.bits)
                continue;
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

// A program that draws twice a row runs row by row: the first of each row's two draws shows.
// Taken alone, before the threads, so these are the sequence's first draws.
constexpr int kOrderedRows = 4;

bool RowsDrawInOrder() {
    quorvel_program* program = quorvel_prepare("rand(32768)+rand(1)*0", nullptr);
    float results[kOrderedRows];
    quorvel_run_many(program, kOrderedRows, nullptr, nullptr, nullptr, results);
    quorvel_release(program);
    std::uint32_t state = kRandomStartState;
    for (float result : results) {
        if (static_cast<int>(result) != DrawRandom15From(state)) return false;
        DrawRandom15From(state);
    }
    return true;
}

// All draws together must be the sequence's draws after the ordered rows', each once.
bool DrawsAreTheSequence(const std::vector<ThreadLog>& logs, std::size_t& count) {
    std::vector<int> drawn;
    for (const ThreadLog& log : logs)
        drawn.insert(drawn.end(), log.draws.begin(), log.draws.end());
    count = drawn.size();
    std::vector<int> sequence;
    std::uint32_t state = kRandomStartState;
    for (int i = 0; i < 2 * kOrderedRows; ++i)
        DrawRandom15From(state);
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
    const bool ordered = RowsDrawInOrder();
    for (int i = 0; i < kCorpusSize; ++i)
        g_programs[i] = quorvel_prepare(kCorpus[i], nullptr);
    g_drawPrograms[0] = quorvel_prepare(kDrawRand, nullptr);
    g_drawPrograms[1] = quorvel_prepare(kDrawRand2, nullptr);
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
    for (quorvel_program* program : g_programs)
        quorvel_release(program);
    for (quorvel_program* program : g_drawPrograms)
        quorvel_release(program);
    std::printf(
        "%d threads x %d rounds: %d answers differ from one thread's; %zu draws %s; "
        "a program's rows %s\n",
        kThreads, rounds, differ, draws,
        sequence ? "are the sequence's first, each once" : "are NOT the sequence's first",
        ordered ? "draw in order" : "do NOT draw in order");
    return differ == 0 && sequence && ordered ? 0 : 1;
}
