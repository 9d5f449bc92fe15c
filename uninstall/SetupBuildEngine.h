#pragma once
// The uninstall engine: finds the package appended to the uninstaller's own program file,
// reads the log in it into lists, undoes what the lists name and arranges the removal of the
// uninstaller itself. The package's layout is in PackageFormat.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Files.h"
#include "uninstall/ConfigLists.h"
#include "uninstall/PackageFormat.h"
#include "uninstall/UninstallPorts.h"

class TCustomInstall {
public:
    virtual ~TCustomInstall() = default;
    virtual bool ReadLog() = 0;
    virtual bool Execute() = 0;
};

class TUninstall : public TCustomInstall {
public:
    explicit TUninstall(const TUninstallPorts& ports);

    // True when a package was found in the file and its log copied out; also when the log then
    // failed to parse (LogLoaded tells).
    bool LoadPackage(const std::string& fileName);
    // The same on an open file, so that the reader can be driven without a real file.
    bool LoadPackageFrom(IFileStream& file);
    // True when the log parsed: only then is there anything to read or undo.
    bool LogLoaded() const { return FLogLoaded; }
    // Takes the application's name from the document; true when it is not empty.
    bool ReadAppName();
    // Refills the lists from the document. False without a parsed document; a word the
    // vocabulary does not know raises its error before anything is removed.
    bool ReadLog() override;
    // Reads the log, undoes the installation, writes the removal batch into the temporary
    // folder and starts it hidden. False, with nothing removed, when the log cannot be read.
    bool Execute() override;
    // The system's temporary folder with its final backslash; "" when the system reports none
    // or a path longer than 1040 characters.
    std::string TempFolder();

    TInstallerLog Log;
    std::string AppName;
    // Runs in Execute once the log has been read and before anything is removed; false ends
    // the run there, with nothing removed.
    std::function<bool()> BeforeRemoval;

private:
    // Empties the lists and enters the document's top level, taking the application's name
    // when the log names one (AppName stays as it was otherwise). False, with nothing entered,
    // without a parsed document; on true the caller leaves the level again.
    bool EnterLog();
    void ReadItem(const std::string& section, const std::string& element);
    std::string Attribute(const std::string& name) const;
    std::string BatchSpelling(const std::string& path);

    TUninstallPorts FPorts;
    bool FLogLoaded = false;
};
