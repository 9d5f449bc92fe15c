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
