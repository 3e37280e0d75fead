#include "cli/line_editor.h"

#include <histedit.h>

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cwchar>

struct LineEditor {
    EditLine* edit;
    History* history;
    const char* prompt;
    int drawnColumns;  // the terminal's width when the line was last drawn in full
    bool lineTooLong;  // the rest of the line was skipped unread by the editor
    // Keys read ahead while skipping, handed to the editor first: pending[pendingBegin,
    // pendingEnd).
    std::size_t pendingBegin;
    std::size_t pendingEnd;
    char pending[kInputBlock];
    char text[kLineLimit + 1];
};

namespace {

// Enough for a session; the oldest entries go first.
constexpr int kHistoryEntries = 1000;

// Readline's meanings, which users of shells expect, where libedit's emacs map differs.
constexpr const char* kKeyBindings[][2] = {
    {"^W", "ed-delete-prev-word"}, {"^U", "vi-kill-line-prev"},  {"\\e[H", "ed-move-to-beg"},
    {"\\e[F", "ed-move-to-end"},   {"\\eOH", "ed-move-to-beg"},  {"\\eOF", "ed-move-to-end"},
    {"\\e[1~", "ed-move-to-beg"},  {"\\e[4~", "ed-move-to-end"}, {"\\e[3~", "ed-delete-next-char"},
};

// A signal handler can only leave a note in a static flag; ReadKey reads it.
volatile std::sig_atomic_t g_interrupted = 0;
volatile std::sig_atomic_t g_resized = 0;

void NoteInterrupt(int) {
    g_interrupted = 1;
}

// Called after libedit's own handler, which has taken the new size.
void NoteResize(int) {
    g_resized = 1;
}

int TerminalColumns(EditLine* edit) {
    int columns = 0;
    el_get(edit, EL_GETTC, "co", &columns, nullptr);
    return columns;
}

// The row of the line being edited that holds the cursor, counted from 0, at the width the
// line was drawn at.
int RowOfCursor(const LineEditor& editor) {
    const LineInfoW* line = el_wline(editor.edit);
    const std::size_t column =
        std::strlen(editor.prompt) + static_cast<std::size_t>(line->cursor - line->buffer);
    return editor.drawnColumns > 0 ? static_cast<int>(column / editor.drawnColumns) : 0;
}

// Back from Ctrl-Z or resized, libedit has set the terminal up again and forgotten what the
// screen shows. The line is drawn again from its first row, not after itself; after a resize
// that row is found by the width the line was drawn at, and the old rows are cleared.
void RedrawLine(LineEditor& editor) {
    FILE* output = nullptr;
    el_get(editor.edit, EL_GETFP, 1, &output);
    if (output != nullptr) {
        const int rowsAbove = g_resized ? RowOfCursor(editor) : 0;
        if (rowsAbove > 0) std::fprintf(output, "\x1b[%dA", rowsAbove);
        std::fputs(g_resized ? "\r\x1b[J" : "\r", output);
        std::fflush(output);
    }
    g_resized = 0;
    el_set(editor.edit, EL_REFRESH);
    editor.drawnColumns = TerminalColumns(editor.edit);
}

LineEditor& EditorOf(EditLine* edit) {
    void* data = nullptr;
    el_get(edit, EL_CLIENTDATA, &data);
    return *static_cast<LineEditor*>(data);
}

int InputDescriptor(EditLine* edit) {
    FILE* input = nullptr;
    el_get(edit, EL_GETFP, 0, &input);
    return input != nullptr ? fileno(input) : 0;
}

bool EditedLineTooLong(EditLine* edit) {
    const LineInfoW* line = el_wline(edit);
    return static_cast<std::size_t>(line->lastchar - line->buffer) > kLineLimit;
}

// Where the first CR or LF is, as Enter or a pasted line end sends it; count when there is none.
std::size_t LineEndOffset(const char* bytes, std::size_t count) {
    std::size_t offset = 0;
    while (offset < count && bytes[offset] != '\r' && bytes[offset] != '\n')
        ++offset;
    return offset;
}

// Once a line holds more characters than an expression can, the editor would only redraw an
// ever longer line that cannot be evaluated (quadratic in a pasted megabyte), so the rest up to
// its end is read in blocks and dropped. Returns 1 at the line's end, or what read() returned.
int SkipRestOfLine(LineEditor& editor, int fd) {
    for (;;) {
        const std::size_t unread = editor.pendingEnd - editor.pendingBegin;
        const std::size_t end = LineEndOffset(editor.pending + editor.pendingBegin, unread);
        if (end < unread) {
            editor.pendingBegin += end + 1;
            return 1;
        }
        editor.pendingBegin = editor.pendingEnd = 0;
        if (g_interrupted) {
            errno = EINTR;
            return -1;
        }
        const ssize_t got = read(fd, editor.pending, sizeof editor.pending);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return static_cast<int>(got);
        editor.pendingEnd = static_cast<std::size_t>(got);
    }
}

ssize_t ReadByte(LineEditor& editor, int fd, char* byte) {
    if (editor.pendingBegin == editor.pendingEnd) return read(fd, byte, 1);
    *byte = editor.pending[editor.pendingBegin++];
    return 1;
}

// libedit's own reader retries a read that a signal interrupted, so the first Ctrl-C would be
// lost; this one gives up at once when Ctrl-C was pressed. Bytes that form no character in
// the locale's encoding are dropped, as libedit drops them.
int ReadKey(EditLine* edit, wchar_t* key) {
    LineEditor& editor = EditorOf(edit);
    const int fd = InputDescriptor(edit);
    if (!editor.lineTooLong && EditedLineTooLong(edit)) {
        const int found = SkipRestOfLine(editor, fd);
        if (found <= 0) return found;
        editor.lineTooLong = true;
        *key = L'\n';
        return 1;
    }
    char bytes[MB_LEN_MAX];
    std::size_t used = 0;
    for (;;) {
        if (g_interrupted) {
            errno = EINTR;
            return -1;
        }
        const ssize_t got = ReadByte(editor, fd, bytes + used);
        if (got < 0 && errno == EINTR) {
            if (!g_interrupted) RedrawLine(editor);
            continue;
        }
        if (got <= 0) return static_cast<int>(got);
        ++used;
        std::mbstate_t state{};
        const std::size_t length = std::mbrtowc(key, bytes, used, &state);
        if (length == static_cast<std::size_t>(-2) && used < MB_LEN_MAX) continue;
        if (length <= MB_LEN_MAX) return 1;
        used = 0;
    }
}

// Ctrl-D ends the session on an empty line and otherwise deletes the character under the
// cursor, without libedit's echo of "^D" that would share the shell's next line.
unsigned char EndOrDeleteNext(EditLine* edit, int) {
    const LineInfo* line = el_line(edit);
    if (line->buffer == line->lastchar) return CC_EOF;
    if (line->cursor == line->lastchar) return CC_ERROR;
    el_cursor(edit, 1);
    el_deletestr(edit, 1);
    return CC_REFRESH;
}

char* Prompt(EditLine* edit) {
    return const_cast<char*>(EditorOf(edit).prompt);
}

void Remember(LineEditor& editor, const char* text) {
    HistEvent event;
    if (text[0] != '\0') history(editor.history, &event, H_ENTER, text);
}

// The editor's line without its "\n", copied so that it can be handed on like a read line.
void TakeLine(LineEditor& editor, const char* text, int count, InputLine& line) {
    std::size_t length = static_cast<std::size_t>(count);
    if (length > 0 && text[length - 1] == '\n') --length;
    line.tooLong = editor.lineTooLong || length > kLineLimit;
    if (line.tooLong) length = 0;
    std::memcpy(editor.text, text, length);
    editor.text[length] = '\0';
    line.text = editor.text;
    line.hasNulByte = std::memchr(editor.text, '\0', length) != nullptr;
}

}  // namespace

