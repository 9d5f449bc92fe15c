// Fuzz target of the XML reader: any bytes, as a log's bytes and as a text, must give a tree
// or an EXMLException, never a crash, an endless loop or a read out of bounds. A parsed tree is
// walked the way the log reader walks it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/MessageBox.h"
#include "support/FakeMessageBox.h"
#include "uninstall/Xml.h"

namespace {

// Visits every element below the cursor's level with the cursor operations, depth first.
// The depth is bounded by the parser, so the recursion is too.
void Walk(TXML& xml, size_t& visited)
{
    xml.SelectFirst();
    for (TTag* next = xml.Selected(); next != nullptr; next = xml.Selected()->NextSibling()) {
        if (!xml.FindNext(next->Name())) break;
        ++visited;
        (void)xml.SelectedText();
        const TTagAttribs& attributes = xml.Selected()->Attributes();
        for (int i = 0; i < attributes.Count(); ++i)
            (void)xml.SelectedAttribute(attributes.Items(i)->Name);
        if (xml.EnterSelected() != nullptr) Walk(xml, visited);
        xml.LeaveLevel();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TFakeMessageBox box;

    TXML xml(box);
    if (xml.LoadFromBytes(bytes)) {
        size_t visited = 0;
        xml.LeaveToRoot();
        Walk(xml, visited);
    }

    try {
        xml.ParseText(bytes);
    } catch (const EXMLException&) {
    }
    (void)DecodeEntities(bytes, true);
    return 0;
}
