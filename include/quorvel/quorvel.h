#ifndef QUORVEL_QUORVEL_H
#define QUORVEL_QUORVEL_H

/*
 * Quorvel's expression engine for C and C++ programs.
 *
 * One-line expressions (operators + - * / % ^, brackets, PI and E, the variables a to z and the
 * built-in functions such as lerp, clamp and atan2) are evaluated in IEEE-754 single precision,
 * exactly as the calculator window and quorvel-eval evaluate them. Only quorvel_prepare
 * allocates memory.
 *
 * Any number of threads may call these functions at once: each call sees only its own variable
 * values, and rand and rand2 draw from one process-wide sequence, each draw taken once.
 *
 * Link with `pkg-config --cflags --libs quorvel`, or in CMake with
 * find_package(Quorvel 1.1 CONFIG REQUIRED) and the target Quorvel::quorvel. Version 1.1 added
 * the prepared programs (quorvel_prepare and the three functions after it).
 */

#include <stdbool.h>
#include <stddef.h>

#if defined(__GNUC__)
#define QUORVEL_API __attribute__((visibility("default")))
#else
#define QUORVEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Every function that takes an expression reads at most its first 1,024 bytes: a longer text,
 * NUL-terminated or not, fails as too long without being read further.
 */

/* The size of the text quorvel_display writes, its NUL included. */
#define QUORVEL_DISPLAY_CAPACITY 256

/*
 * Evaluates the expression (UTF-8, at most 1023 bytes) with x, y and z set to the given values
 * and the variables a to w set to 0. Returns true and stores the value, or returns false and
 * stores 0. A null expression or value pointer returns false and stores nothing.
 */
QUORVEL_API bool quorvel_evaluate(const char *expression, float x, float y, float z,
                                  float *value);

/*
 * Evaluates as the calculator window does: x, y and z are read from their texts (a number with
 * a period as separator, whatever the locale; a text that is no number, or a null pointer, reads
 * as 0; each is read up to its NUL, whatever its length), and display receives the value with
 * six decimals ("2.500000") or the error text, UTF-8 and NUL-terminated. Returns whether the
 * expression evaluated. A null expression shows the error text; a null display returns false and
 * writes nothing.
 */
QUORVEL_API bool quorvel_display(const char *expression, const char *x, const char *y,
                                 const char *z, char display[QUORVEL_DISPLAY_CAPACITY]);

/*
 * Writes the shortest text that reads back as exactly the same float ("0.1", "1e-08", "-0",
 * "inf"), as quorvel-eval --exact prints it. Like snprintf: writes at most capacity bytes, always
 * NUL-terminated when capacity is above 0, and returns the length of the whole text, so a result
 * not below capacity means it was cut short. Fewer than 32 bytes can cut a text short. A null
 * buffer writes nothing.
 */
QUORVEL_API size_t quorvel_exact_text(float value, char *buffer, size_t capacity);

/* Why an expression fails, as quorvel_explain reports it. */
enum quorvel_reason {
    QUORVEL_REASON_NONE,                     /* it evaluated */
    QUORVEL_REASON_EMPTY,                    /* nothing but spaces (column 0) */
    QUORVEL_REASON_TOO_LONG,                 /* more than 1023 bytes (column 0) */
    QUORVEL_REASON_NUL_BYTE,                 /* a NUL byte inside a line (never from a C string) */
    QUORVEL_REASON_MISPLACED_SIGN,           /* a sign after the start: 2*-3 */
    QUORVEL_REASON_OPERATOR_EXPECTED,        /* something else where an operator belongs: 1 2 */
    QUORVEL_REASON_OPERAND_EXPECTED,         /* no operand where one belongs: 1+ */
    QUORVEL_REASON_UNKNOWN_NAME,             /* no constant, variable or function: pi */
    QUORVEL_REASON_SCIENTIFIC_WITHOUT_POINT, /* 1e3 */
    QUORVEL_REASON_OCTAL_DIGIT,              /* 08 */
    QUORVEL_REASON_MALFORMED_NUMBER,         /* 1.2.3 */
    QUORVEL_REASON_NAME_TOO_LONG,            /* a name or number of more than 63 characters */
    QUORVEL_REASON_EXPONENT_TOO_LONG,        /* an exponent of more than 63 digits */
    QUORVEL_REASON_UNCLOSED_BRACKET,         /* (1 */
    QUORVEL_REASON_WRONG_CLOSER,             /* [1) */
    QUORVEL_REASON_NESTED_COMMA,             /* a call's comma in an earlier argument: max(min(1,2),3) */
    QUORVEL_REASON_GROUP_TOO_LONG,           /* a group of more than 255 characters */
    QUORVEL_REASON_TOO_MANY_BRACKETS,        /* brackets nested more than 32 deep */
    QUORVEL_REASON_MISSING_ARGUMENTS,        /* sin 1 */
    QUORVEL_REASON_ARGUMENT_COUNT,           /* rand2(1) */
    QUORVEL_REASON_ARRAY_FUNCTION,           /* array_add(1) */
    QUORVEL_REASON_OUT_OF_MEMORY,            /* quorvel_prepare found no memory (column 0) */
    QUORVEL_REASON_COMMA_OUTSIDE_CALL        /* a comma in no call's arguments: (1,2), 1,5 */
    /* New reasons are only ever appended. */
};

