#include "uninstall/Xml.h"

#include "common/Format.h"
#include "platform/AnsiText.h"
#include "platform/MessageBox.h"

namespace {

// Character at 1-based position i; the callers have checked the range.
char At(const std::string& s, size_t i)
{
    return s[i - 1];
}

// s[i..j], 1-based and inclusive; empty when j < i.
std::string Sub(const std::string& s, size_t i, size_t j)
{
    if (j < i) return std::string();
    return s.substr(i - 1, j - i + 1);
}

// Knuth-Morris-Pratt search from 0-based start. std::string::find compares the whole needle at
// every candidate, which a long, self-similar closing tag turns into quadratic time.
size_t FindLinear(const std::string& sub, const std::string& s, size_t start)
{
    const size_t m = sub.size();
    std::vector<size_t> border(m, 0);
    for (size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && sub[i] != sub[k]) k = border[k - 1];
        if (sub[i] == sub[k]) ++k;
        border[i] = k;
    }
    for (size_t i = start, k = 0; i < s.size(); ++i) {
        while (k > 0 && s[i] != sub[k]) k = border[k - 1];
        if (s[i] == sub[k]) ++k;
        if (k == m) return i + 1 - m;
    }
    return std::string::npos;
}

// Needles up to this length are searched with std::string::find, which is fast and costs at
// most this factor over a linear scan.
constexpr size_t ShortNeedle = 16;

// Replaces every occurrence of pattern, left to right and without overlap, in one linear pass.
std::string ReplaceAll(const std::string& text, const std::string& pattern,
                       const std::string& replacement)
{
    size_t at = text.find(pattern);
    if (at == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    size_t done = 0;
    while (at != std::string::npos) {
        out.append(text, done, at - done);
        out += replacement;
        done = at + pattern.size();
        at = text.find(pattern, done);
    }
    out.append(text, done, std::string::npos);
    return out;
}

// Grows a list geometrically before an element is added, so that the push that follows cannot
// fail and the list and its index never disagree.
template <typename T>
void MakeRoomForOne(std::vector<T>& items)
{
    if (items.size() == items.capacity()) items.reserve(items.size() * 2 + 4);
}

const char* const ReadErrorText = "Błąd odczytu pliku XML ze strumienia";
const char* const ReadErrorCaption = "Błąd";

// Ends the text at a NUL byte and ends every line (at CR, LF or CR LF) with CR LF, the last
// line included: the parser sees one kind of line break only.
std::string NormaliseLines(const std::string& bytes)
{
    const size_t end = bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0');
    std::string out;
    out.reserve(end + end / 16 + 2);
    size_t lineStart = 0;
    for (size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        out.append(bytes, lineStart, i - lineStart);
        out += "\r\n";
        if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ++i;
        lineStart = i + 1;
    }
    if (lineStart < end) {
        out.append(bytes, lineStart, end - lineStart);
        out += "\r\n";
    }
    return out;
}

}  // namespace

size_t PosFrom(const std::string& sub, const std::string& s, size_t from)
{
    LW_ASSERT(from >= 1);
    if (sub.empty() || from > s.size()) return 0;
    const size_t at =
            sub.size() <= ShortNeedle ? s.find(sub, from - 1) : FindLinear(sub, s, from - 1);
    return at == std::string::npos ? 0 : at + 1;
}

size_t PosOfAnyFrom(const std::string& chars, const std::string& s, size_t from)
{
    LW_ASSERT(from >= 1);
    if (from > s.size()) return 0;
    const size_t at = s.find_first_of(chars, from - 1);
    return at == std::string::npos ? 0 : at + 1;
}

size_t PosOfNoneFrom(const std::string& chars, const std::string& s, size_t from)
{
    LW_ASSERT(from >= 1);
    if (from > s.size()) return 0;
    const size_t at = s.find_first_not_of(chars, from - 1);
    return at == std::string::npos ? 0 : at + 1;
}

std::string DecodeEntities(const std::string& text, bool withQuotes)
{
    std::string out = ReplaceAll(text, "&lt;", "<");
    out = ReplaceAll(out, "&amp;", "&");
    out = ReplaceAll(out, "&gt;", ">");
    if (withQuotes) {
        out = ReplaceAll(out, "&apos;", "'");
        out = ReplaceAll(out, "&quot;", "\"");
    }
    return out;
}

// ---- TTagAttribs ----

TAttribute* TTagAttribs::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

std::string TTagAttribs::ValueOf(const std::string& name) const
{
    auto it = FFirstOfName.find(name);
    return it == FFirstOfName.end() ? std::string() : FItems[it->second]->Value;
}

