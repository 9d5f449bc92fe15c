#include "installer/InstallLog.h"

#include "uninstall/LogWords.h"

std::string XmlEscaped(const std::string& text, bool inAttribute)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += inAttribute ? "&quot;" : "\""; break;
        case '\'': out += inAttribute ? "&apos;" : "'"; break;
        default: out += c;
        }
    }
    return out;
}

namespace {

// The document is appended to one string, a piece at a time: the setup is downloaded over a
// modem, and temporaries for every tag would cost it more code than the log is long.
void AddAttr(std::string& xml, const char* name, const std::string& value)
{
    xml += ' ';
    xml += name;
    xml += "=\"";
    xml += XmlEscaped(value);
    xml += '"';
}

void OpenSection(std::string& xml, const char* element)
{
    xml += '<';
    xml += element;
    xml += ">\r\n";
}

void CloseSection(std::string& xml, const char* element)
{
    xml += "</";
    xml += element;
    xml += ">\r\n";
}

// An item begins with its element; its attributes follow, and EndAddedItem ends it.
void BeginItem(std::string& xml, const char* element)
{
    xml += '<';
    xml += element;
}

// Every item the setup logs is one it added, which the uninstaller undoes.
void EndAddedItem(std::string& xml)
{
    AddAttr(xml, LogWords::Action, LogWords::Add);
    xml += "/>\r\n";
}

std::string XmlUnescaped(const std::string& text)
{
    static const char* const entities[][2] = {
            {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    std::string out;
    for (size_t at = 0; at < text.size();) {
        bool decoded = false;
        for (const auto& entity : entities)
            if (text.compare(at, std::char_traits<char>::length(entity[0]), entity[0]) == 0) {
                out += entity[1];
                at += std::char_traits<char>::length(entity[0]);
                decoded = true;
                break;
            }
        if (!decoded) out += text[at++];
    }
    return out;
}

}  // namespace

std::string InstallLogXml(const TInstallLog& log)
{
    using namespace LogWords;
    std::string xml = "<?xml version=\"1.0\"?>\r\n";
    OpenSection(xml, Root);
    xml += '<';
    xml += AppName;
    xml += '>';
    xml += XmlEscaped(log.AppName, false);
    CloseSection(xml, AppName);
    OpenSection(xml, Files);
    for (const std::string& file : log.Files) {
        BeginItem(xml, File);
        AddAttr(xml, FileName, file);
        EndAddedItem(xml);
    }
    CloseSection(xml, Files);
    OpenSection(xml, Registry);
    // Every item names a valid type, although only the key and the value's name are undone:
    // the uninstaller refuses a log whose type it does not know.
    for (const TLogRegistryItem& item : log.Registry) {
        BeginItem(xml, Reg);
        AddAttr(xml, Key, item.Key);
        AddAttr(xml, Param, item.Param);
        AddAttr(xml, Type, String);
        AddAttr(xml, Value, "");
        EndAddedItem(xml);
    }
    CloseSection(xml, Registry);
    OpenSection(xml, Shortcuts);
    for (const std::string& name : log.Shortcuts) {
        BeginItem(xml, Shortcut);
        AddAttr(xml, Name, name);
        EndAddedItem(xml);
    }
    CloseSection(xml, Shortcuts);
    OpenSection(xml, Dirs);
    for (const std::string& dir : log.Dirs) {
        BeginItem(xml, Dir);
        AddAttr(xml, Directory, dir);
        EndAddedItem(xml);
    }
    CloseSection(xml, Dirs);
    CloseSection(xml, Root);
    return xml;
}

bool ReadInstallLogXml(const std::string& xml, TInstallLog& log)
{
    using namespace LogWords;
    const std::string open = std::string("<") + AppName + ">";
    const std::string close = std::string("</") + AppName + ">";
    // As InstallLogXml writes a folder: its one attribute first.
    const std::string dir = std::string("<") + Dir + " " + Directory + "=\"";
    const size_t name = xml.find(open);
    const size_t end = name == std::string::npos ? name : xml.find(close, name);
    if (end == std::string::npos) return false;
    log.AppName = XmlUnescaped(xml.substr(name + open.size(), end - name - open.size()));
    for (size_t at = xml.find(dir); at != std::string::npos; at = xml.find(dir, at)) {
        at += dir.size();
        const size_t quote = xml.find('"', at);
        if (quote == std::string::npos) return false;
        log.Dirs.push_back(XmlUnescaped(xml.substr(at, quote - at)));
    }
    return !log.AppName.empty();
}
