// Evaluates one corpus expression a number of times in one of the one-shot table's cells, with
// callgrind's instrumentation on only around that loop, so that the instructions callgrind
// collects, divided by the times, are the cost of one evaluation: a figure that other load on a
// shared machine does not move. bench/instruction_counts.sh runs it for every row.
// Usage: quorvel-instruction-probe --list | CELL ENTRY TIMES

#include <quorvel/quorvel.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "bench/peer_parsers.h"
#include "bench/result_table.h"
#include "engine/evaluator.h"
#include "request/evaluation_request.h"

namespace {

// What one iteration of each cell does; the bank and the parsers are set up outside the count.
struct Probe {
    Cell cell;
    const char* text;
    VariableBank bank{};
    FparserOneShot fparser;
    MuparserOneShot muparser;

    bool EvaluateOnce() {
        float value = 0.0f;
        double wide = 0.0;
        char display[QUORVEL_DISPLAY_CAPACITY];
        switch (cell) {
            case kEvaluateCell:
                return EvaluateExpression(text, value, bank, nullptr);
            case kRequestCell:
                return EvaluationRequest(text, kXText, kYText, kZText).text[0] != '\0';
            case kLibraryEvaluateCell:
                return quorvel_evaluate(text, kX, kY, kZ, &value);
            case kLibraryDisplayCell:
                return quorvel_display(text, kXText, kYText, kZText, display);
            case kFparserCell:
                return fparser.TryEvaluate(text, wide);
            case kMuparserCell:
                return muparser.TryEvaluate(text, wide);
            case kCellCount:
                break;
        }
        return false;
    }
};

int FindCell(const char* name) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (std::strcmp(kCellNames[cell], name) == 0) return cell;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<CorpusEntry> corpus = BuildCorpus();
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const CorpusEntry& entry : corpus)
            std::printf("%s\t%s\n", entry.id.c_str(), entry.title.c_str());
        return 0;
    }
    const int cell = argc == 4 ? FindCell(argv[1]) : -1;
    const CorpusEntry* entry = nullptr;
    for (const CorpusEntry& candidate : corpus) {
        if (argc == 4 && candidate.id == argv[2]) entry = &candidate;
    }
    const long times = argc == 4 ? std::atol(argv[3]) : 0;
    if (cell < 0 || entry == nullptr || times <= 0) {
        std::fprintf(stderr, "usage: quorvel-instruction-probe --list | CELL ENTRY TIMES\n");
        return 2;
    }
    Probe probe{static_cast<Cell>(cell), entry->text.c_str(), {}, {}, {}};
    const VariableValues values = ConvertValueTexts(kXText, kYText, kZText);
    probe.bank['x' - 'a'] = values.x;
    probe.bank['y' - 'a'] = values.y;
    probe.bank['z' - 'a'] = values.z;
    bool ok = probe.EvaluateOnce();  // the first call's one-time costs stay out of the count
    CALLGRIND_START_INSTRUMENTATION;
    for (long i = 0; i < times; ++i)
        ok = probe.EvaluateOnce() && ok;
    CALLGRIND_STOP_INSTRUMENTATION;
    return ok ? 0 : 1;
}
