#pragma once
// The uninstall log of one installation: what the setup added, in the words the uninstaller
// reads. Every item is an "add"; the uninstaller undoes each list from its last item to its
// first, so the order here is the order of creation.
#include <string>
#include <vector>

struct TLogRegistryItem {
    std::string Key;    // root-qualified, "HKCU\Software\..."
    std::string Param;  // the value's name; "" for the whole key with everything below it
};

struct TInstallLog {
    std::string AppName;
    std::vector<std::string> Files;
    std::vector<TLogRegistryItem> Registry;
    std::vector<std::string> Shortcuts;  // shortcut files without their ".lnk"
    std::vector<std::string> Dirs;       // removed only when empty, the last one first
};

// The characters XML reserves, written as entities: all five in an attribute, "&", "<" and ">"
// in an element's text, where the uninstaller's reader decodes no others.
std::string XmlEscaped(const std::string& text, bool inAttribute = true);
// The log as an XML document, one element per line with its attributes separated by single
// blanks. Texts are copied as bytes: the caller converts them to the code page the
// uninstaller reads.
std::string InstallLogXml(const TInstallLog& log);
// The application's name and the folders of a log that InstallLogXml wrote (an earlier
// installation's); false when the text names no application.
bool ReadInstallLogXml(const std::string& xml, TInstallLog& log);
