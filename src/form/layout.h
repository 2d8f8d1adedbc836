#pragma once

#include "platform/forms_runtime.h"

#include <QRgb>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace timer::form {

// The window's stored layout: one row per control, places in twips
// (15 twips to a pixel at 96 dots per inch).
enum class ControlKind { Label, Entry, Button };

struct FontSpec {
    std::u16string_view family;
    double pointSize;
    int weight; // 1 to 1000; 400 is normal
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    std::u16string_view text;
    int left;
    int top;
    int width;
    int height;
    std::optional<QRgb> background;
    std::optional<QRgb> foreground;
    std::optional<FontSpec> font; // none: the default dialog font
    int tabIndex;
};

inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

inline constexpr std::u16string_view kWindowTitle = u"Timer";
inline constexpr int kClientWidth = 3375;
inline constexpr int kClientHeight = 3030;
inline constexpr QRgb kWindowBackground = 0xFF000000;
inline constexpr int kEntryMaxLength = 2;

inline constexpr QRgb kGreen = 0xFF80FF80;
inline constexpr QRgb kYellow = 0xFFFFFF00;
inline constexpr QRgb kWhite = 0xFFFFFFFF;
// The headings and the display draw dark ink whatever the colour scheme:
// light text would vanish on their yellow and green.
inline constexpr QRgb kInk = 0xFF000000;
// Entry boxes and buttons: the classic light face, so their text and frames
// read the same on the black window under any colour scheme.
inline constexpr QRgb kControlFace = 0xFFF0F0F0;
// What controls that name no font of their own are drawn with. Of the free
// faces with Hebrew, Frank Ruehl CLM fits the credit line at 8 pt (101 of
// 114 px) and keeps its "rn" apart from "m"; the sans faces that fit blur
// them into one at this size.
inline constexpr FontSpec kDialogFont{u"Frank Ruehl CLM", 8, 400};
inline constexpr FontSpec kEntryFont{u"MS Sans Serif", 13.5, 400};
inline constexpr FontSpec kDigitFont{u"David", 35.25, 350};
inline constexpr FontSpec kColonFont{u"MS Sans Serif", 24, 400};
inline constexpr FontSpec kStartFont{u"David", 24, 350};

// In the order of their place on the screen; later rows lie above earlier ones
// where they overlap.
inline constexpr std::array<ControlLayout, 15> kLayout{{
    {"Label6", ControlKind::Label, u"שעות", 480, 120, 495, 255, kGreen, kInk, {}, 11},
    {"Label7", ControlKind::Label, u"דקות", 1440, 120, 495, 255, kGreen, kInk, {}, 12},
    {"Label8", ControlKind::Label, u"שניות", 2400, 120, 495, 255, kGreen, kInk, {}, 13},
    {"Text1", ControlKind::Entry, u"00", 480, 480, 495, 495, {}, {}, kEntryFont, 0},
    {"Text2", ControlKind::Entry, u"00", 1440, 480, 495, 495, {}, {}, kEntryFont, 7},
    {"Text3", ControlKind::Entry, u"00", 2400, 480, 495, 495, {}, {}, kEntryFont, 8},
    {"Label1", ControlKind::Label, u"00", 480, 1200, 735, 615, kYellow, kInk, kDigitFont, 2},
    {"Label2", ControlKind::Label, u":", 1200, 1200, 135, 615, kYellow, kInk, kColonFont, 3},
    {"Label3", ControlKind::Label, u"00", 1320, 1200, 735, 615, kYellow, kInk, kDigitFont, 4},
    {"Label4", ControlKind::Label, u":", 2040, 1200, 135, 615, kYellow, kInk, kColonFont, 5},
    {"Label5", ControlKind::Label, u"00", 2160, 1200, 735, 615, kYellow, kInk, kDigitFont, 6},
    {"Label9", ControlKind::Label, u"נבנה ע\"י Varnok Tamsel", 840, 1920, 1710, 255, {}, kWhite, {}, 14},
    {"Command2", ControlKind::Button, u"הפסק \\ המשך", 120, 2160, 735, 615, {}, {}, {}, 9},
    {"Command1", ControlKind::Button, u"התחל", 1080, 2280, 1215, 735, {}, {}, kStartFont, 1},
    {"Command3", ControlKind::Button, u"אפס", 2520, 2160, 495, 495, {}, {}, {}, 10},
}};

// The heading above each entry box and display field.
struct Heading {
    std::string_view heading;
    std::string_view entry;
    std::string_view display;
};
inline constexpr std::array<Heading, 3> kHeadings{{
    {"Label6", "Text1", "Label1"},
    {"Label7", "Text2", "Label3"},
    {"Label8", "Text3", "Label5"},
}};

// The display, left to right: the three fields and the colons between them.
inline constexpr std::array<std::string_view, 5> kDisplayParts{"Label1", "Label2", "Label3", "Label4", "Label5"};

// Precondition: name is a row of kLayout.
constexpr const ControlLayout& layoutOf(std::string_view name)
{
    return *std::ranges::find(kLayout, name, &ControlLayout::name);
}

constexpr bool hasControl(std::string_view name, ControlKind kind)
{
    return std::ranges::any_of(kLayout, [&](const auto& row) { return row.name == name && row.kind == kind; });
}

// Every control the window hands out by role is a row of the right kind.
static_assert(std::ranges::all_of(platform::kFieldPairs, [](const auto& pair) {
    return hasControl(name(pair.display), ControlKind::Label) && hasControl(name(pair.entry), ControlKind::Entry);
}));
static_assert(std::ranges::all_of(kHeadings, [](const auto& row) { return hasControl(row.heading, ControlKind::Label); }));
static_assert(std::ranges::all_of(kDisplayParts, [](std::string_view part) { return hasControl(part, ControlKind::Label); }));
static_assert(hasControl("Command1", ControlKind::Button) && hasControl("Command2", ControlKind::Button)
              && hasControl("Command3", ControlKind::Button));

} // namespace timer::form
