// Game paths on this system's file tree.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform {

std::string native_path(std::string_view game_path) {
    std::string path(game_path);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
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
    const std::string path = native_path(game_pattern);
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);

    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "/" : folder.c_str()),
                                            closedir);
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (wildcard_match(pattern, name)) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());  // byte order: std::string compares as unsigned char
    return names;
}

std::string temp_folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::optional<std::vector<std::uint8_t>> read_file(const std::string& path, std::size_t max_size) {
    // Only regular files: opening a named pipe would wait for a writer forever.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (got == 0) break;
        if (bytes.size() + got > max_size) return std::nullopt;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

bool stream_readable(std::ifstream& input) {
    if (!input.is_open()) return false;
    input.peek();
    const bool ok = !input.bad();
    input.clear();
    return ok;
}

namespace {
// Asks the file system to keep the folder entry of a rename; failures only cost durability.
void sync_folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}
}  // namespace

bool replace_file(const std::string& path, const std::string& bytes) {
    const std::string new_path = path + ".new";
    std::FILE* file = std::fopen(new_path.c_str(), "wb");
    if (file == nullptr) return false;  // not ours to remove: it may be something else entirely
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ok && ::fsync(fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(new_path.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(new_path.c_str());
        return false;
    }
    sync_folder(path);
    return true;
}

}  // namespace platform
