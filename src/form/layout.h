#pragma once

#include "platform/forms_runtime.h"

#include <QRgb>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace timer::form {

// The window's stored layout: one row per control, places in twips
// (15 twips to a pixel at 96 dots per inch). A heading names a field; a
// field is one of the display's three numbers, with a colon between two.
enum class ControlKind { Heading, Field, Colon, Label, Entry, Button };

struct FontSpec {
    std::u16string_view family;
    double pointSize;
    int weight; // 1 to 1000; 400 is normal
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    // The caption or first text, in UTF-8: the source text to translate.
    const char* text;
    int left;
    int top;
    int width;
    int height;
    std::optional<QRgb> background;
    std::optional<QRgb> foreground;
    std::optional<FontSpec> font; // none: the default dialog font
    int tabIndex;
    // Headings, fields and entry boxes: the field they belong to (a box by the
    // field Start copies it to).
    std::optional<platform::Display> field;
};

inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

// The translation context of the window's texts.
#define TIMER_WINDOW_TEXT(text) QT_TRANSLATE_NOOP("timer::form::TimerWindow", text)

inline constexpr const char* kWindowTitle = TIMER_WINDOW_TEXT("Timer");
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

// In the order of their place on the screen, but for the buttons, which are
// in the order of their names; later rows lie above earlier ones where they
// overlap.
using platform::Display;
inline constexpr std::array<ControlLayout, 15> kLayout{{
    {"Label6", ControlKind::Heading, TIMER_WINDOW_TEXT("שעות"), 480, 120, 495, 255, kGreen, kInk, {}, 11, Display::Label1},
    {"Label7", ControlKind::Heading, TIMER_WINDOW_TEXT("דקות"), 1440, 120, 495, 255, kGreen, kInk, {}, 12, Display::Label3},
    {"Label8", ControlKind::Heading, TIMER_WINDOW_TEXT("שניות"), 2400, 120, 495, 255, kGreen, kInk, {}, 13, Display::Label5},
    {"Text1", ControlKind::Entry, "00", 480, 480, 495, 495, {}, {}, kEntryFont, 0, Display::Label1},
    {"Text2", ControlKind::Entry, "00", 1440, 480, 495, 495, {}, {}, kEntryFont, 7, Display::Label3},
    {"Text3", ControlKind::Entry, "00", 2400, 480, 495, 495, {}, {}, kEntryFont, 8, Display::Label5},
    {"Label1", ControlKind::Field, "00", 480, 1200, 735, 615, kYellow, kInk, kDigitFont, 2, Display::Label1},
    {"Label2", ControlKind::Colon, ":", 1200, 1200, 135, 615, kYellow, kInk, kColonFont, 3, {}},
    {"Label3", ControlKind::Field, "00", 1320, 1200, 735, 615, kYellow, kInk, kDigitFont, 4, Display::Label3},
    {"Label4", ControlKind::Colon, ":", 2040, 1200, 135, 615, kYellow, kInk, kColonFont, 5, {}},
    {"Label5", ControlKind::Field, "00", 2160, 1200, 735, 615, kYellow, kInk, kDigitFont, 6, Display::Label5},
    {"Label9", ControlKind::Label, TIMER_WINDOW_TEXT("נבנה ע\"י Varnok Tamsel"), 840, 1920, 1710, 255, {}, kWhite, {}, 14, {}},
    {"Command1", ControlKind::Button, TIMER_WINDOW_TEXT("התחל"), 1080, 2280, 1215, 735, {}, {}, kStartFont, 1, {}},
    {"Command2", ControlKind::Button, TIMER_WINDOW_TEXT("הפסק \\ המשך"), 120, 2160, 735, 615, {}, {}, {}, 9, {}},
    {"Command3", ControlKind::Button, TIMER_WINDOW_TEXT("אפס"), 2520, 2160, 495, 495, {}, {}, {}, 10, {}},
}};

// The rows of `kind` that belong to `field`.
constexpr std::size_t countRows(ControlKind kind, platform::Display field)
{
    return static_cast<std::size_t>(std::ranges::count_if(
        kLayout, [&](const ControlLayout& row) { return row.kind == kind && row.field == field; }));
}

// Fields and boxes have the names the handlers know them by; only headings,
// fields and boxes belong to a field.
static_assert(std::ranges::all_of(kLayout, [](const ControlLayout& row) {
    switch (row.kind) {
    case ControlKind::Field:
        return row.field && row.name == name(*row.field);
    case ControlKind::Entry:
        return row.field && row.name == name(platform::entryOf(*row.field));
    case ControlKind::Heading:
        return row.field.has_value();
    default:
        return !row.field;
    }
}));
// Each field has one heading, one box and one place on the display.
static_assert(std::ranges::all_of(platform::kFieldPairs, [](const auto& pair) {
    return countRows(ControlKind::Heading, pair.display) == 1 && countRows(ControlKind::Entry, pair.display) == 1
           && countRows(ControlKind::Field, pair.display) == 1;
}));

// The display's parts lie left to right in the table, and the buttons come in
// the order the window hands them out in.
constexpr bool displayAndButtonsInOrder()
{
    int lastLeft = 0;
    std::size_t buttons = 0;
    constexpr std::array<std::string_view, 3> kButtonOrder{"Command1", "Command2", "Command3"};
    for (const ControlLayout& row : kLayout) {
        if (row.kind == ControlKind::Field || row.kind == ControlKind::Colon) {
            if (row.left < lastLeft) {
                return false;
            }
            lastLeft = row.left;
        } else if (row.kind == ControlKind::Button) {
            if (buttons == kButtonOrder.size() || row.name != kButtonOrder.at(buttons++)) {
                return false;
            }
        }
    }
    return buttons == kButtonOrder.size();
}
static_assert(displayAndButtonsInOrder());

} // namespace timer::form