void TTagAttribs::SetValue(const std::string& name, const std::string& value)
{
    auto it = FFirstOfName.find(name);
    if (it != FFirstOfName.end()) {
        FItems[it->second]->Value = value;
        return;
    }
    MakeRoomForOne(FItems);
    FFirstOfName.emplace(name, FItems.size());
    FItems.push_back(std::make_unique<TAttribute>(name, value));
}

TAttribute* TTagAttribs::Add(std::unique_ptr<TAttribute> attribute)
{
    LW_ASSERT(attribute != nullptr);
    for (const auto& item : FItems) {
        if (item.get() == attribute.get()) {
            attribute.release();  // the list owns it already
            throw Exception("[TTagAttribs.Add] Tag exists!");
        }
    }
    MakeRoomForOne(FItems);
    FFirstOfName.emplace(attribute->Name, FItems.size());
    FItems.push_back(std::move(attribute));
    return FItems.back().get();
}

void TTagAttribs::Clear()
{
    FFirstOfName.clear();
    FItems.clear();
}

// ---- TTagList ----

TTag* TTagList::Items(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(index)].get();
}

int TTagList::IndexOf(const TTag* tag) const
{
    auto it = FIndexOf.find(tag);
    return it == FIndexOf.end() ? -1 : static_cast<int>(it->second);
}

TTag* TTagList::Add(std::unique_ptr<TTag> tag)
{
    LW_ASSERT(tag != nullptr);
    if (FIndexOf.count(tag.get()) != 0) {
        tag.release();  // the list owns it already
        throw Exception("[TTagList.Add] Tag exists!");
    }
    MakeRoomForOne(FItems);
    FIndexOf.emplace(tag.get(), FItems.size());
    FItems.push_back(std::move(tag));
    return FItems.back().get();
}

void TTagList::Clear()
{
    FIndexOf.clear();
    FItems.clear();
}

// ---- TTag ----

TTag::TTag(TTag* parent, const std::string& text, const std::string& name)
    : FParent(parent), FName(name), FText(text)
{
}

TTag::~TTag()
{
    // Takes the subtree apart level by level instead of letting each child destroy its own
    // children: a deep tree must not cost a stack frame per level.
    std::vector<std::unique_ptr<TTag>> pending = std::move(FChildren.FItems);
    FChildren.Clear();
    while (!pending.empty()) {
        std::unique_ptr<TTag> tag = std::move(pending.back());
        pending.pop_back();
        for (auto& child : tag->FChildren.FItems) pending.push_back(std::move(child));
        tag->FChildren.Clear();
    }
}

TTag* TTag::NextSibling() const
{
    LW_ASSERT(FParent != nullptr);
    const int index = FParent->FChildren.IndexOf(this);
    LW_ASSERT(index >= 0);
    return FParent->FChildren.Items(index + 1);
}

int TTag::Depth() const
{
    int depth = 0;
    for (const TTag* tag = FParent; tag != nullptr; tag = tag->FParent) ++depth;
    return depth;
}

struct TTag::TParseState {
    // Start of the element read last; every element must start after it.
    size_t LastStart = 0;
};

void TTag::ParseChildren(const std::string& text, size_t from, size_t limit)
{
    LW_ASSERT(from >= 1);
    TParseState state;
    ParseChildrenAt(text, from, limit, Depth(), state);
}

