#include "tools/quellpad-cfg/tool_platform.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "app/start_state.h"
#include "config/settings.h"

ToolPlatform toolPlatform;

void ResetToolPlatform()
{
    toolPlatform.events.clear();
    std::memset(toolPlatform.caps, 0, sizeof toolPlatform.caps);
    std::memset(toolPlatform.state, 0, sizeof toolPlatform.state);
    toolPlatform.lost[0] = toolPlatform.lost[1] = false;
    toolPlatform.doubleClickTime = 500;
}

void ResetProgramState()
{
    RestoreStartState();
}

// --- input: recorded, never sent --------------------------------------------

void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags)
{
    toolPlatform.events.push_back({ToolEvent::Key, vk, scan, flags, 0, 0, {}});
}

void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy)
{
    toolPlatform.events.push_back({ToolEvent::Mouse, flags, 0, 0, dx, dy, {}});
}

// Scan bytes are not shown, so the character value of digits and capitals
// (what the macro needs) is all the keyboard layout there is.
uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t type)
{
    const bool typesItself = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
    return type == 2 && typesItself ? code : 0;
}

uint32_t PlatformOemKeyScan(uint16_t) { return 0xFFFFFFFF; }

uint32_t PlatformGetDoubleClickTime() { return toolPlatform.doubleClickTime; }

void PlatformSleep(uint32_t milliseconds)
{
    toolPlatform.events.push_back({ToolEvent::Sleep, milliseconds, 0, 0, 0, 0, {}});
}

// --- joysticks: whatever the trace says -------------------------------------

uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info)
{
    if (joystickId >= kPortCount) return 165;          // JOYERR_PARMS
    if (toolPlatform.lost[joystickId]) return 167;     // JOYERR_UNPLUGGED
    const uint32_t size = info->dwSize, flags = info->dwFlags;
    *info = toolPlatform.state[joystickId];
    info->dwSize = size;
    info->dwFlags = flags;
    return kJoyNoError;
}

uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps)
{
    if (joystickId >= kPortCount) return 165;
    *caps = toolPlatform.caps[joystickId];
    return kJoyNoError;
}

// The tool never asks for the default file; it always names its files.
uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size)
{
    if (size > 0) buffer[0] = '\0';
    return 0;
}

// --- files: the real disk ---------------------------------------------------

static_assert(sizeof(PlatformFile) >= sizeof(FILE*), "a stream fits in a file handle");

namespace {
FILE* Stream(PlatformFile file) { return reinterpret_cast<FILE*>(file); }
PlatformFile Handle(FILE* stream) { return stream == nullptr ? PLATFORM_BAD_FILE : reinterpret_cast<PlatformFile>(stream); }
}  // namespace

PlatformFile PlatformFileOpen(const char* path) { return Handle(std::fopen(path, "rb")); }

PlatformFile PlatformFileCreate(const char* path) { return Handle(std::fopen(path, "wb")); }

int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count)
{
    const size_t got = std::fread(buffer, 1, count, Stream(file));
    return got < count && std::ferror(Stream(file)) ? -1 : int32_t(got);
}

int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count)
{
    const size_t put = std::fwrite(buffer, 1, count, Stream(file));
    return put < count ? -1 : int32_t(put);
}

void PlatformFileClose(PlatformFile file) { std::fclose(Stream(file)); }

bool PlatformFileReplace(const char* source, const char* target)
{
#ifdef _WIN32
    // rename() on Windows refuses an existing target.
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source, target) == 0;
#endif
}

void PlatformFileDelete(const char* path) { std::remove(path); }

#ifdef _WIN32
namespace {
// Windows has no inode in stat(); the volume and file index stand in for it.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info)
{
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    return FileIdentity(a, first) && FileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
#else
bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
#endif

void PlatformMessageBox(const char* text, const char*)
{
    toolPlatform.events.push_back({ToolEvent::Message, 0, 0, 0, 0, 0, text});
}

// --- the window side: there is none ------------------------------------------

void PlatformPostToMainWindow(uint32_t) {}
void PlatformSendToMainWindow(uint32_t) {}
void PlatformDestroyMainWindow() {}
void PlatformPostQuit() {}
void PlatformTrackPopupMenu(const MenuItem*, int) {}
bool PlatformGetOpenFileName(char*) { return false; }
bool PlatformGetSaveFileName(char*) { return false; }
