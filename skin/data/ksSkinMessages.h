// Window messages of the skin library. The skin-change ones carry the sending
// container in wParam and kSkinMessageLParam in lParam.
#pragma once

#include <windows.h>

constexpr UINT WM_BEFORECHANGESKINDATA = WM_USER + 201;
constexpr UINT WM_CHANGESKINDATA = WM_USER + 202;
constexpr UINT WM_AFTERCHANGESKINDATA = WM_USER + 203;
// The menu engine closed its chain; to the opening control and the form.
constexpr UINT WM_SKINMENUCLOSED = WM_USER + 204;
// A command chosen in a skinned menu has run; to the control that opened it.
constexpr UINT WM_CLOSESKINMENU = WM_USER + 205;
// MDI: a maximized child fits itself again; a child tells the main form it was
// maximized or restored.
constexpr UINT WM_UPDATEMDICHILD = WM_USER + 206;
constexpr UINT WM_MDICHILDMAX = WM_USER + 207;
constexpr UINT WM_MDICHILDRESTORE = WM_USER + 208;
constexpr UINT WM_CHANGERESOURCESTRDATA = WM_USER + 250;
constexpr LPARAM kSkinMessageLParam = 1000;
