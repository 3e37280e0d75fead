#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/command_line.h"
#include "cli/line_editor.h"
#include "cli/line_reader.h"
#include "cli/output_buffer.h"
#include "cli/result_text.h"
#include "cli/table_mode.h"
#include "reasons/failure_explanation.h"

namespace {

enum ExitStatus : int {
    kAllEvaluated = 0,
    kSomeFailed = 1,
    kUsageError = 2,
    kInputOutputFailed = 3,
};

constexpr char kPrompt[] = "> ";
constexpr char kGreeting[] =
    "Type help for a summary of the language, and quit, exit or Ctrl-D to leave.\n";

// Words that an interactive session answers instead of evaluating them; none of them is a valid
// expression, so no result changes.
enum class SessionWord { kNone, kEmpty, kHelp, kLeave };

struct SessionWordEntry {
    const char* word;
    SessionWord meaning;
};

constexpr SessionWordEntry kSessionWords[] = {
    {"", SessionWord::kEmpty},
    {"help", SessionWord::kHelp},
    {"quit", SessionWord::kLeave},
    {"exit", SessionWord::kLeave},
};

struct Session {
    const CommandLine& commandLine;
    VariableValues values;  // converted once for every expression
    OutputBuffer& out;
    bool flushEachLine;
    bool prompting;
    bool explain;  // on request, and always for a user at a terminal
    bool anyFailed;
    unsigned long long expressionNumber;  // of the expression being answered, from 1
};

void WriteError(const char* text) {
    WriteAll(STDERR_FILENO, text, std::strlen(text));
}

void Complain(const char* what, const char* detail) {
    char message[512];
    std::snprintf(message, sizeof message, "quorvel-eval: %s: %s\n", what, detail);
    WriteError(message);
}

void EmitResult(Session& session, const DisplayText& result, bool evaluated) {
    if (!evaluated) session.anyFailed = true;
    if (AppendLine(session.out, result.text) && session.flushEachLine) FlushOutput(session.out);
}

// "quorvel-eval: N:C: REASON" on standard error, after the result line it belongs to: the
// results before it go out first, so that the two streams keep their order where they meet.
void EmitExplanation(Session& session, const char* expression, const FailureReport& report) {
    char reason[512];
    ExplainFailure(expression, report, reason, sizeof reason);
    char message[640];
    std::snprintf(message, sizeof message, "quorvel-eval: %llu:%d: %s\n", session.expressionNumber,
                  static_cast<int>(FailureColumn(expression, report)), reason);
    FlushOutput(session.out);
    WriteError(message);
}

void EvaluateText(Session& session, const char* expression) {
    ++session.expressionNumber;
    DisplayText result;
    FailureReport report{};
    const bool explain = session.explain;
    const bool evaluated = ResultText(expression, session.values, session.commandLine.form, result,
                                      explain ? &report : nullptr);
    EmitResult(session, result, evaluated);
    if (!evaluated && explain) EmitExplanation(session, expression, report);
}

void EvaluateInputLine(Session& session, const InputLine& line) {
    if (line.tooLong || line.hasNulByte) {
        ++session.expressionNumber;
        const DisplayText result = ErrorDisplay();
        EmitResult(session, result, false);
        const FailureReason reason =
            line.tooLong ? FailureReason::kExpressionTooLong : FailureReason::kNulByte;
        if (session.explain) EmitExplanation(session, "", {reason, 0, nullptr});
        return;
    }
    EvaluateText(session, line.text);
}

// The word a line of spaces around one word is, when it is one of the session's own.
SessionWord SessionWordOf(const char* text) {
    while (*text == ' ')
        ++text;
    std::size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    for (const SessionWordEntry& entry : kSessionWords) {
        if (std::strlen(entry.word) == length && std::strncmp(entry.word, text, length) == 0)
            return entry.meaning;
    }
    return SessionWord::kNone;
}

// Answers a line typed at a terminal; false when it ends the session.
bool AnswerTypedLine(Session& session, const InputLine& line) {
    const SessionWord word =
        line.tooLong || line.hasNulByte ? SessionWord::kNone : SessionWordOf(line.text);
    switch (word) {
        case SessionWord::kNone:
            EvaluateInputLine(session, line);
            break;
        case SessionWord::kEmpty:
            break;
        case SessionWord::kHelp: {
            const std::string summary = LanguageSummary();
            AppendBytes(session.out, summary.data(), summary.size());
            FlushOutput(session.out);
            break;
        }
        case SessionWord::kLeave:
            return false;
    }
    return session.out.error == 0;
}

// Pending results go out before the process may wait for input, so a program talking to
// quorvel-eval through pipes gets each answer before it sends the next line.
bool BeforeRead(void* context, bool atLineStart) {
    Session& session = *static_cast<Session*>(context);
    if (!FlushOutput(session.out)) return false;
    if (session.prompting && atLineStart) WriteAll(STDERR_FILENO, kPrompt, sizeof kPrompt - 1);
    return true;
}

void EvaluateArguments(Session& session, int argc, const char* const* argv) {
    for (int index = session.commandLine.firstExpression; index < argc; ++index) {
        if (session.out.error != 0) return;
        EvaluateText(session, argv[index]);
    }
}

// A terminal at both ends: the user edits each line; every answer and the end of the session
// start on a line of their own.
void EvaluateEditedLines(Session& session, LineEditor& editor) {
    InputLine line;
    for (;;) {
        switch (ReadEditedLine(editor, line)) {
            case EditOutcome::kLine:
                if (!AnswerTypedLine(session, line)) return;
                break;
            case EditOutcome::kInterrupted:
                WriteAll(STDOUT_FILENO, "\n", 1);
                break;
            case EditOutcome::kEnd:
                WriteAll(STDOUT_FILENO, "\n", 1);
                return;
        }
    }
}

// Returns the errno of a failed read, or 0.
int EvaluateStandardInput(Session& session) {
    if (session.prompting) {
        WriteAll(STDOUT_FILENO, kGreeting, sizeof kGreeting - 1);
        if (LineEditor* editor = OpenLineEditor("quorvel-eval", kPrompt)) {
            EvaluateEditedLines(session, *editor);
            CloseLineEditor(editor);
            return 0;
        }
    }
    static LineReader reader;
    InitLineReader(reader, STDIN_FILENO, BeforeReadHook{BeforeRead, &session});
    InputLine line;
    while (session.out.error == 0 && ReadLine(reader, line)) {
        if (!session.prompting) {
            EvaluateInputLine(session, line);
        } else if (!AnswerTypedLine(session, line)) {
            break;
        }
    }
    // The shell's prompt then starts on a line of its own after end of input.
    if (session.prompting && reader.atEnd) WriteError("\n");
    return reader.error;
}

int Finish(Session& session, int readError) {
    if (!CloseOutput(session.out)) {
        Complain("cannot write standard output", std::strerror(session.out.error));
        return kInputOutputFailed;
    }
    if (readError != 0) {
        Complain("cannot read standard input", std::strerror(readError));
        return kInputOutputFailed;
    }
    return session.anyFailed ? kSomeFailed : kAllEvaluated;
}

int ReportUsageError(const CommandLine& commandLine) {
    char message[512];
    std::snprintf(message, sizeof message, "quorvel-eval: %s '%s'\n", commandLine.problem,
                  commandLine.culprit);
    WriteError(message);
    WriteError(kUsageText);
    return kUsageError;
}

int PrintText(OutputBuffer& out, const char* text) {
    AppendBytes(out, text, std::strlen(text));
    if (CloseOutput(out)) return kAllEvaluated;
    Complain("cannot write standard output", std::strerror(out.error));
    return kInputOutputFailed;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that has gone ends the process quietly, as it ends other filters; whoever
    // started it may have left SIGPIPE ignored.
    std::signal(SIGPIPE, SIG_DFL);
    // Messages follow the user's locale; results never depend on it.
    std::setlocale(LC_ALL, "");

    const CommandLine commandLine = ParseCommandLine(argc, argv);
    static OutputBuffer out;
    InitOutput(out, STDOUT_FILENO);
    switch (commandLine.action) {
        case CommandAction::kUsageError:
            return ReportUsageError(commandLine);
        case CommandAction::kHelp:
            return PrintText(out, HelpText().c_str());
        case CommandAction::kVersion:
            return PrintText(out, kVersionText);
        case CommandAction::kEvaluate:
            break;
    }

    const bool fromArguments = commandLine.firstExpression < argc;
    const bool outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    const ValueTexts& texts = commandLine.values;
    const bool prompting = !fromArguments && outputIsTerminal && isatty(STDIN_FILENO) == 1;
    Session session{commandLine, ConvertValueTexts(texts.x, texts.y, texts.z),
                    out,         outputIsTerminal,
                    prompting,   commandLine.explain || prompting,
                    false,       0};
    if (commandLine.table != nullptr) {
        const TableOutcome outcome = Tabulate(commandLine, out);
        if (outcome.refused) return kUsageError;
        session.anyFailed = outcome.anyBadRow;
        return Finish(session, outcome.readError);
    }
    if (fromArguments) {
        EvaluateArguments(session, argc, argv);
        return Finish(session, 0);
    }
    return Finish(session, EvaluateStandardInput(session));
}
