#include "settings/NumberList.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/StrUtils.h"

namespace {

bool Less(const std::string& a, const std::string& b)
{
    return CompareText(a, b) < 0;
}

}  // namespace

int TNumberList::Add(const std::string& text)
{
    auto place = std::lower_bound(FItems.begin(), FItems.end(), text, Less);
    if (place == FItems.end() || CompareText(*place, text) != 0) place = FItems.insert(place, text);
    return static_cast<int>(place - FItems.begin());
}

void TNumberList::Delete(int index)
{
    LW_ASSERT(index >= 0 && index < Count());
    FItems.erase(FItems.begin() + index);
}

void TNumberList::Assign(const std::vector<std::string>& strings)
{
    FItems.clear();
    for (const std::string& text : strings) Add(text);
}

const std::string& TNumberList::Item(int index) const
{
    LW_ASSERT(index >= 0 && index < Count());
    return FItems[static_cast<size_t>(index)];
}

int TNumberList::IndexOf(const std::string& text) const
{
    auto place = std::lower_bound(FItems.begin(), FItems.end(), text, Less);
    if (place == FItems.end() || CompareText(*place, text) != 0) return -1;
    return static_cast<int>(place - FItems.begin());
}

std::string TNumberList::StringsText(const std::vector<std::string>& strings)
{
    std::string text;
    for (const std::string& s : strings) text += s + "\r\n";
    return text;
}

int FindAllowedNumber(const TNumberList& list, const std::string& number)
{
    int index = list.IndexOf(number);
    if (index != -1 || number.empty()) return index;
    return list.IndexOf(number[0] == '0' ? number.substr(1) : "0" + number);
}
