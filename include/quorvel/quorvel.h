#ifndef QUORVEL_QUORVEL_H
#define QUORVEL_QUORVEL_H

/*
 * Quorvel's expression engine for C and C++ programs.
 *
 * One-line expressions (operators + - * / % ^, brackets, PI and E, the variables a to z and the
 * built-in functions such as lerp, clamp and atan2) are evaluated in IEEE-754 single precision,
 * exactly as the calculator window and quorvel-eval evaluate them. No call allocates memory.
 *
 * Any number of threads may call these functions at once: each call sees only its own variable
 * values, and rand and rand2 draw from one process-wide sequence, each draw taken once.
 *
 * Link with `pkg-config --cflags --libs quorvel`, or in CMake with
 * find_package(Quorvel 1.0 CONFIG REQUIRED) and the target Quorvel::quorvel.
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
 * as 0), and display receives the value with six decimals ("2.500000") or the error text, UTF-8
 * and NUL-terminated. Returns whether the expression evaluated. A null expression shows the error
 * text; a null display returns false and writes nothing.
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

/* The library's version, "major.minor.patch". */
QUORVEL_API const char *quorvel_version(void);

#ifdef __cplusplus
}
#endif

#endif
