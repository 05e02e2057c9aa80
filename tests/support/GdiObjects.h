#pragma once
// Counts a process's live GDI objects in its GDI handle table, the table its PEB points to.
// GetGuiResources is only a stub under Wine, so the tests read the table itself.
#include <windows.h>

#include <vector>

namespace gs::test {

struct GdiCount {
    int total = -1;
    int regions = -1;
};

inline GdiCount CountGdiObjects(HANDLE process) {
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    struct {
        void* reserved1;
        void* peb;
        void* reserved2[4];
    } info{};
    ULONG len = 0;
    GdiCount count;
    if (!query || query(process, 0, &info, sizeof(info), &len) != 0) return count;
    void* table = nullptr;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(info.peb) + 0xF8, &table, sizeof(table),
                           &got) ||
        !table)
        return count;
    struct Entry {
        UINT64 object;
        ULONG owner;
        USHORT unique;
        UCHAR type;
        UCHAR flags;
        UINT64 user;
    };
    std::vector<Entry> entries(0x10000);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &got))
        return count;
    count = GdiCount{0, 0};
    for (const Entry& e : entries) {
        if (!e.type || !e.object) continue;
        ++count.total;
        count.regions += e.type == 4;
    }
    return count;
}

}  // namespace gs::test
