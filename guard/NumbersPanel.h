#pragma once
// The allowed-number list box and its three buttons. The list is kept sorted the way a sorted
// list box sorts (ASCII letters' case ignored) with at most one selected item; the buttons edit it
// through the number editor. The settings hold the list for good: the window stores it there
// whenever a button has changed it.
#include <string>
#include <vector>

#include "guard/GuardViews.h"

class TNumbersPanel {
public:
    TNumbersPanel(INumbersView& view, IGuardDialogs& dialogs) : FView(view), FDialogs(dialogs) {}

    // Shows these numbers, sorted, with nothing selected.
    void Load(std::vector<std::string> numbers);
    const std::vector<std::string>& Numbers() const { return FNumbers; }
    int Selected() const { return FSelected; }

    void ShowNumbers();
    // Add always; Edit and Delete while an item is selected.
    void UpdateNumberButtons();
    // The user selected the item at that position (-1 or out of range: none).
    void lbNumbersClick(int selected);

    // Each asks (Add, Edit) and changes the list; true when the list changed. The new or edited
    // number is then selected; after a deletion, the item that took its place, else the last.
    // A number that the list already holds changes nothing.
    bool AddNumber();
    bool EditNumber();
    bool DeleteNumber();

private:
    bool HasSelection() const;

    INumbersView& FView;
    IGuardDialogs& FDialogs;
    std::vector<std::string> FNumbers;
    int FSelected = -1;
};
