// Linux has no Windows version, no snapshot functions and no process-status library. The stand-in
// reports the version word 0, the family whose walk goes through the process-status library;
// that library cannot be loaded here, and no process can be opened, so the walk finds nothing
// and terminates nothing.
#include <unistd.h>

#include "platform/ProcessList.h"

namespace {

class TPosixProcessKernel : public IProcessKernel {
public:
    uint32_t GetVersion() override { return 0; }
    uint32_t GetCurrentProcessId() override { return static_cast<uint32_t>(getpid()); }
    TProcessHandle OpenProcess(uint32_t, bool, uint32_t) override { return nullptr; }
    bool TerminateProcess(TProcessHandle, uint32_t) override { return false; }
    void CloseHandle(TProcessHandle) override {}
};

}  // namespace

IProcessKernel& SystemProcessKernel()
{
    static TPosixProcessKernel kernel;
    return kernel;
}
