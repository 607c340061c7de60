#include "app/profiles.h"

#include <cstdio>
#include <cstring>

#include "app/messages.h"
#include "app/running_config.h"
#include "app/shell.h"
#include "app/switch_hold.h"
#include "app/tray_tip.h"
#include "config/config_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/foreground.h"
#include "platform/timers.h"

namespace {

constexpr int kRemembered = 8;

// A file the user was told could not be read, and what it held then.
struct ToldFile {
    char path[kPathSize];
    uint32_t fingerprint;
};

struct Watch {
    bool watching;
    bool looked;  // the first look, once the message loop runs, waits for nothing
    // The application in front: the last window in front that was neither
    // ours nor the desktop's or the taskbar's, by its executable's stem.
    char front[kPathSize];
    bool frontElevated;
    uint32_t frontSince;
    // The application the running file was chosen for; a choice is made
    // only when the application in front is another one.
    char chosenFor[kPathSize];
    ToldFile told[kRemembered];
    int nextTold;
    char warned[kRemembered][kPathSize];
    int nextWarned;
};
Watch watch;

void Copy(char (&to)[kPathSize], const char* from)
{
    const size_t length = strnlen(from, kPathSize - 1);
    std::memmove(to, from, length);
    to[length] = '\0';
}

// profiles\STEM.CFG beside the program; false when it would not fit, which
// counts as no profile.
bool ProfilePath(const char* stem, char (&path)[kPathSize])
{
    char exe[kPathSize] = {};
    const uint32_t length = PlatformGetModuleFileName(exe, kPathSize);
    if (length == 0 || length >= uint32_t(kPathSize)) return false;
    const int folder = int(NameStart(exe));
    const int written = std::snprintf(path, kPathSize, "%.*sprofiles\\%s.CFG", folder, exe, stem);
    return written > 0 && written < kPathSize;
}

// The bytes of a file folded into one number, so that a file the user was
// told about is told about again only once it has changed. 0: it does not open.
uint32_t Fingerprint(const char* path)
{
    const PlatformFile file = PlatformFileOpen(path);
    if (file == PLATFORM_BAD_FILE) return 0;
    uint32_t hash = 2166136261u;
    uint8_t block[512];
    int32_t got = 0;
    for (int blocks = 0; blocks < 2048 && (got = PlatformFileRead(file, block, sizeof block)) > 0; ++blocks) {
        for (int32_t i = 0; i < got; ++i) hash = (hash ^ block[i]) * 16777619u;
    }
    PlatformFileClose(file);
    return hash | 1;
}

// A modal box would take the focus from the game in front: a balloon says it.
constexpr int kShownSize = kPathSize + 16;  // a file's name, "profiles\\" before it

void TellUnreadable(const char* path, const char* shown)
{
    const uint32_t fingerprint = Fingerprint(path);
    ToldFile* entry = nullptr;
    for (ToldFile& told : watch.told) {
        if (SameName(told.path, path)) entry = &told;
    }
    if (entry != nullptr && entry->fingerprint == fingerprint) return;
    if (entry == nullptr) {
        entry = &watch.told[watch.nextTold];
        watch.nextTold = (watch.nextTold + 1) % kRemembered;
        Copy(entry->path, path);
    }
    entry->fingerprint = fingerprint;
    char text[kShownSize + 64];
    std::snprintf(text, sizeof text, "%s could not be read; the bindings stay as they were", shown);
    ShowTrayBalloon(text);
}

// A file that loads is told about again when it next fails.
void ForgetTold(const char* path)
{
    for (ToldFile& told : watch.told) {
        if (SameName(told.path, path)) told.path[0] = '\0';
    }
}

void WarnElevated(const char* stem)
{
    for (const char* warned : watch.warned) {
        if (SameName(warned, stem)) return;
    }
    Copy(watch.warned[watch.nextWarned], stem);
    watch.nextWarned = (watch.nextWarned + 1) % kRemembered;
    char text[kPathSize + 64];
    std::snprintf(text, sizeof text, "%s runs as administrator; Quellpad's keys do not reach it", stem);
    ShowTrayBalloon(text);
}

// The application in front has settled: its profile runs, or the base. What
// cannot be read changes nothing; what runs already is not read again.
void Choose()
{
    Copy(watch.chosenFor, watch.front);
    if (watch.frontElevated) WarnElevated(watch.front);
    char profile[kPathSize];
    const bool hasProfile =
        watch.front[0] != '\0' && ProfilePath(watch.front, profile) && PlatformFileExists(profile);
    const char* path = hasProfile ? profile : running.basePath;
    if (SameName(path, running.configPath)) return;

    // A profile is a whole file of its own: what it lacks is what a start
    // with it would have, not what the last application left behind.
    Configuration loaded{};
    const LoadOutcome outcome = LoadConfig(path, loaded);
    // A base that does not exist is the start state, as on a first start:
    // keeping what runs would leak a profile's keys into every application.
    const bool noBase = !hasProfile && outcome.kind == LoadOutcome::NOT_OPENED && !PlatformFileExists(path);
    if (outcome.kind != LoadOutcome::READ && !noBase) {
        char shown[kShownSize];
        if (hasProfile) {
            std::snprintf(shown, sizeof shown, "profiles\\%s", path + NameStart(path));
        } else {
            std::snprintf(shown, sizeof shown, "%s", path + NameStart(path));
        }
        TellUnreadable(path, shown);
        return;
    }
    ForgetTold(path);
    PutConfigInPlace(loaded);
    Copy(running.configPath, path);
    Copy(running.profile, hasProfile ? watch.front : "");
    ShowRunningTip();
}

}  // namespace

