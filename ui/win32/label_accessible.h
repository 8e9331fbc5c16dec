// What assistive technology sees of a label: the platform's standard description of the
// window (its caption as the name, its place, visible or not, available or not) as a push
// button whose default action presses it, or as plain text for the title. A screen reader
// can then read every button and press it, though the labels stay out of the Tab order.
#pragma once

#include <windows.h>

namespace zantic::win32 {

// IAccessible's interface identifier, spelled out: the mingw import library for oleacc
// resolves IID_IAccessible to an import thunk instead of the identifier.
inline constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The answer to WM_GETOBJECT for OBJID_CLIENT.
LRESULT LabelAccessibleObject(HWND label, bool button, WPARAM wparam);

}  // namespace zantic::win32
