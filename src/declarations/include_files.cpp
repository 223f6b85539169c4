// Include files: the DOS name taken apart, each part looked up in its folder, exactly or
// without regard to case.
#include "declarations/include_files.hpp"

#include "text/characters.hpp"

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace dravent {

// The entry of folder whose name equals part without regard to case, or part itself when it
// exists as written (or nothing matches, or the lists read have reached their bound).
std::string include_guard::find_entry(const std::string& folder, std::string_view part)
{
    std::string exact = folder + "/" + std::string(part);
    struct stat status {};
    if (::lstat(exact.c_str(), &status) == 0 || part.size() > NAME_MAX || entries_read_ >= max_entries_read) {
        return exact;  // found; longer than any entry's name; or no more lists are read
    }
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return exact;
    }
    std::string found = exact;
    while (const dirent* entry = ::readdir(directory)) {
        ++entries_read_;
        if (equal_folded(entry->d_name, part)) {
            found = folder + "/" + entry->d_name;
            break;
        }
    }
    ::closedir(directory);
    return found;
}

std::string folder_of(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

int include_guard::open(std::string_view name, std::string_view folder, int depth, std::string& found_folder)
{
    if (before_first_open_) {
        std::exchange(before_first_open_, nullptr)();
    }
    if (name.empty() || depth >= max_depth) {
        return -1;
    }
    // A DOS name: "\" or "/" between its parts; a drive letter names no folder here.
    if (name.size() >= 2 && name[1] == ':') {
        name.remove_prefix(2);
    }
    std::string path = name.front() == '/' || name.front() == '\\' ? std::string() : std::string(folder);
    std::size_t at = 0;
    while (at < name.size()) {
        const std::size_t end = find_from(name, at, [](char c) { return c == '/' || c == '\\'; });
        const std::string_view part = name.substr(at, end - at);
        if (!part.empty() && part != ".") {
            path = find_entry(path.empty() ? std::string("/") : path, part);
        }
        at = end + 1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    for (const open_file& file : open_) {
        if (file.device == status.st_dev && file.inode == status.st_ino) {
            ::close(fd);
            return -1;  // the file includes itself, directly or through others
        }
    }
    open_.push_back({fd, static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino)});
    found_folder = folder_of(path);
    return fd;
}

void include_guard::close(int fd)
{
    if (!open_.empty() && open_.back().fd == fd) {
        open_.pop_back();
    }
    ::close(fd);
}

} // namespace dravent
