#pragma once
// The two stages of the check cycle that look at the dial-up: the connection check hangs up
// every active connection whose number is not allowed, the phonebook sweep deletes every entry
// whose number is not allowed; and the connection status in the status bar.
#include <functional>
#include <string>
#include <vector>

#include "dialup/DialUpTools.h"
#include "guard/CheckContext.h"

class TDialUpChecks {
public:
    TDialUpChecks(TDialUp& dialUp, const TCheckContext& context)
        : FDialUp(dialUp), FContext(context)
    {
    }

    // automatic: run by the cycle, which honours the stage's option; the user's command does not.
    void DisconnectUnknownConnections(bool automatic);
    void DeleteUnknownDialUps(bool automatic);
    void ShowConnectionStatus();

private:
    void Announce(const std::string& text);
    // The number a connection dialled: the live one, else the entry's dial parameters', else the
    // entry's own. Entry must be set to the connection's entry.
    bool ConnectionNumber(THRasConn handle, std::string& number);
    // The frame both stages share: the progress under its caption, one step per name with Entry
    // set to it, and Entry restored afterwards.
    void WalkNames(const std::vector<std::string>& names, const std::function<void(size_t)>& visit);

    TDialUp& FDialUp;
    TCheckContext FContext;
};