LineEditor* OpenLineEditor(const char* program, const char* prompt) {
    // Ctrl-C must interrupt the wait for a key, not end the process: a handler that returns,
    // installed without SA_RESTART, makes the editor's read fail with EINTR.
    struct sigaction interrupt {};
    interrupt.sa_handler = NoteInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    struct sigaction resize = interrupt;
    resize.sa_handler = NoteResize;
    sigaction(SIGWINCH, &resize, nullptr);

    auto* editor = new LineEditor{};
    editor->prompt = prompt;
    editor->history = history_init();
    editor->edit = el_init(program, stdin, stdout, stderr);
    if (editor->history == nullptr || editor->edit == nullptr) {
        CloseLineEditor(editor);
        return nullptr;
    }
    HistEvent event;
    history(editor->history, &event, H_SETSIZE, kHistoryEntries);
    history(editor->history, &event, H_SETUNIQUE, 1);
    el_set(editor->edit, EL_CLIENTDATA, editor);
    el_set(editor->edit, EL_EDITOR, "emacs");
    // libedit then restores the terminal around Ctrl-C, Ctrl-Z and resizes.
    el_set(editor->edit, EL_SIGNAL, 1);
    el_set(editor->edit, EL_HIST, history, editor->history);
    el_set(editor->edit, EL_PROMPT, Prompt);
    el_set(editor->edit, EL_GETCFN, ReadKey);
    // The wide form keeps the two texts as given; the narrow one copies them and never frees them.
    el_wset(editor->edit, EL_ADDFN, L"end-or-delete-next", L"end or delete the next character",
            EndOrDeleteNext);
    el_set(editor->edit, EL_BIND, "^D", "end-or-delete-next", nullptr);
    for (const auto& binding : kKeyBindings)
        el_set(editor->edit, EL_BIND, binding[0], binding[1], nullptr);
    editor->drawnColumns = TerminalColumns(editor->edit);
    return editor;
}

EditOutcome ReadEditedLine(LineEditor& editor, InputLine& line) {
    int count = 0;
    g_interrupted = 0;
    editor.lineTooLong = false;
    const char* text = el_gets(editor.edit, &count);
    if (text == nullptr || count <= 0) {
        return count < 0 && errno == EINTR ? EditOutcome::kInterrupted : EditOutcome::kEnd;
    }
    TakeLine(editor, text, count, line);
    if (!line.tooLong && !line.hasNulByte) Remember(editor, editor.text);
    return EditOutcome::kLine;
}

void CloseLineEditor(LineEditor* editor) {
    if (editor == nullptr) return;
    if (editor->edit != nullptr) el_end(editor->edit);
    if (editor->history != nullptr) history_end(editor->history);
    delete editor;
}
