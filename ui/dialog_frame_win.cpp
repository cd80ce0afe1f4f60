#include "ui/dialog_frame_win.h"

#include "ui/app_window_win.h"
#include "ui/geometry_win.h"

void StartDialogFrame(DialogFrame* frame, HWND dialog, std::int32_t width, std::int32_t height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    SetWindowIcon(dialog, ICON_BIG, GetExecutableIcon(instance, 0));
    SetWindowIcon(dialog, ICON_SMALL, GetExecutableIcon(instance, 1));
    RECT client{};
    GetClientRect(dialog, &client);
    frame->lastClient = SIZE{client.right, client.bottom};
    frame->minimumTrack = SIZE{GetWindowWidth(dialog), GetWindowHeight(dialog)};
    frame->initialised = true;
    ResizeWindowTo(dialog, width, height);
    PlaceWindowAtCursor(dialog);
}

BOOL FollowFrame(DialogFrame* frame, HWND dialog, WPARAM kind, LPARAM size,
                 const FrameAnchor* anchors, int count) {
    // Minimised, the client area is empty: nothing to lay out, and restoring
    // then finds the controls as they were.
    if (kind == SIZE_MINIMIZED || !frame->initialised) return TRUE;
    HDWP batch = BeginDeferWindowPos(count);
    if (batch == nullptr) return TRUE;
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    const int dx = width - frame->lastClient.cx;
    const int dy = height - frame->lastClient.cy;
    for (int i = 0; i < count; i++) {
        const FrameAnchor& a = anchors[i];
        DeferMoveResizeItemBy(&batch, dialog, a.id, a.moveX * dx, a.moveY * dy, a.growX * dx,
                              a.growY * dy);
    }
    // A batch that failed on the way moved nothing: keep the old base, so the
    // next size catches up instead of leaving the controls out of step.
    if (EndDeferWindowPos(batch)) frame->lastClient = SIZE{width, height};
    return TRUE;
}

BOOL AnswerFrameMinimum(const DialogFrame& frame, LPARAM lParam) {
    // Asked before the dialog is initialised too; the system's limits hold then.
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr || !frame.initialised) return FALSE;
    info->ptMinTrackSize = POINT{frame.minimumTrack.cx, frame.minimumTrack.cy};
    return TRUE;
}

void EndDialogFrame(DialogFrame* frame, HWND dialog, std::int32_t* width, std::int32_t* height) {
    if (width != nullptr && height != nullptr) {
        *width = GetNormalWindowWidth(dialog);
        *height = GetNormalWindowHeight(dialog);
    }
    DestroyTitleBarIcons(dialog);
    frame->initialised = false;
}
