// Fuzz target of the package reader: any bytes as the uninstaller's own program file. Finding
// the package, copying its log out and parsing it, then reading the log into the lists must
// end in a result or in the project's own exception, never in a crash, an endless loop, a read
// out of bounds or an allocation the file's size does not justify. A log that reads is also
// undone and its removal batch written, all on in-memory stand-ins of the machine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Errors.h"
#include "support/FakeMessageBox.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryProfile.h"
#include "support/MemoryRegistry.h"
#include "uninstall/SetupBuildEngine.h"

namespace {

const char* const kProgram = "C:\\App\\uninstall.exe";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryFileSystem files;
    files.AddFile(kProgram, std::string(reinterpret_cast<const char*>(data), size));
    files.AddFolder("C:\\Temp");
    TMemoryRegistry registry;
    TMemoryProfile profile{files};
    TFakeShell shell;
    TFakeProcesses processes;
    processes.Program = kProgram;
    TFakeMessageBox messages;
    TUninstallPorts ports{files,
                          registry,
                          profile,
                          shell,
                          processes,
                          messages,
                          {NoProcessWalk(), SystemProcessWindows(), SystemClock()}};

    TUninstall engine(ports);
    if (!engine.LoadPackage(kProgram)) return 0;
    try {
        if (engine.ReadLog()) engine.Execute();
    } catch (const EAssertionFailed&) {
        throw;  // a broken invariant is a fault, whatever the input
    } catch (const Exception&) {
        // An unknown word of the vocabulary, or a batch that cannot be written: the run ends
        // with its message, as it should.
    }
    return 0;
}