// depth is this element's distance from the root; the document element is at depth 1.
void TTag::ParseChildrenAt(const std::string& text, size_t from, size_t limit, int depth,
                           TParseState& state)
{
    for (;;) {
        const size_t p = PosFrom("<", text, from);
        if (p == 0) return;
        if (text.size() < p + 3) throw EXMLException("Too few characters after <");
        if (p + 3 > limit) return;

        if (At(text, p + 1) == '?') {
            from = PosFrom("?>", text, p + 1);
            if (from == 0) throw EXMLException("Missing ?> tag");
            continue;
        }
        if (Sub(text, p + 1, p + 3) == "!--") {
            const size_t q = PosFrom("-->", text, p + 1);
            if (q == 0) throw EXMLException("Missing --> tag");
            from = q + 3;
            continue;
        }

        if (p <= state.LastStart) throw EXMLException("Invalid XML file, overlapping elements");
        state.LastStart = p;

        size_t e = PosOfAnyFrom(" >", text, p + 1);
        if (e == 0) throw EXMLException("Missing > char");
        std::string name, attrs;
        bool empty = false;
        if (At(text, e) == ' ') {
            name = Sub(text, p + 1, e - 1);
            const size_t g = PosFrom(">", text, e + 1);
            if (g == 0) throw EXMLException("Missing >");
            empty = At(text, g - 1) == '/';
            attrs = Sub(text, e + 1, empty ? g - 2 : g - 1);
            e = g;
        } else {
            empty = At(text, e - 1) == '/';
            name = Sub(text, p + 1, empty ? e - 2 : e - 1);
        }
        from = e + 1;

        if (depth + 1 > XmlMaxDepth)
            throw EXMLException(Format("Elements nested deeper than %d levels", XmlMaxDepth));
        TTag* tag = FChildren.Add(std::make_unique<TTag>(this, std::string(), name));

        for (size_t i = 1;;) {
            const size_t q = PosFrom("=", attrs, i);
            if (q == 0) break;
            const size_t s = PosOfNoneFrom(" ", attrs, i);
            LW_ASSERT(s != 0 && s <= q);
            // The character after "=" is taken for the opening quote without looking at it.
            const size_t v = PosFrom("\"", attrs, q + 2);
            if (v == 0) throw EXMLException("Missing \"");
            tag->FAttributes.SetValue(Sub(attrs, s, q - 1),
                                      DecodeEntities(Sub(attrs, q + 2, v - 1), true));
            i = v + 1;
        }
        if (empty) continue;

        const std::string close = "</" + name + ">";
        const size_t c = PosFrom(close, text, from);
        if (c == 0) throw EXMLException("Missing \"" + close + "\"");
        const size_t d = PosFrom("<", text, from);
        if (d != 0 && d < c)
            tag->ParseChildrenAt(text, from, c, depth + 1, state);
        else
            tag->FText = DecodeEntities(Sub(text, from, c - 1), false);
        from = c + close.size();
    }
}

// ---- TXML ----

TXML::TXML(IMessageBox& messages)
    : FMessages(messages), FRoot(std::make_unique<TTag>(nullptr, std::string(), "BOGUSROOT"))
{
    FLevel = FRoot.get();
}

TXML::~TXML() = default;

void TXML::DestroyTree()
{
    FLevel = nullptr;
    FSelected = nullptr;
    FMatched = false;
    FRoot.reset();
}

bool TXML::LoadFromBytes(const std::string& bytes)
{
    DestroyTree();
    try {
        ParseText(AnsiToUtf8(NormaliseLines(bytes)));
        return true;
    } catch (const std::exception&) {
        // The log is unusable whatever went wrong; the user learns it from one box and the
        // caller from the result.
        FLevel = nullptr;
        FSelected = nullptr;
        FMessages.Show(ReadErrorText, ReadErrorCaption, TMsgButtons::Ok, TMsgIcon::Error);
        return false;
    }
}

TTag* TXML::ParseText(const std::string& text)
{
    DestroyTree();
    FRoot = std::make_unique<TTag>(nullptr, std::string(), "BOGUSROOT");
    FRoot->ParseChildren(text, 1, text.size());
    if (FRoot->Children().Count() != 1)
        throw EXMLException("Invalid XML file, missing or multiple root tags");
    FLevel = FRoot.get();
    FSelected = FRoot->Children().First();
    return FSelected;
}

void TXML::CheckSelected() const
{
    LW_ASSERT(FLevel != nullptr);
    if (FSelected == nullptr) throw EXMLException("No child selected");
}

TTag* TXML::EnterSelected()
{
    CheckSelected();
    FLevel = FSelected;
    FSelected = FLevel->Children().First();
    FMatched = false;
    return FSelected;
}

void TXML::LeaveLevel()
{
    LW_ASSERT(FLevel != nullptr);
    if (FLevel == FRoot.get()) throw EXMLException("Already at lowest level");
    FSelected = FLevel;
    FLevel = FLevel->Parent();
    FMatched = true;
}

void TXML::LeaveToRoot()
{
    while (FLevel != nullptr && FLevel != FRoot.get()) LeaveLevel();
}

void TXML::SelectFirst()
{
    LW_ASSERT(FLevel != nullptr);
    FMatched = false;
    FSelected = FLevel->Children().First();
}

bool TXML::FindNext(const std::string& name)
{
    LW_ASSERT(FLevel != nullptr);
    if (FMatched && FSelected != nullptr) FSelected = FSelected->NextSibling();
    while (FSelected != nullptr) {
        if (FSelected->Name() == name) {
            FMatched = true;
            return true;
        }
        FSelected = FSelected->NextSibling();
    }
    return false;
}

std::string TXML::SelectedText() const
{
    CheckSelected();
    return FSelected->Text();
}

std::string TXML::SelectedAttribute(const std::string& name) const
{
    CheckSelected();
    return FSelected->Attributes().ValueOf(name);
}
