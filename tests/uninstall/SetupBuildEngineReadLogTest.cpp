// Reading the log into the seven lists.
#include "tests/uninstall/ErrorMessage.h"
#include "tests/uninstall/UninstallFixture.h"

namespace {

class ReadLog : public UninstallFixture {
protected:
    // Loads the log through a package and reads it.
    bool Read(TUninstall& engine, const std::string& sections)
    {
        PutProgram(LogOf(sections));
        return engine.LoadPackage(Program) && engine.ReadLog();
    }
};

using V = std::vector<std::string>;

// Every item as "kind text", list by list in the order the undo takes them.
V Dump(const TInstallerLog& log)
{
    const std::pair<const char*, const TLogStringList*> lists[] = {
            {"reg", &log.Registry},   {"ini", &log.IniFiles}, {"shortcut", &log.ShortCuts},
            {"server", &log.Servers}, {"font", &log.Fonts},   {"file", &log.Files},
            {"dir", &log.Dirs}};
    V items;
    for (auto& list : lists)
        for (int i = 0; i < list.second->Count(); ++i)
            items.push_back(std::string(list.first) + " " + list.second->Text(i));
    return items;
}

TEST_F(ReadLog, SampleLogFillsTheSevenListsInDocumentOrder)
{
    TUninstall engine(Ports);
    ASSERT_TRUE(Read(
            engine,
            "<dirs>\n<dir action=\"add\" directory=\"C:\\App\"/>\n<dir action=\"add\" "
            "directory=\"C:\\App\\Data\"/>\n</dirs>\n"
            "<appname>Edytor &amp; Spółka</appname>\n"
            "<files>\n<file action=\"add\" filename=\"C:\\App\\a.exe\"/>\n<file action=\"remove\" "
            "filename=\"C:\\old.exe\"/>\n"
            "<note action=\"add\" filename=\"C:\\passed-over\"/>\n<file action=\"ADD\" "
            "filename=\"C:\\App\\b.dll\"/>\n</files>\n"
            "<files>\n<file action=\"add\" filename=\"C:\\second-section\"/>\n</files>\n"
            "<registry>\n<reg action=\"add\" key=\"HKLM\\Software\\Vendor\\App\" param=\"Path\" "
            "type=\"str\" value=\"C:\\App\" flags=\"dont_log,shared\" confition=\"x\"/>\n"
            "<reg action=\"Remove\" key=\"nonsense\" type=\"nonsense\"/>\n"
            "<reg action=\"add\" key=\"\\HKEY_CURRENT_USER\\Software\\Vendor\" "
            "type=\"int\"/>\n</registry>\n"
            "<inifiles>\n<ini action=\"add\" filename=\"C:\\Windows\\win.ini\" section=\"App\" "
            "param=\"Key\" value=\"1\" flags=\"\"/>\n</inifiles>\n"
            "<shortcuts>\n<shortcut action=\"add\" name=\"C:\\Menu\\Edytor\"/>\n</shortcuts>\n"
            "<servers>\n<server action=\"add\" filename=\"C:\\App\\srv.dll\"/>\n</servers>\n"
            "<fonts>\n<font action=\"add\" filename=\"C:\\Windows\\Fonts\\e.ttf\"/>\n</fonts>\n"));

    EXPECT_EQ(engine.AppName, "Edytor & Spółka");
    const TRegistryItem& value = *engine.Log.Registry.Items(0);
    const TRegistryItem& key = *engine.Log.Registry.Items(1);
    const TIniFileItem& ini = *engine.Log.IniFiles.Items(0);
    EXPECT_EQ(Dump(engine.Log),
              (V{"reg HKLM\\Software\\Vendor\\App", "reg \\HKEY_CURRENT_USER\\Software\\Vendor",
                 "ini C:\\Windows\\win.ini", "shortcut C:\\Menu\\Edytor", "server C:\\App\\srv.dll",
                 "font C:\\Windows\\Fonts\\e.ttf", "file C:\\App\\a.exe", "file C:\\App\\b.dll",
                 "dir C:\\App", "dir C:\\App\\Data"}));
    EXPECT_EQ(std::make_tuple(value.RootKey, value.KeyName, value.ValueName, value.Flags,
                              value.Logged, value.Condition),
              std::make_tuple(TRootKey::LocalMachine, std::string("\\Software\\Vendor\\App"),
                              std::string("Path"), TFlagSet((1u << sfDontLog) | (1u << sfShared)),
                              false, std::string("x")));
    EXPECT_EQ(std::make_tuple(key.RootKey, key.ValueName, key.RegType, key.Logged),
              std::make_tuple(TRootKey::CurrentUser, std::string(), lrtInteger, true));
    EXPECT_EQ(std::make_tuple(ini.Section, ini.Ident, ini.Logged),
              std::make_tuple(std::string("App"), std::string("Key"), true));

    // Reading again refills rather than appends.
    ASSERT_TRUE(engine.ReadLog());
    EXPECT_EQ(Dump(engine.Log).size(), 10u);
}

TEST_F(ReadLog, RemoveItemsOnlyAndNoAppName)
{
    TUninstall engine(Ports);
    ASSERT_TRUE(
            Read(engine,
                 "<files><file action=\"remove\" filename=\"a\"/></files>"
                 "<registry><reg action=\"remove\" key=\"BAD\" type=\"nonsense\"/></registry>"));
    EXPECT_EQ(engine.AppName, "");
    EXPECT_EQ(Dump(engine.Log), V{});
}

TEST_F(ReadLog, WordsOutsideTheVocabularyStopTheReading)
{
    struct TCase {
        std::string Sections, Message;
    } cases[] = {
            {"<registry><reg action=\"add\" key=\"HKLM\\Software\\X\"/></registry>",
             "RegType  not available!"},
            {"<files><file action=\"delete\" filename=\"a\"/></files>",
             "Action delete not available!"},
            {"<files><file filename=\"a\"/></files>", "Action  not available!"},
            {"<inifiles><ini action=\"add\" filename=\"a\" flags=\"dont_log,bogus\"/></inifiles>",
             "Flag bogus not available!"},
            {"<registry><reg action=\"add\" key=\"HKXX\\Software\" type=\"str\"/></registry>",
             "Unknown registry root of Key HKXX"},
            {"<registry><reg action=\"add\" key=\"\" type=\"str\"/></registry>",
             "Cannot extract registry root from empty Key"},
    };
    for (const TCase& c : cases) {
        TUninstall engine(Ports);
        EXPECT_EQ(ErrorMessage<Exception>([&] { Read(engine, c.Sections); }), c.Message)
                << c.Sections;
    }
}

}  // namespace
