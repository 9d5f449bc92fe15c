#include "common/WindowLayout.h"

#include "common/Errors.h"

const TControlLayout& FindControl(const TWindowLayout& layout, int id)
{
    for (int i = 0; i < layout.Count; ++i)
        if (layout.Controls[i].Id == id) return layout.Controls[i];
    AssertionFailed("control in layout", "WindowLayout", __LINE__);
}

const TControlLayout& FindMarked(const TWindowLayout& layout, TControlStyle mark)
{
    for (int i = 0; i < layout.Count; ++i)
        if (layout.Controls[i].Style & mark) return layout.Controls[i];
    AssertionFailed("marked control in layout", "WindowLayout", __LINE__);
}

int ScaleForDpi(int pixels, int dpi)
{
    const int64_t scaled = static_cast<int64_t>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}
