#include "platform/gtk/GtkKeys.hpp"

#include <gdk/gdkkeysyms.h>

namespace {

struct TKeyPair {
    guint keyval;
    int code;
};

constexpr TKeyPair Named[] = {
    {GDK_KEY_Escape, 27},      {GDK_KEY_Return, 13},       {GDK_KEY_KP_Enter, 13}, {GDK_KEY_Tab, 9},
    {GDK_KEY_ISO_Left_Tab, 9}, {GDK_KEY_BackSpace, 8},     {GDK_KEY_space, 32},    {GDK_KEY_Page_Up, 33},
    {GDK_KEY_Page_Down, 34},   {GDK_KEY_End, 35},          {GDK_KEY_Home, 36},     {GDK_KEY_Left, 37},
    {GDK_KEY_Up, 38},          {GDK_KEY_Right, 39},        {GDK_KEY_Down, 40},     {GDK_KEY_Insert, 45},
    {GDK_KEY_Delete, 46},      {GDK_KEY_Shift_L, 16},      {GDK_KEY_Shift_R, 16},  {GDK_KEY_Control_L, 17},
    {GDK_KEY_Control_R, 17},   {GDK_KEY_Alt_L, 18},        {GDK_KEY_Alt_R, 18},    {GDK_KEY_Pause, 19},
    {GDK_KEY_Caps_Lock, 20},   {GDK_KEY_KP_Multiply, 106}, {GDK_KEY_KP_Add, 107},  {GDK_KEY_KP_Subtract, 109},
    {GDK_KEY_KP_Decimal, 110}, {GDK_KEY_KP_Divide, 111},
};

} // namespace

int WindowsKeyCode(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<int>('A' + (keyval - GDK_KEY_a));
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return static_cast<int>('A' + (keyval - GDK_KEY_A));
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<int>('0' + (keyval - GDK_KEY_0));
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return static_cast<int>(96 + (keyval - GDK_KEY_KP_0));
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return static_cast<int>(112 + (keyval - GDK_KEY_F1));
    for (const TKeyPair& pair : Named) {
        if (pair.keyval == keyval) return pair.code;
    }
    return 0;
}

int WindowsKeyMods(guint state) {
    int mods = 0;
    if ((state & GDK_SHIFT_MASK) != 0) mods |= 1;
    if ((state & GDK_CONTROL_MASK) != 0) mods |= 2;
    if ((state & GDK_MOD1_MASK) != 0) mods |= 4;
    return mods;
}
