#include "guard/NumbersPanel.h"

#include <algorithm>

#include "common/StrUtils.h"

namespace {

bool SortsBefore(const std::string& a, const std::string& b)
{
    return CompareText(a, b) < 0;
}

bool ListHolds(const std::vector<std::string>& items, const std::string& text)
{
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return CompareText(item, text) == 0; });
}

// Where a sorted list box puts a new item.
int SortedInsert(std::vector<std::string>& items, const std::string& text)
{
    auto at = std::upper_bound(items.begin(), items.end(), text, SortsBefore);
    const auto index = at - items.begin();
    items.insert(at, text);
    return static_cast<int>(index);
}

}  // namespace

void TNumbersPanel::Load(std::vector<std::string> numbers)
{
    FNumbers = std::move(numbers);
    std::sort(FNumbers.begin(), FNumbers.end(), SortsBefore);
    FSelected = -1;
    ShowNumbers();
}

void TNumbersPanel::ShowNumbers()
{
    FView.SetNumbers(FNumbers, FSelected);
}

bool TNumbersPanel::HasSelection() const
{
    return FSelected >= 0 && FSelected < static_cast<int>(FNumbers.size());
}

void TNumbersPanel::UpdateNumberButtons()
{
    FView.SetButtonEnabled(TNumberButton::Add, true);
    FView.SetButtonEnabled(TNumberButton::Edit, HasSelection());
    FView.SetButtonEnabled(TNumberButton::Delete, HasSelection());
}

void TNumbersPanel::lbNumbersClick(int selected)
{
    FSelected = selected >= 0 && selected < static_cast<int>(FNumbers.size()) ? selected : -1;
    UpdateNumberButtons();
}

bool TNumbersPanel::AddNumber()
{
    std::string number;
    if (!FDialogs.EditNumber(number)) return false;
    if (ListHolds(FNumbers, number)) return false;
    FSelected = SortedInsert(FNumbers, number);
    ShowNumbers();
    return true;
}

bool TNumbersPanel::EditNumber()
{
    if (!HasSelection()) return false;
    std::string number = FNumbers[static_cast<size_t>(FSelected)];
    if (!FDialogs.EditNumber(number)) return false;
    // The dialog is modal, but the list may have been reloaded meanwhile.
    if (!HasSelection()) return false;
    if (ListHolds(FNumbers, number)) return false;
    FNumbers.erase(FNumbers.begin() + FSelected);
    FSelected = SortedInsert(FNumbers, number);
    ShowNumbers();
    return true;
}

bool TNumbersPanel::DeleteNumber()
{
    if (!HasSelection()) return false;
    const int p = FSelected;
    FNumbers.erase(FNumbers.begin() + p);
    if (p < static_cast<int>(FNumbers.size()))
        FSelected = p;
    else
        FSelected = p > 0 ? p - 1 : -1;
    ShowNumbers();
    return true;
}
