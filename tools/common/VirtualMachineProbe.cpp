#include "VirtualMachineProbe.h"

#include <windows.h>

// The probes are plain assembly so the faulting instruction has an address of
// its own for the handler to compare with. Both return EBX as it is after the
// instruction.
extern "C" {
unsigned int OrbelaVirtualPcProbe();
unsigned int OrbelaVmwareProbe();
extern const unsigned char OrbelaVirtualPcInstruction[];
extern const unsigned char OrbelaVmwareInstruction[];
}

asm(".text\n"
    ".globl _OrbelaVirtualPcProbe\n"
    "_OrbelaVirtualPcProbe:\n"
    "  pushl %ebx\n"
    "  movl $1, %eax\n"
    "  xorl %ebx, %ebx\n"
    ".globl _OrbelaVirtualPcInstruction\n"
    "_OrbelaVirtualPcInstruction:\n"
    "  .byte 0x0f, 0x3f, 0x07, 0x0b\n"
    "  movl %ebx, %eax\n"
    "  popl %ebx\n"
    "  ret\n"
    ".globl _OrbelaVmwareProbe\n"
    "_OrbelaVmwareProbe:\n"
    "  pushl %ebx\n"
    "  movl $0x564D5868, %eax\n"
    "  xorl %ebx, %ebx\n"
    "  movl $10, %ecx\n"
    "  movl $0x5658, %edx\n"
    ".globl _OrbelaVmwareInstruction\n"
    "_OrbelaVmwareInstruction:\n"
    "  inl %dx, %eax\n"
    "  movl %ebx, %eax\n"
    "  popl %ebx\n"
    "  ret\n");

namespace {

const unsigned int kVmwareMagic = 0x564D5868;
const DWORD kVirtualPcInstructionLength = 4;
const DWORD kVmwareInstructionLength = 1;

LONG CALLBACK SkipProbeInstruction(EXCEPTION_POINTERS* info)
{
    void* address = info->ExceptionRecord->ExceptionAddress;
    CONTEXT* context = info->ContextRecord;
    if (address == OrbelaVirtualPcInstruction) {
        context->Ebx = static_cast<DWORD>(-1);
        context->Eip += kVirtualPcInstructionLength;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (address == OrbelaVmwareInstruction) {
        context->Ebx = 0;
        context->Eip += kVmwareInstructionLength;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
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