void StartWatchingForeground()
{
    watch = Watch{};
    watch.watching = true;
    PlatformWatchForeground(WM_FOREGROUNDCHANGED);
    PlatformSetTimer(kTimerPollFront, kPollMilliseconds);
    PlatformSetTimer(kTimerSettleFront, 0);
}

void StopWatchingForeground()
{
    if (!watch.watching) return;
    watch.watching = false;
    PlatformStopWatchingForeground();
    PlatformKillTimer(kTimerPollFront);
    PlatformKillTimer(kTimerSettleFront);
}

void ForegroundMayHaveChanged()
{
    if (!watch.watching) return;
    ForegroundWindow front{};
    PlatformGetForeground(front);
    // Our own windows, the desktop, the taskbar and no window at all leave
    // the application in front as it was: a click on the tray icon, or a
    // notice popping up, switches nothing.
    if (front.kind != ForegroundWindow::APPLICATION || front.stem[0] == '\0') return;
    if (SameName(front.stem, watch.front)) return;
    Copy(watch.front, front.stem);
    watch.frontElevated = front.elevatedOverUs;
    watch.frontSince = PlatformTickCount();
    PlatformSetTimer(kTimerSettleFront, kSettleMilliseconds);
}

void SettleTimerFired()
{
    PlatformKillTimer(kTimerSettleFront);
    if (!watch.watching || SwitchingHeld()) return;  // the last release asks again
    if (!watch.looked) {
        watch.looked = true;
        ForegroundMayHaveChanged();
        PlatformKillTimer(kTimerSettleFront);
        watch.frontSince = PlatformTickCount() - kSettleMilliseconds;
    }
    if (SameName(watch.front, watch.chosenFor)) return;
    const uint32_t stayed = PlatformTickCount() - watch.frontSince;
    if (stayed < kSettleMilliseconds) {
        PlatformSetTimer(kTimerSettleFront, kSettleMilliseconds - stayed);
        return;
    }
    Choose();
}

void MakeBase(const char* path)
{
    Copy(running.configPath, path);
    Copy(running.basePath, path);
    Copy(watch.chosenFor, watch.front);
    if (running.profile[0] == '\0') return;
    running.profile[0] = '\0';
    ShowRunningTip();
}
