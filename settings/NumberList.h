#pragma once
// The allowed telephone numbers: a string list that stays sorted and holds each string once.
// Ordering and look-up use CompareText, which for strings of digits is plain character order
// ("10" sorts before "9"). The list does not check that its strings are digits.
#include <string>
#include <vector>

class TNumberList {
public:
    // Puts text at its sorted place; a text already present is not added again. The result is
    // the text's index either way.
    int Add(const std::string& text);
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // Replaces the contents with the given strings, sorted and without duplicates.
    void Assign(const std::vector<std::string>& strings);

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Item(int index) const;
    const std::string& operator[](int index) const { return Item(index); }
    // Position of text, or -1.
    int IndexOf(const std::string& text) const;
    // The items each followed by a line break, as a string list shows its text.
    std::string Text() const { return StringsText(FItems); }
    const std::vector<std::string>& Strings() const { return FItems; }

    static std::string StringsText(const std::vector<std::string>& strings);

private:
    std::vector<std::string> FItems;
};

// Position in list of an allowed number that matches number, or -1: the number itself, else
// (when it is not empty) the number with one leading "0" dropped, or with "0" put in front when
// it does not begin with one. Only one zero is ever added or dropped.
int FindAllowedNumber(const TNumberList& list, const std::string& number);
