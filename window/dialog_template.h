#pragma once

#include <cstddef>

// The calculator window IDD_MAIN as data: its size, caption and font, and its controls in
// creation order, which is also the tab order. Positions and sizes are in dialog units.

inline constexpr int IDD_MAIN = 102;
inline constexpr int IDR_MAINFRAME = 128;

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_RESULT = 1000;
inline constexpr int IDC_X = 1023;
inline constexpr int IDC_Y = 1024;
inline constexpr int IDC_Z = 1025;
inline constexpr int IDC_CALCULATE = 1338;
inline constexpr int IDC_EXPRESSION = 1340;

enum class ControlKind {
    kPushButton,
    kEdit,
    kReadOnlyEdit,
    kGroupBox,
    kStaticText,
};

struct DialogUnitRect {
    int x;
    int y;
    int width;
    int height;
};

struct ControlTemplate {
    int id;
    const char* objectName;  // the identifier's name; empty for IDC_STATIC
    ControlKind kind;
    const char* text;  // UTF-8
    DialogUnitRect rect;
    const char* accessibleName;  // what assistive technology calls a control; empty for statics
    int buddy;                   // the field a label names; IDC_STATIC for the others
};

inline constexpr DialogUnitRect kMainClientArea = {0, 0, 539, 53};
inline constexpr char kMainCaption[] = "Quorvel解析";
inline constexpr int kMainFontPointSize = 9;
inline constexpr char kInitialValueText[] = "0.0";

// clang-format off
inline constexpr ControlTemplate kMainControls[] = {
    {IDC_CALCULATE,  "IDC_CALCULATE",  ControlKind::kPushButton,   "运算",      {472, 28, 56, 13},  "运算",     IDC_STATIC},
    {IDC_EXPRESSION, "IDC_EXPRESSION", ControlKind::kEdit,         "",          {12, 13, 514, 12},  "表达式",   IDC_STATIC},
    {IDC_STATIC,     "",               ControlKind::kGroupBox,     "",          {6, 3, 527, 43},    "",         IDC_STATIC},
    {IDC_RESULT,     "IDC_RESULT",     ControlKind::kReadOnlyEdit, "",          {222, 28, 245, 14}, "运算结果", IDC_STATIC},
    {IDC_X,          "IDC_X",          ControlKind::kEdit,         "",          {26, 29, 39, 12},   "X",        IDC_STATIC},
    {IDC_STATIC,     "",               ControlKind::kStaticText,   "X:",        {14, 30, 10, 8},    "",         IDC_X},
    {IDC_Y,          "IDC_Y",          ControlKind::kEdit,         "",          {85, 29, 39, 12},   "Y",        IDC_STATIC},
    {IDC_STATIC,     "",               ControlKind::kStaticText,   "Y:",        {72, 30, 10, 8},    "",         IDC_Y},
    {IDC_Z,          "IDC_Z",          ControlKind::kEdit,         "",          {141, 29, 39, 12},  "Z",        IDC_STATIC},
    {IDC_STATIC,     "",               ControlKind::kStaticText,   "Z:",        {129, 30, 10, 8},   "",         IDC_Z},
    {IDC_STATIC,     "",               ControlKind::kStaticText,   "运算结果:", {189, 30, 32, 8},   "",         IDC_RESULT},
};
// clang-format on

inline constexpr std::size_t kMainControlCount = sizeof kMainControls / sizeof kMainControls[0];

// The index of the control with this identifier, or kMainControlCount when none has it.
constexpr std::size_t IndexOfControl(int id) {
    if (id == IDC_STATIC) return kMainControlCount;
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        if (kMainControls[index].id == id) return index;
    }
    return kMainControlCount;
}
