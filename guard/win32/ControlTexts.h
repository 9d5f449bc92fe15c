#pragma once
// The guard's window tables hold no texts, since those are in the guard's language: once a
// window's controls are made, each gets the text that its table's id names.
#include <windows.h>

#include <vector>

#include "guard/Layout.h"
#include "platform/win32/WinText.h"

inline void SetControlTexts(const TWindowLayout& layout, const std::vector<HWND>& controls,
                            TLanguage language)
{
    for (int i = 0; i < layout.Count; ++i) {
        TGuardText text;
        const size_t id = static_cast<size_t>(layout.Controls[i].Id);
        if (id < controls.size() && GuardControlText(layout.Controls[i].Id, text))
            SetWindowTextU(controls[id], GuardText(text, language));
    }
}
