#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace probe {

std::vector<HWND> windowsOfClass(const std::wstring& cls);

int ticks(int count, UINT_PTR id);
int holdClipboard(int ms, const std::wstring& marker);
int holdHotKey(UINT vk, int ms, const std::wstring& marker);
int removeTrayIcon();
int broadcast(const std::wstring& name);
int objects(DWORD pid);
int idleWindow(int ms);

}  // namespace probe
