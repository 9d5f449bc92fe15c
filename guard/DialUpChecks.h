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

// A set of connections by their handles.
class THandleSet {
public:
    bool Has(THRasConn handle) const;
    // A handle added twice is held twice, which changes nothing.
    void Add(THRasConn handle);
    // Forgets the handles that are not among live.
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

    // Whether the short look judges the connections. While it does, the automatic connection
    // check leaves the connections that were judged already (by a look or an earlier check)
    // alone, so that none is asked about twice; the user's own command still checks them all.
    void SetLooking(bool looking) { FLooking = looking; }
    // The short look: lists the connections and, while looking is on, judges each one not
    // judged yet, a call still being dialled included, as the connection check would. Returns
    // whether the set of connections differs from what the last look or connection check saw.
    bool LookAtConnections();

private:
    void Announce(const std::string& text);
    // One connection: its number judged, and a forbidden one asked about when the options say
    // so, hung up by its handle and reported. A look also asks after the call's state: the
    // report says when a call was ended while it was being dialled. Entry must be set to the
    // connection's entry.
    void Judge(const std::string& entry, THRasConn handle, bool look);
    // Takes note of the listed handles (and forgets the judged ones not among them); true when
    // they differ from those of the last look or connection check.
    bool See(const std::vector<THRasConn>& handles);

    // The number a connection dialled: the live one, else the entry's dial parameters', else the
    // entry's own; and which of them gave it. Entry must be set to the connection's entry. A
    // look does not judge a connection that says nothing of itself by its entry.
    enum TNumberSource { nsNone, nsConnection, nsEntry };
    TNumberSource ConnectionNumber(THRasConn handle, std::string& number, bool look = false);
    // The frame both stages share: the progress under its caption, one step per name with Entry
    // set to it, and Entry restored afterwards.
    void WalkNames(const std::vector<std::string>& names, const std::function<void(size_t)>& visit);

    TDialUp& FDialUp;
    TCheckContext FContext;
    // The connections judged already. A handle is forgotten once its connection has gone from
    // the list, so that one RAS hands to a new connection later is judged afresh.
    THandleSet FJudged;
    // The connections the last look or connection check listed, by the sum of their handles
    // (none is 0): a connection made or ended since changes it, unless calls made and calls
    // ended within one look have handles that add up alike.
    THRasConn FSeenSum = 0;
    bool FLooking = false;
};
