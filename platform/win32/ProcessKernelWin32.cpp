// The kernel calls of the process walk, passed straight to the system.
#include <windows.h>

#include "platform/ProcessList.h"

namespace {

class TWin32ProcessKernel : public IProcessKernel {
public:
    uint32_t GetVersion() override { return ::GetVersion(); }
    uint32_t GetCurrentProcessId() override { return ::GetCurrentProcessId(); }
    TProcessHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override
    {
        return ::OpenProcess(access, inheritHandle ? TRUE : FALSE, processId);
    }
    bool TerminateProcess(TProcessHandle process, uint32_t exitCode) override
    {
        return ::TerminateProcess(process, exitCode) != FALSE;
    }
    void CloseHandle(TProcessHandle handle) override { ::CloseHandle(handle); }
};

}  // namespace

IProcessKernel& SystemProcessKernel()
{
    static TWin32ProcessKernel kernel;
    return kernel;
}
