#include "StandinState.h"

#include <algorithm>

#include "common/StrUtils.h"

namespace {

const char kHeader[] = "rasstandin\t1";

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// Decimal digits only, within 64 bits.
bool ParseU64(const std::string& text, uint64_t& value)
{
    if (!IsDigits(text) || text.size() > 19) return false;
    value = std::stoull(text);
    return true;
}

// Decimal digits only, within 32 bits.
bool ParseU32(const std::string& text, uint32_t& value)
{
    uint64_t v = 0;
    if (!ParseU64(text, v) || v > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

// The share of the dialling time spent opening the port, and the share after which the modem
// has reached the other end and authenticates, in tenths.
const uint64_t kOpenPortTenths = 1;
const uint64_t kAuthenticateTenths = 8;

// How far into its dialling time a call is, in tenths (10 once it is due).
uint64_t TenthsDone(const TStandinConnection& c, uint64_t now)
{
    if (now >= c.AnswerAt || c.AnswerAt <= c.DialledAt) return 10;
    if (now <= c.DialledAt) return 0;
    return (now - c.DialledAt) * 10 / (c.AnswerAt - c.DialledAt);
}

}  // namespace

uint32_t TStandinConnection::StateAt(uint64_t now) const
{
    if (!Dialling()) return kStandinConnected;
    const uint64_t done = TenthsDone(*this, now);
    if (done < kOpenPortTenths) return kStandinOpenPort;
    if (done < kAuthenticateTenths) return kStandinConnectDevice;
    return kStandinAuthenticate;
}

bool TStandinConnection::NumberKnownAt(uint64_t now) const
{
    return StateAt(now) != kStandinOpenPort;
}

bool IsStorableText(const std::string& text, size_t capacity)
{
    if (text.empty() || text.size() > capacity) return false;
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32; });
}

TStandinEntry* TStandinState::FindEntry(const std::string& name)
{
    for (TStandinEntry& e : Entries)
        if (SameText(e.Name, name)) return &e;
    return nullptr;
}

TStandinConnection* TStandinState::FindConnection(uint32_t handle)
{
    for (TStandinConnection& c : Connections)
        if (c.Handle == handle) return &c;
    return nullptr;
}

uint32_t TStandinState::SetEntry(const std::string& name, const std::string& number)
{
    if (TStandinEntry* existing = FindEntry(name)) {
        existing->Number = number;
        return kRasSuccess;
    }
    if (Entries.size() >= kStandinCapacity) return kRasErrorNotEnoughMemory;
    Entries.push_back(TStandinEntry{name, number});
    return kRasSuccess;
}

uint32_t TStandinState::DeleteEntry(const std::string& name)
{
    TStandinEntry* entry = FindEntry(name);
    if (!entry) return kRasErrorCannotFindPhonebookEntry;
    Entries.erase(Entries.begin() + (entry - Entries.data()));
    return kRasSuccess;
}

uint32_t TStandinState::Connect(const std::string& entry, const std::string& number, uint64_t now,
                                uint32_t answerAfterMs, uint32_t& handle)
{
    if (Connections.size() >= kStandinCapacity) return kRasErrorPortNotAvailable;
    // 0 is no handle and all bits set stands for every connection: both are skipped when the
    // count comes round.
    if (NextHandle == 0 || NextHandle == 0xFFFFFFFFu) NextHandle = 1;
    handle = NextHandle++;
    TStandinConnection c{handle, entry, number, now, answerAfterMs ? now + answerAfterMs : 0};
    Connections.push_back(c);
    if (!c.Dialling()) ++Connects;
    return kRasSuccess;
}

std::vector<TStandinConnection> TStandinState::AnswerDue(uint64_t now)
{
    std::vector<TStandinConnection> answered;
    for (TStandinConnection& c : Connections) {
        if (!c.Dialling() || c.AnswerAt > now) continue;
        c.AnswerAt = 0;
        ++Connects;
        answered.push_back(c);
    }
    return answered;
}

