#pragma once
// The guard's options and allowed numbers, kept in the configuration file beside the program
// (the program's path with ".cfg"), section "Main", through the private-profile port.
#include <array>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "settings/NumberList.h"

class TSettings {
public:
    // Sets the defaults and loads the file.
    TSettings(IProfile& profile, const std::string& programPath);
    // Saves the file.
    ~TSettings();
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    // Reads the file into the members; a missing file or key keeps the member's value. False
    // when an error occurred; members read before it keep their new values.
    bool Load();
    // Writes every key when Modified; true when nothing needed writing or all was written.
    // Modified stays set.
    bool Save();

    const std::string& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    bool Updating() const { return FUpdating; }
    bool FirstRun() const { return FFirstRun; }
    bool AutoStart() const { return FAutoStart; }
    bool CheckAllowedNumbers() const { return FCheckAllowedNumbers; }
    bool AutoDeleteDialUp() const { return FAutoDeleteDialUp; }
    bool AutoDeleteDialers() const { return FAutoDeleteDialers; }
    bool AskBeforeDeleteDialUp() const { return FAskBeforeDeleteDialUp; }
    // Connections are also looked at while they are being dialled, between notifications.
    bool CheckWhileDialling() const { return FCheckWhileDialling; }
    const TNumberList& Numbers() const { return FNumbers; }
    const std::string& DialDuration() const { return FDialDuration; }

    // Each marks the settings modified only when the value really changes.
    void SetFirstRun(bool value) { SetSwitch(FFirstRun, value); }
    void SetAutoStart(bool value) { SetSwitch(FAutoStart, value); }
    void SetCheckAllowedNumbers(bool value) { SetSwitch(FCheckAllowedNumbers, value); }
    void SetAutoDeleteDialUp(bool value) { SetSwitch(FAutoDeleteDialUp, value); }
    void SetAutoDeleteDialers(bool value) { SetSwitch(FAutoDeleteDialers, value); }
    void SetAskBeforeDeleteDialUp(bool value) { SetSwitch(FAskBeforeDeleteDialUp, value); }
    void SetCheckWhileDialling(bool value) { SetSwitch(FCheckWhileDialling, value); }

    // Replaces strings with a copy of the allowed numbers.
    void GetNumbers(std::vector<std::string>& strings) const { strings = FNumbers.Strings(); }
    // Takes the strings over (sorted, duplicates dropped, not validated) when their text
    // differs from that of Numbers.
    void SetNumbers(const std::vector<std::string>& strings);

    static bool IsValidNumber(const std::string& text);

    // The main window sets this while it copies the settings into its controls, so that it
    // can ignore the change events that copying raises. The settings never look at it.
    void BeginUpdate() { FUpdating = true; }
    void EndUpdate() { FUpdating = false; }

    // Load reads at most this many numbers, so that a corrupt count cannot keep it busy.
    static constexpr int kMaxNumbers = 10000;

private:
    struct TSwitch {
        const char* key;
        bool* value;
    };
    static constexpr size_t kSwitchCount = 7;
    // The seven switches in the order in which the file lists them: the one that earlier
    // versions lack comes after the six they know.
    std::array<TSwitch, kSwitchCount> Switches();

    void SetSwitch(bool& member, bool value);
    std::string ReadText(const std::string& key, const std::string& def);
    int ReadInteger(const std::string& key, int def);
    bool WriteText(const std::string& key, const std::string& value);
    bool WriteAll();

    IProfile& FProfile;
    std::string FFileName;
    bool FModified = false;
    bool FUpdating = false;
    bool FFirstRun = true;
    bool FAutoStart = false;
    bool FCheckAllowedNumbers = false;
    bool FAutoDeleteDialUp = false;
    bool FAutoDeleteDialers = false;
    bool FAskBeforeDeleteDialUp = true;
    TNumberList FNumbers;
    std::string FDialDuration = "10";
    // On unless the file says otherwise: a file of an earlier version, which lacks the key,
    // gets the better protection too.
    bool FCheckWhileDialling = true;
};
