#pragma once
// The element and attribute names of the uninstall log. The setup writes its log in these
// words and the uninstaller looks for them; a name spelled differently on one side would make
// the uninstaller pass the item over without a word. ConfigConst reads the values of "action"
// and "type" in the words below, and the flag names in its own table.
namespace LogWords {

// The document element the setup writes; the uninstaller takes any.
inline constexpr char Root[] = "uninstall";
// A section of its own whose text is the application's name.
inline constexpr char AppName[] = "appname";

// The sections and the element of their items.
inline constexpr char Files[] = "files";
inline constexpr char File[] = "file";
inline constexpr char Registry[] = "registry";
inline constexpr char Reg[] = "reg";
inline constexpr char IniFiles[] = "inifiles";
inline constexpr char Ini[] = "ini";
inline constexpr char Shortcuts[] = "shortcuts";
inline constexpr char Shortcut[] = "shortcut";
inline constexpr char Servers[] = "servers";
inline constexpr char Server[] = "server";
inline constexpr char Fonts[] = "fonts";
inline constexpr char Font[] = "font";
inline constexpr char Dirs[] = "dirs";
inline constexpr char Dir[] = "dir";

// The attributes of the items.
inline constexpr char Action[] = "action";
inline constexpr char FileName[] = "filename";
inline constexpr char Directory[] = "directory";
inline constexpr char Key[] = "key";
inline constexpr char Param[] = "param";
inline constexpr char Type[] = "type";
inline constexpr char Value[] = "value";
inline constexpr char Flags[] = "flags";
// Spelled so in every log ever written; the correct spelling would be another attribute.
inline constexpr char Condition[] = "confition";
inline constexpr char Section[] = "section";
inline constexpr char Name[] = "name";

// The values of "action", in the order of TSetupAction.
inline constexpr char Add[] = "add";
inline constexpr char Remove[] = "remove";
// The values of "type", in the order of TLogRegType.
inline constexpr char String[] = "str";
inline constexpr char MultiString[] = "mstr";
inline constexpr char Integer[] = "int";
inline constexpr char Binary[] = "bin";

}  // namespace LogWords