uint64_t TStandinState::NextAnswer() const
{
    uint64_t next = 0;
    for (const TStandinConnection& c : Connections)
        if (c.Dialling() && (next == 0 || c.AnswerAt < next)) next = c.AnswerAt;
    return next;
}

uint32_t TStandinState::HangUp(uint32_t handle)
{
    TStandinConnection* connection = FindConnection(handle);
    if (!connection) return kRasErrorInvalidHandle;
    Connections.erase(Connections.begin() + (connection - Connections.data()));
    ++Disconnects;
    return kRasSuccess;
}

void TStandinState::Clear()
{
    if (!Connections.empty()) ++Disconnects;
    Connections.clear();
    Entries.clear();
    AnswerAfterMs = 0;
    RefuseNotifications = false;
}

std::string FormatStandinState(const TStandinState& state)
{
    std::string text = std::string(kHeader) + "\r\n";
    text += "next-handle\t" + std::to_string(state.NextHandle) + "\r\n";
    text += "connects\t" + std::to_string(state.Connects) + "\r\n";
    text += "disconnects\t" + std::to_string(state.Disconnects) + "\r\n";
    if (state.AnswerAfterMs)
        text += "answer-after\t" + std::to_string(state.AnswerAfterMs) + "\r\n";
    if (state.RefuseNotifications) text += "refuse-notifications\t1\r\n";
    for (uint32_t pid : state.Watchers) text += "watcher\t" + std::to_string(pid) + "\r\n";
    for (const TStandinEntry& e : state.Entries)
        text += "entry\t" + e.Name + "\t" + e.Number + "\r\n";
    for (const TStandinConnection& c : state.Connections)
        text += "connection\t" + std::to_string(c.Handle) + "\t" + c.Entry + "\t" + c.Number +
                "\t" + std::to_string(c.DialledAt) + "\t" + std::to_string(c.AnswerAt) + "\r\n";
    return text;
}

TStandinState ParseStandinState(const std::string& text)
{
    TStandinState state;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        std::vector<std::string> f = SplitTabs(line);
        uint32_t n = 0;
        if (f.size() == 2 && f[0] == "next-handle" && ParseU32(f[1], n)) {
            state.NextHandle = n;
        } else if (f.size() == 2 && f[0] == "connects" && ParseU32(f[1], n)) {
            state.Connects = n;
        } else if (f.size() == 2 && f[0] == "disconnects" && ParseU32(f[1], n)) {
            state.Disconnects = n;
        } else if (f.size() == 2 && f[0] == "answer-after" && ParseU32(f[1], n)) {
            state.AnswerAfterMs = n;
        } else if (f.size() == 2 && f[0] == "refuse-notifications") {
            state.RefuseNotifications = f[1] == "1";
        } else if (f.size() == 2 && f[0] == "watcher" && ParseU32(f[1], n)) {
            if (state.Watchers.size() < kStandinCapacity) state.Watchers.push_back(n);
        } else if (f.size() == 3 && f[0] == "entry" && !f[1].empty()) {
            if (state.Entries.size() < kStandinCapacity && !state.FindEntry(f[1]))
                state.Entries.push_back(TStandinEntry{f[1], f[2]});
        } else if ((f.size() == 4 || f.size() == 6) && f[0] == "connection" && ParseU32(f[1], n) &&
                   n != 0) {
            // A connection of an earlier state file, without its times, is connected.
            TStandinConnection c{n, f[2], f[3]};
            if (f.size() == 6 && !(ParseU64(f[4], c.DialledAt) && ParseU64(f[5], c.AnswerAt)))
                continue;
            if (state.Connections.size() < kStandinCapacity && !state.FindConnection(n))
                state.Connections.push_back(c);
        }
    }
    // A damaged count must not hand out a handle that is still live.
    for (const TStandinConnection& c : state.Connections)
        if (c.Handle >= state.NextHandle && c.Handle != 0xFFFFFFFFu)
            state.NextHandle = c.Handle + 1;
    return state;
}