/* The size of the reason text in struct quorvel_failure, its NUL included. */
#define QUORVEL_REASON_CAPACITY 256

/* Why an evaluation failed. */
struct quorvel_failure {
    /* An enum quorvel_reason; QUORVEL_REASON_NONE when the expression evaluated. */
    int reason;
    /* The byte, counted from 1 in the whole expression, where the evaluation could not go on;
       0 when the reason concerns the whole text, or when it evaluated. A byte, not a character:
       the text below counts characters when it names a column. */
    int column;
    /* The reason in English, naming the fix where there is one ("unknown name; did you mean
       PI"): UTF-8 and NUL-terminated, empty when it evaluated. */
    char text[QUORVEL_REASON_CAPACITY];
};

/*
 * Evaluates as quorvel_evaluate does, once (rand and rand2 draw as they would there), and fills
 * failure with why the expression failed. Returns whether it evaluated. A null expression, value
 * or failure pointer returns false and stores nothing.
 */
QUORVEL_API bool quorvel_explain(const char *expression, float x, float y, float z, float *value,
                                 struct quorvel_failure *failure);

/* The library's version, "major.minor.patch". */
QUORVEL_API const char *quorvel_version(void);

/* An expression read once, to be evaluated for many values of x, y and z. */
struct quorvel_program;

/*
 * Reads the expression once into a program (the one allocation, in proportion to the text's
 * length). Returns null when the expression fails, with failure (which may be null) filled exactly
 * as quorvel_explain fills it, or when memory runs out (QUORVEL_REASON_OUT_OF_MEMORY); a null
 * expression fails as an empty one. On success failure holds QUORVEL_REASON_NONE. Preparing never
 * draws: a failed quorvel_prepare has drawn nothing, while a failing quorvel_evaluate may have
 * drawn for a rand before the point where it failed.
 *
 * A program never changes once prepared: any number of threads may run one program at once.
 */
QUORVEL_API struct quorvel_program *quorvel_prepare(const char *expression,
                                                    struct quorvel_failure *failure);

/*
 * The value quorvel_evaluate gives for the program's expression with these values, bit for bit,
 * and with the same draws of rand and rand2 in the same order. Does not allocate. A null program
 * gives 0.
 */
QUORVEL_API float quorvel_run(const struct quorvel_program *program, float x, float y, float z);

/*
 * quorvel_run for count rows: results[i] is the value for x[i], y[i] and z[i], and the rows run
 * in order, so the draws are those of calling quorvel_run row by row. A null x, y or z reads
 * zeros; results may be the same array as x, y or z. Does not allocate. A null program or
 * results does nothing.
 */
QUORVEL_API void quorvel_run_many(const struct quorvel_program *program, size_t count,
                                  const float *x, const float *y, const float *z, float *results);

/* Frees a program; a null program does nothing. */
QUORVEL_API void quorvel_release(struct quorvel_program *program);

#ifdef __cplusplus
}
#endif

#endif
