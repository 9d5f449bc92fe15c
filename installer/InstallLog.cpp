#include "installer/InstallLog.h"

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
    std::string xml = "<?xml version=\"1.0\"?>\r\n<uninstall>\r\n";
    xml += "<appname>" + XmlEscaped(log.AppName, false) + "</appname>\r\n<files>\r\n";
    for (const std::string& file : log.Files)
        xml += "<file" + Attr("filename", file) + Attr("action", "add") + "/>\r\n";
    xml += "</files>\r\n<registry>\r\n";
    // Every item names a valid type, although only the key and the value's name are undone:
    // the uninstaller refuses a log whose type it does not know.
    for (const TLogRegistryItem& item : log.Registry)
        xml += "<reg" + Attr("key", item.Key) + Attr("param", item.Param) + Attr("type", "str") +
               Attr("value", "") + Attr("action", "add") + "/>\r\n";
    xml += "</registry>\r\n<shortcuts>\r\n";
    for (const std::string& name : log.Shortcuts)
        xml += "<shortcut" + Attr("name", name) + Attr("action", "add") + "/>\r\n";
    xml += "</shortcuts>\r\n<dirs>\r\n";
    for (const std::string& dir : log.Dirs)
        xml += "<dir" + Attr("directory", dir) + Attr("action", "add") + "/>\r\n";
    xml += "</dirs>\r\n</uninstall>\r\n";
    return xml;
}

bool ReadInstallLogXml(const std::string& xml, TInstallLog& log)
{
    const std::string open = "<appname>", dir = "<dir directory=\"";
    const size_t name = xml.find(open);
    const size_t end = name == std::string::npos ? name : xml.find("</appname>", name);
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
