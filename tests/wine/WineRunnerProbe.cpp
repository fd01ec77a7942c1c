// Behaves as asked on its command line, so the Wine runner's handling of exit
// codes, crashes and hangs can be checked: "exit N", "crash", "hang".
#include <windows.h>

#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "exit") == 0) return atoi(argv[2]);
    if (argc >= 2 && strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = NULL;
        *nowhere = 1;
    }
    if (argc >= 2 && strcmp(argv[1], "hang") == 0) {
        for (;;) Sleep(1000);
    }
    return 99;
}
