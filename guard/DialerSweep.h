#pragma once
// The dialer sweep of the check cycle: the programs registered to start with Windows and the
// running processes that the dialer test recognises are, with the user's consent, taken off the
// machine (process ended, file quarantined and deleted, Run value and shortcuts removed).
#include <string>

#include "dialers/StartupFiles.h"
#include "dialers/ToolsPorts.h"
#include "guard/CheckContext.h"

class TDialerSweep {
public:
    TDialerSweep(const TToolsPorts& tools, TStartupFiles& startupFiles,
                 const TCheckContext& context)
        : FTools(tools), FStartupFiles(startupFiles), FContext(context)
    {
    }

    // automatic: run by the cycle, which honours the option; the user's command does not.
    void CheckActiveDialers(bool automatic);
    // The developer's test command: the test folder's dialers are deleted without a copy.
    void TestDialers();
    // Removal could not make the quarantine folder or write into it: the report says so once
    // in a sweep, however many dialers it keeps for that reason.
    void QuarantineUnavailable(const std::string& folder);

private:
    // The guard's own program and the unpackers beside it hold the dialer text (the guard binds
    // the dial function by name), and must never be taken for dialers.
    bool IsOwnFile(const std::string& path) const;
    void RemoveDialer(const std::string& name, const std::string& file, bool hasRunValue);

    const TToolsPorts& FTools;
    TStartupFiles& FStartupFiles;
    TCheckContext FContext;
    bool FQuarantineReported = false;
};
