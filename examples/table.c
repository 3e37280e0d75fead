/* Tabulates one expression over many values: the text is read once by quorvel_prepare, and
   quorvel_run_many evaluates whole columns with it. */
#include <quorvel/quorvel.h>
#include <stdio.h>

#define ROWS 5

int main(void) {
    struct quorvel_failure failure;
    struct quorvel_program *program = quorvel_prepare("x*x+3*x-1", &failure);
    if (program == NULL) {
        fprintf(stderr, "column %d: %s\n", failure.column, failure.text);
        return 1;
    }
    float x[ROWS];
    float results[ROWS];
    for (int i = 0; i < ROWS; ++i) x[i] = 0.5f * (float)i;
    /* Null y and z columns read as zeros. */
    quorvel_run_many(program, ROWS, x, NULL, NULL, results);
    for (int i = 0; i < ROWS; ++i) printf("%g\t%f\n", x[i], results[i]);
    quorvel_release(program);

    /* A text that cannot be prepared says why, as quorvel_explain would. */
    if (quorvel_prepare("pi*x", &failure) == NULL) {
        printf("column %d: %s\n", failure.column, failure.text);
    }
    return 0;
}
