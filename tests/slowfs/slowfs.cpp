// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only file system that shows the files of a folder and makes chosen calls hang, as a
// stuck network mount does. The tests start it, point the program at a file on it and check
// that the program goes on answering.
//
//   slowfs SOURCE MOUNTPOINT --block stat|open|read [--seconds N]
//
// The folder itself always answers; only calls on the files in it wait N seconds (60 by
// default) before they are served. Unmount with fusermount3 -u -z MOUNTPOINT.

#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string source;
unsigned delaySeconds = 60;
bool blockStat = false;
bool blockOpen = false;
bool blockRead = false;

std::string real(const char *path)
{
    return source + path;
}

void hang(bool when)
{
    // sleep() returns early on a signal; keep waiting the full time.
    for (unsigned left = when ? delaySeconds : 0; left > 0;)
        left = sleep(left);
}

void *init(fuse_conn_info *, fuse_config *config)
{
    // Every call reaches this program: nothing is answered from the kernel's caches.
    config->attr_timeout = 0;
    config->entry_timeout = 0;
    config->negative_timeout = 0;
    config->direct_io = 1;
    config->kernel_cache = 0;
    return nullptr;
}

int getattr(const char *path, struct stat *st, fuse_file_info *)
{
    if (std::strcmp(path, "/") != 0)
        hang(blockStat);
    return lstat(real(path).c_str(), st) == 0 ? 0 : -errno;
}

int readdir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t, fuse_file_info *,
            fuse_readdir_flags)
{
    DIR *dir = opendir(real(path).c_str());
    if (!dir)
        return -errno;
    while (dirent *entry = ::readdir(dir))
        fill(buffer, entry->d_name, nullptr, 0, fuse_fill_dir_flags(0));
    closedir(dir);
    return 0;
}

int open(const char *path, fuse_file_info *info)
{
    hang(blockOpen);
    if ((info->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    const int fd = ::open(real(path).c_str(), O_RDONLY);
    if (fd < 0)
        return -errno;
    info->fh = std::uint64_t(fd);
    return 0;
}

int read(const char *, char *buffer, size_t size, off_t offset, fuse_file_info *info)
{
    hang(blockRead);
    const ssize_t got = pread(int(info->fh), buffer, size, offset);
    return got < 0 ? -errno : int(got);
}

int release(const char *, fuse_file_info *info)
{
    ::close(int(info->fh));
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: slowfs SOURCE MOUNTPOINT --block stat|open|read [--seconds N]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5)
        return usage();
    source = argv[1];
    const char *mountPoint = argv[2];
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--block") {
            blockStat = value == "stat";
            blockOpen = value == "open";
            blockRead = value == "read";
            if (!blockStat && !blockOpen && !blockRead)
                return usage();
        } else if (name == "--seconds") {
            delaySeconds = unsigned(std::stoul(value));
        } else {
            return usage();
        }
    }

    fuse_operations operations{};
    operations.init = init;
    operations.getattr = getattr;
    operations.readdir = readdir;
    operations.open = open;
    operations.read = read;
    operations.release = release;

    // Foreground, read-only; unmounted by fusermount3 when this process dies.
    std::vector<char *> args{argv[0], const_cast<char *>(mountPoint), const_cast<char *>("-f"),
                             const_cast<char *>("-o"),
                             const_cast<char *>("ro,auto_unmount,fsname=slowfs")};
    return fuse_main(int(args.size()), args.data(), &operations, nullptr);
}
