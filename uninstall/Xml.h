#pragma once
// A small read-only XML reader for the uninstall log: a whole text becomes a tree of elements
// with attributes and text, walked with a cursor over the children of one element at a time.
// It reads what the installer library writes and no more: elements, attributes in double
// quotes, the five named entities; processing instructions and comments are skipped. Its
// quirks (the blank as the only separator in a start tag, an outer element that ends at the
// first closing tag of its name, ...) are kept, because logs already written rely on reading
// exactly as before.
//
// Positions in the text functions and in the parser are 1-based and 0 means "not found".
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Errors.h"

class IMessageBox;

// Parse and navigation errors of the reader.
class EXMLException : public Exception {
public:
    using Exception::Exception;
};

// Deepest element nesting the parser accepts (the document element is level 1). A log is
// three levels deep; the bound keeps a hostile document from exhausting the stack.
constexpr int XmlMaxDepth = 256;

// Position of the first occurrence of sub in s starting at or after from; 0 when none.
size_t PosFrom(const std::string& sub, const std::string& s, size_t from);
// First position at or after from whose character is one of chars; 0 when none.
size_t PosOfAnyFrom(const std::string& chars, const std::string& s, size_t from);
// First position at or after from whose character is not one of chars; 0 when none.
size_t PosOfNoneFrom(const std::string& chars, const std::string& s, size_t from);
// Replaces the named entities, each pass over the whole result of the one before, in this
// order: &lt; &amp; &gt;, then (withQuotes) &apos; &quot;. Logs already written are read with
// this order, so it stays although it decodes "&amp;gt;" to ">".
std::string DecodeEntities(const std::string& text, bool withQuotes);

class TAttribute {
public:
    TAttribute(const std::string& name, const std::string& value) : Name(name), Value(value) {}
    std::string Name;
    std::string Value;
};

// Owning, ordered list of attributes.
class TTagAttribs {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr outside 0..Count-1.
    TAttribute* Items(int index) const;
    // Value of the first attribute of that name (case-sensitive); "" when there is none.
    std::string ValueOf(const std::string& name) const;
    // Replaces the value of the first attribute of that name, or appends a new attribute.
    void SetValue(const std::string& name, const std::string& value);
    // Appends and takes the attribute. Adding an object the list holds already is an
    // Exception; the list keeps owning it.
    TAttribute* Add(std::unique_ptr<TAttribute> attribute);
    void Clear();

private:
    std::vector<std::unique_ptr<TAttribute>> FItems;
    // Index of the first attribute of each name, so that an element with very many attributes
    // does not cost a scan per attribute.
    std::unordered_map<std::string, size_t> FFirstOfName;
};

class TTag;

// Owning, ordered list of elements.
class TTagList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr outside 0..Count-1.
    TTag* Items(int index) const;
    TTag* First() const { return Items(0); }
    // By identity; -1 when absent.
    int IndexOf(const TTag* tag) const;
    // Appends and takes the element. Adding an object the list holds already is an Exception;
    // the list keeps owning it.
    TTag* Add(std::unique_ptr<TTag> tag);
    void Clear();

private:
    friend class TTag;
    std::vector<std::unique_ptr<TTag>> FItems;
    // Position of each element, so that the identity check of Add and the sibling walk of a
    // large section stay linear.
    std::unordered_map<const TTag*, size_t> FIndexOf;
};

// One element.
class TTag {
public:
    TTag(TTag* parent, const std::string& text, const std::string& name);
    ~TTag();
    TTag(const TTag&) = delete;
    TTag& operator=(const TTag&) = delete;

    TTag* Parent() const { return FParent; }
    const std::string& Name() const { return FName; }
    // Decoded content of an element without child elements; "" otherwise.
    const std::string& Text() const { return FText; }
    TTagList& Children() { return FChildren; }
    const TTagList& Children() const { return FChildren; }
    TTagAttribs& Attributes() { return FAttributes; }
    const TTagAttribs& Attributes() const { return FAttributes; }

    // The element after this one among its parent's children; nullptr for the last.
    TTag* NextSibling() const;
    // Appends the elements found in text from position from on (and starting before limit)
    // to Children. Raises EXMLException on malformed text; what was read so far stays.
    // An element's closing tag is looked for without regard to its parent's, so in a
    // malformed text a child can reach past its parent's end, and the text beyond would then
    // be read again after the parent; nested, such re-reading turns a few kilobytes into
    // millions of elements. So every element must start after all elements read before it
    // ("Invalid XML file, overlapping elements"); a well-formed text always does.
    void ParseChildren(const std::string& text, size_t from, size_t limit);

private:
    struct TParseState;
    void ParseChildrenAt(const std::string& text, size_t from, size_t limit, int depth,
                         TParseState& state);
    int Depth() const;

    TTag* FParent;
    std::string FName;
    std::string FText;
    TTagList FChildren;
    TTagAttribs FAttributes;
};

// The document and its cursor: Level is the element whose children are walked, Selected the
// current child of Level.
class TXML {
public:
    // The message box shows the one error the reader reports itself (see LoadFromBytes).
    explicit TXML(IMessageBox& messages);
    ~TXML();
    TXML(const TXML&) = delete;
    TXML& operator=(const TXML&) = delete;

    // Parses the bytes of a log as it was written. Line breaks become CR LF (the text ends with
    // one) and a NUL byte ends the text; the bytes are in the system's ANSI code page and become
    // UTF-8. Every error is reported in a message box, never raised: the result is then false
    // and the cursor has no level.
    bool LoadFromBytes(const std::string& bytes);
    // Parses text into a fresh tree and returns the document element; the cursor stands at
    // the root level with the document element selected. Raises EXMLException; after an error
    // the tree holds what was read and the cursor has no level.
    TTag* ParseText(const std::string& text);

    TTag* Root() const { return FRoot.get(); }
    TTag* Level() const { return FLevel; }
    TTag* Selected() const { return FSelected; }
    bool Matched() const { return FMatched; }

    // The operations below need a level: calling them after a failed load is a programming
    // error (EAssertionFailed).
    void CheckSelected() const;
    TTag* EnterSelected();
    void LeaveLevel();
    void LeaveToRoot();
    void SelectFirst();
    // Selects the next child of Level named name (case-sensitive); repeated calls visit every
    // such child in document order.
    bool FindNext(const std::string& name);
    std::string SelectedText() const;
    std::string SelectedAttribute(const std::string& name) const;

private:
    void DestroyTree();

    IMessageBox& FMessages;
    std::unique_ptr<TTag> FRoot;
    TTag* FLevel = nullptr;
    TTag* FSelected = nullptr;
    bool FMatched = false;
};
