// Configuration files on Linux and other POSIX systems, for quellpad-cfg.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"

PlatformFile PlatformFileOpen(const char* path)
{
    return open(path, O_RDONLY | O_CLOEXEC);
}

PlatformFile PlatformFileCreateNew(const char* path)
{
    // O_EXCL refuses any existing name, a link included, even one that points
    // nowhere yet; O_NOFOLLOW says the same once more.
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        const ssize_t got = read(int(file), static_cast<char*>(buffer) + done, count - done);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        done += uint32_t(got);
    }
    return int32_t(done);
}

int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        const ssize_t put = write(int(file), static_cast<const char*>(buffer) + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return -1;
        done += uint32_t(put);
    }
    return int32_t(done);
}

void PlatformFileClose(PlatformFile file)
{
    close(int(file));
}

bool PlatformFileReplace(const char* source, const char* target)
{
    // rename() replaces a read-only file as readily as any other. Keep it,
    // as Windows does, also for root, whom access() lets write anything.
    struct stat status;
    if (stat(target, &status) == 0 && ((status.st_mode & 0222) == 0 || access(target, W_OK) != 0)) return false;
    return std::rename(source, target) == 0;
}

void PlatformFileDelete(const char* path)
{
    unlink(path);
}

bool PlatformFileExists(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0;
}
