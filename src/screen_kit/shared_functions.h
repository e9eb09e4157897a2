#pragma once
// The small text, user, date and file-name functions every screen shares.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "base/variant.h"

namespace vk {

// The text trimmed and left-filled with `pad` up to `width` characters. A pad of
// "NULL" (any case) means a blank, and the caller's pad then holds that blank.
// A longer text is returned trimmed, never cut; a pad of several characters is
// repeated whole. A width difference outside 16 bits raises Overflow (6).
std::wstring PadLeft(const std::wstring& text, short width, std::wstring& pad);

// The zero-based `index`-th piece of `text` split at `delimiter`, trimmed; "" when
// there is no such piece.
std::wstring GetField(const std::wstring& text, const std::wstring& delimiter, long index);

// The Windows logon name, "" when it has 25 characters or more or cannot be read.
std::wstring GetUserNameNT();

// The computer name, "" when it cannot be read.
std::wstring GetComputerNameNT();

// Dates pass through unchanged; kept as one place to tighten date checks.
inline DATE ValidDate(DATE value) { return value; }

// folder\IM<logon><day><hour><minute>.<extension>, with any file of that name deleted.
std::wstring BuildTempFileName(const std::wstring& folder, const std::wstring& extension);

// Gives a window the layered style so it can fade in; always false.
bool SetWindowLayered(HWND window);

// One tick of a dialog's fade-in: `level` rises by `step` and becomes the layered
// window's alpha, never above 255. Once it reaches 255 the window is made fully
// opaque and the system beep sounds; true then (the caller stops its timer).
bool FadeInStep(HWND window, long& level, long step);

// Moves a borderless window with the mouse, as if its caption were held: called on a
// left-button press on its body. With `markEdges` it first draws two black lines
// along the window's top and bottom edges.
void DragWindowByBody(HWND window, bool markEdges);

// The empty text for Empty, Null and a date (or date text) whose text form starts with
// "12:00" or "00:00" (a bare midnight); every other value unchanged.
Variant BlankIfNoDate(const Variant& value);

// Leading and trailing blanks removed (blanks only, as the platform's Trim does).
std::wstring Trim(const std::wstring& text);

}  // namespace vk
