// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Game paths on this system's file tree.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/cp1251.h"
#include "platform/data_folders.h"
#include "platform/locale.h"

namespace platform {

namespace {
std::string with_slashes(std::string_view game_path) {
    std::string path(game_path);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The folders a native path is looked up in: none for an absolute one.
std::vector<std::string> roots_of(const std::string& path) {
    if (!path.empty() && path.front() == '/') return {""};
    return data_roots();
}
}  // namespace

std::string native_path(std::string_view game_path) {
    const std::vector<std::string> paths = native_paths(game_path);
    for (const std::string& path : paths)
        if (exists(path)) return path;
    return paths.back();
}

std::vector<std::string> native_paths(std::string_view game_path) {
    const std::string path = with_slashes(game_path);
    std::vector<std::string> paths = roots_of(path);
    for (std::string& root : paths)
        root += path;
    return paths;
}

std::string writable_path(std::string_view game_path) {
    const std::string path = with_slashes(game_path);
    if (data_folders().installed.empty()) return path;
    return data_folders().user.empty() ? "" : data_folders().user + path;
}

std::string config_path(std::string_view name) {
    if (data_folders().installed.empty()) return std::string(name);
    return data_folders().config.empty() ? "" : data_folders().config + std::string(name);
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
    // Greedy matching with one backtrack point: the position after the last *.
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> list_matching(std::string_view game_pattern) {
    const std::string path = with_slashes(game_pattern);
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);

    // The same name in the player's folder and the installed one is listed once.
    std::vector<std::string> names;
    for (const std::string& root : roots_of(path)) {
        const std::string where = root + folder;
        std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(where.empty() ? "." : where.c_str()),
                                                closedir);
        if (!dir) continue;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            if (wildcard_match(pattern, name)) names.emplace_back(name);
        }
    }
    std::sort(names.begin(), names.end());  // byte order: std::string compares as unsigned char
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string temp_folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> read_file(const std::string& path, std::size_t max_size) {
    // Only regular files. A named pipe would wait for a writer, a device such as
    // /dev/zero never ends, and opening some devices does something; so the name is
    // looked at first, the open never waits, and the opened file is looked at again
    // in case the name was swapped in between.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return std::nullopt;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) return std::nullopt;
    struct stat opened {};
    if (::fstat(file.fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
        return std::nullopt;
    }
    if (opened.st_size < 0 || static_cast<std::uint64_t>(opened.st_size) > max_size) {
        return std::nullopt;
    }
    // The size is only a hint: the file may grow while it is read, so the reads stop
    // one byte past the bound. One byte to spare shows the end of a file that kept its
    // size without a second, larger buffer.
    std::vector<std::uint8_t> bytes(
        std::min(static_cast<std::size_t>(opened.st_size) + 1, max_size + 1));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > max_size) return std::nullopt;
            bytes.resize(std::min(max_size + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got > max_size) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

std::optional<std::string> read_text_file(const std::string& path, std::size_t max_size) {
    const auto bytes = read_file(path, max_size);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {

// The folder part of a path ("." when there is none) and the name in it.
std::pair<std::string, std::string> split_folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Whether the permission bits let this process write there. The superuser may write
// anything, but a file or folder that nobody may write was made so on purpose:
// like the execute bits for the superuser, at least one write bit must be set.
bool may_write(const std::string& path, const struct stat& info) {
    if (::geteuid() == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The name of this process's new file for name: one process saves one file at a
// time, so the process number makes it unique, and it tells whether its maker is
// still running.
std::string new_file_name(const std::string& name) {
    return name + "." + std::to_string(::getpid()) + ".new";
}

// The process number in a name made by new_file_name for name, or 0.
pid_t maker_of(std::string_view entry, std::string_view name) {
    constexpr std::string_view ending = ".new";
    if (entry.size() <= name.size() + 1 + ending.size() || entry.substr(0, name.size()) != name ||
        entry[name.size()] != '.' || entry.substr(entry.size() - ending.size()) != ending) {
        return 0;
    }
    const std::string_view digits =
        entry.substr(name.size() + 1, entry.size() - name.size() - 1 - ending.size());
    pid_t pid = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9' || pid > 99999999) return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Gives the file made without a name in the folder the name new_name; a stale file
// of that name (this process number's, so no running game's) goes first.
int link_unnamed(int fd, int folder, const std::string& new_name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), folder, new_name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(fd, "", folder, new_name.c_str(), AT_EMPTY_PATH) == 0) {
            return 0;
        }
        if (errno != EEXIST) return errno;
        ::unlinkat(folder, new_name.c_str(), 0);
    }
    return EEXIST;
}

// Makes the new file: without a name while it is written where the file system can,
// so a game killed meanwhile leaves nothing behind; otherwise under new_name,
// created exclusively so that nothing already there (a link above all) is followed.
int create_new_file(int folder, const std::string& new_name, mode_t mode, bool& named) {
    named = false;
    const int unnamed = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return unnamed;
    }
    named = true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::openat(folder, new_name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
        ::unlinkat(folder, new_name.c_str(), 0);
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

int replace_file(const std::string& path, std::string_view bytes) {
    if (path.empty()) return ENOENT;  // an installed game without a player's folder
    // A link is followed to the file it names, which is the one to update.
    std::string target = path;
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists) {
        std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
        if (!real) return errno;
        target = real.get();
        if (!S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        if (!may_write(target, old)) return EACCES;
    } else if (errno != ENOENT) {
        return errno;
    }
    const auto [folder_path, name] = split_folder(target);
    const Descriptor folder(::open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd < 0) return errno;
    struct stat folder_info {};
    if (::fstat(folder.fd, &folder_info) != 0) return errno;
    if (!may_write(folder_path, folder_info)) return EACCES;
    remove_stale_new_files(target);

    const std::string new_name = new_file_name(name);
    const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
    bool named = false;
    const Descriptor file(create_new_file(folder.fd, new_name, mode, named));
    if (file.fd < 0) return errno;
    int error = 0;
    if (!write_all(file.fd, bytes)) error = errno != 0 ? errno : EIO;
    if (error == 0 && exists) {
        // The new file takes the old one's place, so it takes its owner and mode too.
        // Only the superuser can give a file away; anyone else already owns it.
        if (::geteuid() == 0 && ::fchown(file.fd, old.st_uid, old.st_gid) != 0) error = errno;
        if (error == 0 && ::fchmod(file.fd, old.st_mode & 07777) != 0) error = errno;
    }
    if (error == 0 && ::fsync(file.fd) != 0) error = errno;
    if (error == 0 && !named) error = link_unnamed(file.fd, folder.fd, new_name);
    const bool linked = error == 0 || named;
    if (error == 0 && ::renameat(folder.fd, new_name.c_str(), folder.fd, name.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        if (linked) ::unlinkat(folder.fd, new_name.c_str(), 0);
        return error;
    }
    // Keeps the folder entry of the rename; a failure here only costs durability.
    ::fsync(folder.fd);
    return 0;
}

int remove_file(const std::string& path) {
    if (path.empty()) return ENOENT;
    if (::unlink(path.c_str()) != 0) return errno == ENOENT ? 0 : errno;
    const Descriptor folder(
        ::open(split_folder(path).first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd >= 0) ::fsync(folder.fd);
    return 0;
}

void remove_stale_new_files(const std::string& path) {
    const auto [folder_path, name] = split_folder(path);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder_path.c_str()), closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const pid_t maker = maker_of(entry->d_name, name);
        if (maker <= 0 || maker == ::getpid()) continue;
        if (::kill(maker, 0) == 0 || errno != ESRCH) continue;  // its game still runs
        ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

std::string file_error_text(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return localized("нет прав на запись"_cp1251, "no permission to write");
        case EROFS:
            return localized("диск только для чтения"_cp1251, "the disk is read-only");
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return localized("нет места на диске"_cp1251, "no space left on the disk");
        case EISDIR:
        case EINVAL:
            return localized("это не обычный файл"_cp1251, "not a regular file");
        default:
            return std::strerror(error);
    }
}

}  // namespace platform
