// The frame of a dialog the user can resize, as the program's file lists
// have it: never smaller than its template, opening at the size it had when
// it was last closed, its controls following the frame.
#pragma once

#include <windows.h>

#include <cstdint>

struct DialogFrame {
    bool initialised;  // the controls exist and lastClient is the size they fit
    SIZE lastClient;
    SIZE minimumTrack;
};

// How one control follows the frame: each factor (0 or 1) takes the change
// of the client area's width or height as a move or a stretch.
struct FrameAnchor {
    int id;
    int moveX;
    int moveY;
    int growX;
    int growY;
};

// From WM_INITDIALOG: the program's icons go on the title bar, the
// template's size becomes the base of every layout and the smallest the user
// can make the dialog; then the dialog takes the remembered outer size
// (never below that) and is centred on the cursor.
void StartDialogFrame(DialogFrame* frame, HWND dialog, std::int32_t width, std::int32_t height);
// WM_SIZE: moves and stretches the anchored controls in one batch.
BOOL FollowFrame(DialogFrame* frame, HWND dialog, WPARAM kind, LPARAM size,
                 const FrameAnchor* anchors, int count);
// WM_GETMINMAXINFO: the template's size as the smallest.
BOOL AnswerFrameMinimum(const DialogFrame& frame, LPARAM lParam);
// WM_DESTROY: stores the restored outer size, also when the dialog is
// maximised or minimised (unless width and height are null), and destroys
// the title bar's icons.
void EndDialogFrame(DialogFrame* frame, HWND dialog, std::int32_t* width, std::int32_t* height);
