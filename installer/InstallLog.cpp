#include "installer/InstallLog.h"

#include "uninstall/ConfigConst.h"
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

std::string Attr(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + XmlEscaped(value) + "\"";
}

std::string StartTag(const char* element)
{
    return std::string("<") + element + ">";
}

std::string EndTag(const char* element)
{
    return std::string("</") + element + ">";
}

// An element that holds others, each on a line of its own.
std::string Block(const char* element, const std::string& lines)
{
    return StartTag(element) + "\r\n" + lines + EndTag(element) + "\r\n";
}

// One item the uninstaller undoes: everything the setup logs it added.
std::string AddedItem(const char* element, const std::string& attributes)
{
    return std::string("<") + element + attributes +
           Attr(LogWords::Action, SetupActionNames[saAdd]) + "/>\r\n";
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
    std::string files, registry, shortcuts, dirs;
    for (const std::string& file : log.Files) files += AddedItem(File, Attr(FileName, file));
    // Every item names a valid type, although only the key and the value's name are undone:
    // the uninstaller refuses a log whose type it does not know.
    for (const TLogRegistryItem& item : log.Registry)
        registry += AddedItem(Reg, Attr(Key, item.Key) + Attr(Param, item.Param) +
                                           Attr(Type, LogRegTypeNames[lrtString]) +
                                           Attr(Value, ""));
    for (const std::string& name : log.Shortcuts) shortcuts += AddedItem(Shortcut, Attr(Name, name));
    for (const std::string& dir : log.Dirs) dirs += AddedItem(Dir, Attr(Directory, dir));
    const std::string appName =
            StartTag(AppName) + XmlEscaped(log.AppName, false) + EndTag(AppName) + "\r\n";
    return "<?xml version=\"1.0\"?>\r\n" +
           Block(Root, appName + Block(Files, files) + Block(Registry, registry) +
                               Block(Shortcuts, shortcuts) + Block(Dirs, dirs));
}

bool ReadInstallLogXml(const std::string& xml, TInstallLog& log)
{
    using namespace LogWords;
    const std::string open = StartTag(AppName), close = EndTag(AppName);
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
