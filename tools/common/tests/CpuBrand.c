/* Prints the processor's brand text as the cpuid instruction gives it on this
 * machine, read natively, for comparison with what the setup helpers report. */
#include <cpuid.h>
#include <stdio.h>
#include <string.h>

int main(void)
{
    unsigned int regs[12], leaf;
    char brand[49];
    if (__get_cpuid_max(0x80000000u, NULL) < 0x80000004u) {
        fprintf(stderr, "cpu-brand: this processor has no brand leaves\n");
        return 1;
    }
    for (leaf = 0; leaf < 3; ++leaf)
        __cpuid(0x80000002u + leaf, regs[4 * leaf], regs[4 * leaf + 1], regs[4 * leaf + 2], regs[4 * leaf + 3]);
    memcpy(brand, regs, 48);
    brand[48] = '\0';
    printf("%s\n", brand);
    return 0;
}
