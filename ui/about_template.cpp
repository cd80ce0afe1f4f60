#include "ui/about_template.h"

#include "ui/dialog_template.h"

namespace {

// WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CONTEXTHELP |
// DS_MODALFRAME | DS_SETFONT | DS_SYSMODAL
constexpr std::uint32_t kAboutStyle = 0x90C820C2;
// WS_CHILD | WS_VISIBLE, with SS_ICON or SS_LEFT
constexpr std::uint32_t kIconStyle = 0x50000003;
constexpr std::uint32_t kTextStyle = 0x50000000;
// WS_CHILD | WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON
constexpr std::uint32_t kOkStyle = 0x50020001;

// The lines are one unit wide: the box widens them, and itself, to their texts.
// The button starts beyond the narrow box and is centred once it has widened.
const DialogItemLayout kAboutItems[] = {
    {DialogOrdinal(kStaticClassOrdinal), nullptr, kIconStyle, 0, 7, 7, 20, 21, kAboutIconId},
    {DialogOrdinal(kStaticClassOrdinal), nullptr, kTextStyle, 0, 30, 7, 1, 8, kAboutNameLineId},
    {DialogOrdinal(kStaticClassOrdinal), nullptr, kTextStyle, 0, 30, 16, 1, 8, kAboutLinkId},
    {DialogOrdinal(kStaticClassOrdinal), nullptr, kTextStyle, 0, 30, 25, 1, 8,
     kAboutResourcesLineId},
    {DialogOrdinal(kButtonClassOrdinal), u"OK", kOkStyle, 0, 45, 35, 45, 14, kAboutOkId},
};

}  // namespace

void* BuildAboutTemplate(std::uint32_t* templateSize) {
    DialogLayout dialog{};
    dialog.style = kAboutStyle;
    dialog.extendedStyle = 0;
    dialog.itemCount = sizeof kAboutItems / sizeof kAboutItems[0];
    dialog.x = 0;
    dialog.y = 0;
    dialog.width = 38;
    dialog.height = 56;
    dialog.className = nullptr;
    dialog.title = nullptr;  // the product's name is set once it has been read
    dialog.menu = nullptr;
    dialog.faceName = u"ＭＳ Ｐゴシック";
    dialog.pointSize = 9;
    return BuildDialogTemplate(dialog, kAboutItems, templateSize);
}
