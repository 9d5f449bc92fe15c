#pragma once
// The two stages of the check cycle that look at the dial-up: the connection check hangs up
// every active connection whose number is not allowed, the phonebook sweep deletes every entry
// whose number is not allowed; the short look at the connections that runs between
// notifications and catches a call while it is still being dialled; and the connection status
// in the status bar.
#include <functional>
#include <string>
#include <vector>

#include "dialup/DialUpTools.h"
#include "guard/CheckContext.h"

// The connections already judged, by handle. A handle is forgotten once its connection has
// gone from the list, so that one RAS hands to a new connection later is judged afresh.
class TJudgedConnections {
public:
    bool Has(THRasConn handle) const;
    void Add(THRasConn handle);
    void KeepOnly(const std::vector<THRasConn>& live);

private:
    std::vector<THRasConn> FHandles;
};

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

    // While the short look runs, the automatic connection check leaves the connections that
    // were judged already (by a look or an earlier check) alone, so that none is asked about
    // twice. The user's own command still checks them all.
    void SetLooking(bool looking) { FLooking = looking; }
    // The short look: lists the connections and, when judge, judges each one not judged yet,
    // a call still being dialled included, as the connection check would. Returns whether the
    // set of connections differs from what the last look or connection check saw.
    bool LookAtConnections(bool judge);

private:
    void Announce(const std::string& text);
    // One connection not judged yet, as a look sees it.
    void LookAt(const std::string& entry, THRasConn handle);
    // The entry's numbers, when the connection reports none: its dial parameters', else its own.
    // Entry is set to the entry for the queries and put back.
    bool EntryNumber(const std::string& entry, std::string& number);
    // A connection whose number is not allowed: asked about when the options say so, then hung
    // up by its handle, and reported. dialling: the call had not been answered when it was
    // judged, which the report then says if it still holds at the hang-up.
    void EndConnection(const std::string& entry, THRasConn handle, const std::string& number,
                       bool dialling);
    bool StillDialling(THRasConn handle);

    // The number a connection dialled: the live one, else the entry's dial parameters', else the
    // entry's own. Entry must be set to the connection's entry.
    bool ConnectionNumber(THRasConn handle, std::string& number);
    // The frame both stages share: the progress under its caption, one step per name with Entry
    // set to it, and Entry restored afterwards.
    void WalkNames(const std::vector<std::string>& names, const std::function<void(size_t)>& visit);

    TDialUp& FDialUp;
    TCheckContext FContext;
    TJudgedConnections FJudged;
    // The handles the last look or connection check listed.
    std::vector<THRasConn> FSeen;
    bool FLooking = false;
};
