#include "tools/quellpad-cfg/tool_platform.h"

#include <cstring>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/files_win32.h"
#else
#include <sys/stat.h>
#endif

ToolPlatform toolPlatform;

void ResetToolPlatform()
{
    toolPlatform.events.clear();
    std::memset(toolPlatform.caps, 0, sizeof toolPlatform.caps);
    std::memset(toolPlatform.state, 0, sizeof toolPlatform.state);
    toolPlatform.lost[0] = toolPlatform.lost[1] = false;
    toolPlatform.doubleClickTime = 500;
}

// --- input: recorded, never sent --------------------------------------------

void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags)
{
    toolPlatform.events.push_back({ToolEvent::Key, vk, scan, flags, 0, 0});
}

void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy)
{
    toolPlatform.events.push_back({ToolEvent::Mouse, flags, 0, 0, dx, dy});
}

void PlatformMouseWheel(uint32_t flags, int32_t delta)
{
    toolPlatform.events.push_back({ToolEvent::Wheel, flags, 0, 0, delta, 0});
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
    toolPlatform.events.push_back({ToolEvent::Sleep, milliseconds, 0, 0, 0, 0});
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

// --- files: the real disk, through the program's own file calls -------------

#ifdef _WIN32
// The paths come from the ANSI command line and go on to std::ifstream too.
const UINT platformPathCodePage = CP_ACP;
#endif

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

// A device such as NUL shows no attributes of its own; the save's rename
// onto it fails and leaves nothing behind.
std::string NotARegularFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return "a link";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return "a directory";
    return {};
}
#else
bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// A name that cannot be looked at is left to the save, which reports it.
std::string NotARegularFile(const std::string& path)
{
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return {};
    if (S_ISLNK(status.st_mode)) return "a link";
    if (S_ISDIR(status.st_mode)) return "a directory";
    if (S_ISCHR(status.st_mode)) return "a character device";
    if (S_ISBLK(status.st_mode)) return "a block device";
    if (S_ISFIFO(status.st_mode)) return "a FIFO";
    if (S_ISSOCK(status.st_mode)) return "a socket";
    return "no regular file";
}
#endif
