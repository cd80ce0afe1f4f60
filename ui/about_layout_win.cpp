#include "ui/about_layout_win.h"

#include "ui/about_template.h"
#include "ui/geometry_win.h"
#include "ui/window_text_win.h"

namespace {

constexpr int kFittedLines[] = {kAboutNameLineId, kAboutLinkId, kAboutResourcesLineId};

// Widens the line to its text, never narrows it; returns by how much.
LONG FitLine(HWND line) {
    SIZE text{};
    GetWindowTextExtent(line, &text);
    LONG growth = text.cx - GetWindowWidth(line);
    if (growth < 0) growth = 0;
    ResizeWindowBy(line, growth, 0);
    return growth;
}

}  // namespace

void FitAboutLayout(HWND dialog) {
    LONG largest = 0;
    for (int id : kFittedLines) {
        LONG growth = FitLine(GetDlgItem(dialog, id));
        if (growth > largest) largest = growth;
    }
    if (largest <= 0) return;
    ResizeWindowBy(dialog, largest, 0);

    HWND ok = GetDlgItem(dialog, kAboutOkId);
    LONG centred = (GetWindowWidth(dialog) - GetWindowWidth(ok)) / 2;
    POINT offset{};
    GetWindowOrigin(ok, &offset);
    ScreenToWindowPoint(dialog, &offset);
    MoveWindowBy(ok, centred - offset.x, 0);
}
