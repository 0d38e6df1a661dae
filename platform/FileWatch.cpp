// Watching files and folders for saves.
#include "platform/FileWatch.h"

#include <QFileSystemWatcher>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace lorvenna {

namespace {

namespace fs = std::filesystem;

// Files up to these sizes are read for their digest: a file watched by name (a lesson) up to
// the first, a file of a watched folder up to the second, so that a save reads no folder of
// large pictures. Larger files count by their identity, size and times alone.
constexpr std::int64_t kDigestLimit = 4 * 1024 * 1024;
constexpr std::int64_t kFolderDigestLimit = 256 * 1024;

std::uint64_t digestOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

QString qpath(const std::string& path) {
    return QString::fromStdString(path);
}

} // namespace

FileWatch::FileWatch(std::function<void()> changed)
    : changed_(std::move(changed)), watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { checkNow(); });
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { noticed(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { noticed(); });
}

FileWatch::~FileWatch() = default;

void FileWatch::addFolder(const std::string& folder) {
    folders_.push_back(folder);
    rearm();
}

void FileWatch::addFile(const std::string& file) {
    files_.push_back(file);
    rearm();
}

void FileWatch::markSeen() {
    seen_ = snapshot();
}

void FileWatch::noticed() {
    rearm();
    // Every save starts the wait again: the files are read once the burst is over.
    settle_.start();
}

bool FileWatch::checkNow() {
    settle_.stop();
    rearm();
    Snapshot now = snapshot();
    if (now == seen_)
        return false;
    seen_ = std::move(now);
    changed_();
    return true;
}

FileWatch::Snapshot FileWatch::snapshot() const {
    std::vector<std::pair<std::string, std::int64_t>> paths; // with their digest limit
    for (const std::string& file : files_)
        paths.emplace_back(file, kDigestLimit);
    std::error_code error;
    for (const std::string& folder : folders_) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
            paths.emplace_back(entry.path().string(), kFolderDigestLimit);
    }
    Snapshot shot;
    for (const auto& [path, digestLimit] : paths) {
        FileState state;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            state.exists = true;
            state.inode = info.st_ino;
            state.size = info.st_size;
            state.modified = nanoseconds(info.st_mtim);
            state.changed = nanoseconds(info.st_ctim);
            if (state.size <= digestLimit)
                state.digest = digestOf(path);
        }
        shot[path] = state;
    }
    return shot;
}

void FileWatch::rearm() {
    QStringList wanted;
    std::error_code error;
    for (const std::string& folder : folders_) {
        wanted << qpath(folder);
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.is_regular_file(error))
                wanted << qpath(entry.path().string());
        }
    }
    for (const std::string& file : files_) {
        wanted << qpath(fs::path(file).parent_path().string());
        if (fs::is_regular_file(file, error))
            wanted << qpath(file);
    }
    // A watch follows the file it was set on: one renamed over is watched again by its name.
    QStringList stale;
    for (const QString& path : watcher_->files()) {
        struct stat info {};
        const bool present = ::stat(path.toStdString().c_str(), &info) == 0;
        const auto armed = armedInodes_.find(path.toStdString());
        if (!present || armed == armedInodes_.end() || armed->second != info.st_ino)
            stale << path;
    }
    if (!stale.isEmpty())
        watcher_->removePaths(stale);
    const QStringList watched = watcher_->files() + watcher_->directories();
    QStringList missing;
    for (const QString& path : wanted) {
        if (!watched.contains(path) && !missing.contains(path))
            missing << path;
    }
    if (missing.isEmpty())
        return;
    watcher_->addPaths(missing);
    for (const QString& path : missing) {
        struct stat info {};
        if (::stat(path.toStdString().c_str(), &info) == 0 && S_ISREG(info.st_mode))
            armedInodes_[path.toStdString()] = info.st_ino;
    }
}

} // namespace lorvenna
