/* A program that embeds Quorvel's expression engine, built against the installed library. */
#include <quorvel/quorvel.h>
#include <stdio.h>

int main(void) {
    float value;
    if (!quorvel_evaluate("lerp(x, y, z)", 2.0f, 4.0f, 0.25f, &value)) return 1;
    printf("%f\n", value);

    /* What the calculator window shows, from the texts of its fields. */
    char display[QUORVEL_DISPLAY_CAPACITY];
    if (!quorvel_display("x/3", "1", "0", "0", display)) return 1;
    printf("%s\n", display);

    /* The shortest text that reads back as the same float. */
    char exact[32];
    if (quorvel_evaluate("x/3", 1.0f, 0.0f, 0.0f, &value)) {
        quorvel_exact_text(value, exact, sizeof exact);
        printf("%s\n", exact);
    }
    printf("quorvel %s\n", quorvel_version());
    return 0;
}
