#include "VirtualMachineProbe.h"

#include <windows.h>

// The probes are plain assembly so the faulting instruction has an address of
// its own for the handler to compare with. Both return EBX as it is after the
// instruction. The same text serves both targets: i386 symbols carry a leading
// underscore, x86-64 ones do not, and each saves its own width of RBX/EBX.
extern "C" {
unsigned int OrbelaVirtualPcProbe();
unsigned int OrbelaVmwareProbe();
extern const unsigned char OrbelaVirtualPcInstruction[];
extern const unsigned char OrbelaVmwareInstruction[];
}

#if defined(__x86_64__)
#define PROBE_SYMBOL(name) #name
#define PROBE_SAVE_BX "  pushq %rbx\n"
#define PROBE_RESTORE_BX "  popq %rbx\n"
#else
#define PROBE_SYMBOL(name) "_" #name
#define PROBE_SAVE_BX "  pushl %ebx\n"
#define PROBE_RESTORE_BX "  popl %ebx\n"
#endif

asm(".text\n"
    ".globl " PROBE_SYMBOL(OrbelaVirtualPcProbe) "\n"
    PROBE_SYMBOL(OrbelaVirtualPcProbe) ":\n"
    PROBE_SAVE_BX
    "  movl $1, %eax\n"
    "  xorl %ebx, %ebx\n"
    ".globl " PROBE_SYMBOL(OrbelaVirtualPcInstruction) "\n"
    PROBE_SYMBOL(OrbelaVirtualPcInstruction) ":\n"
    "  .byte 0x0f, 0x3f, 0x07, 0x0b\n"
    "  movl %ebx, %eax\n"
    PROBE_RESTORE_BX
    "  ret\n"
    ".globl " PROBE_SYMBOL(OrbelaVmwareProbe) "\n"
    PROBE_SYMBOL(OrbelaVmwareProbe) ":\n"
    PROBE_SAVE_BX
    "  movl $0x564D5868, %eax\n"
    "  xorl %ebx, %ebx\n"
    "  movl $10, %ecx\n"
    "  movl $0x5658, %edx\n"
    ".globl " PROBE_SYMBOL(OrbelaVmwareInstruction) "\n"
    PROBE_SYMBOL(OrbelaVmwareInstruction) ":\n"
    "  inl %dx, %eax\n"
    "  movl %ebx, %eax\n"
    PROBE_RESTORE_BX
    "  ret\n");

namespace {

const unsigned int kVmwareMagic = 0x564D5868;
const DWORD kVirtualPcInstructionLength = 4;
const DWORD kVmwareInstructionLength = 1;

// Resumes after the probe's instruction with EBX set as the instruction would
// have left it on the machine the probe looks for.
LONG SkipInstruction(CONTEXT* context, DWORD ebx, DWORD length)
{
#if defined(__x86_64__)
    context->Rbx = ebx;
    context->Rip += length;
#else
    context->Ebx = ebx;
    context->Eip += length;
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

LONG CALLBACK SkipProbeInstruction(EXCEPTION_POINTERS* info)
{
    void* address = info->ExceptionRecord->ExceptionAddress;
    CONTEXT* context = info->ContextRecord;
    if (address == OrbelaVirtualPcInstruction)
        return SkipInstruction(context, static_cast<DWORD>(-1), kVirtualPcInstructionLength);
    if (address == OrbelaVmwareInstruction)
        return SkipInstruction(context, 0, kVmwareInstructionLength);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Runs one probe with the handler installed for exactly its duration.
unsigned int RunProbe(unsigned int (*probe)())
{
    PVOID handler = AddVectoredExceptionHandler(1, SkipProbeInstruction);
    if (!handler)
        return static_cast<unsigned int>(-1);
    unsigned int ebx = probe();
    RemoveVectoredExceptionHandler(handler);
    return ebx;
}

} // namespace

bool IsVirtualPC()
{
    return RunProbe(OrbelaVirtualPcProbe) == 0;
}

bool IsVMware()
{
    return RunProbe(OrbelaVmwareProbe) == kVmwareMagic;
}
