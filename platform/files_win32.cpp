// Configuration files on Windows through the wide calls, for the program and
// quellpad-cfg alike.
#include "platform/files_win32.h"

#include "platform/files.h"

bool WidePath(const char* path, wchar_t (&wide)[MAX_PATH])
{
    // Bytes that are no UTF-8 would otherwise become U+FFFD and name another file.
    const DWORD flags = platformPathCodePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    return MultiByteToWideChar(platformPathCodePage, flags, path, -1, wide, MAX_PATH) > 0;
}

bool NarrowPath(const wchar_t* wide, char* path, uint32_t size)
{
    if (WideCharToMultiByte(platformPathCodePage, 0, wide, -1, path, int(size), nullptr, nullptr) > 0) return true;
    if (size > 0) path[0] = '\0';
    return false;
}

namespace {

PlatformFile Handle(HANDLE file)
{
    return file == INVALID_HANDLE_VALUE ? PLATFORM_BAD_FILE : PlatformFile(file);
}

}  // namespace

PlatformFile PlatformFileOpen(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (!WidePath(path, wide)) return PLATFORM_BAD_FILE;
    // Shared as _lopen shares a file opened for reading.
    return Handle(CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

PlatformFile PlatformFileCreateNew(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (!WidePath(path, wide)) return PLATFORM_BAD_FILE;
    // CREATE_NEW fails on any existing name; a planted link is taken as the
    // link itself, never as the file it points to.
    return Handle(CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count)
{
    DWORD got = 0;
    return ReadFile(HANDLE(file), buffer, count, &got, nullptr) ? int32_t(got) : -1;
}

int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count)
{
    DWORD put = 0;
    return WriteFile(HANDLE(file), buffer, count, &put, nullptr) ? int32_t(put) : -1;
}

void PlatformFileClose(PlatformFile file)
{
    CloseHandle(HANDLE(file));
}

bool PlatformFileReplace(const char* source, const char* target)
{
    wchar_t from[MAX_PATH], to[MAX_PATH];
    if (!WidePath(source, from) || !WidePath(target, to)) return false;
    const DWORD attributes = GetFileAttributesW(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    // Write-through so the new file is on disk before the old one is gone.
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void PlatformFileDelete(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (WidePath(path, wide)) DeleteFileW(wide);
}

bool PlatformFileExists(const char* path)
{
    wchar_t wide[MAX_PATH];
    return WidePath(path, wide) && GetFileAttributesW(wide) != INVALID_FILE_ATTRIBUTES;
}
