// Watching files and folders for saves: what editors do (write in place, or write a new file
// and rename it over the old one, or several saves in a row) becomes one changed() call once
// the files have settled and their contents differ from what was seen last.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QFileSystemWatcher;

namespace lorvenna {

class FileWatch final : public QObject {
public:
    // How long the files must stay quiet before they are looked at: a burst of saves a few
    // milliseconds apart is read once, after the last of them.
    static constexpr int kSettleMs = 25;

    explicit FileWatch(std::function<void()> changed);
    ~FileWatch() override;

    // A folder whose every file counts (host path). Its files are watched as well as the
    // folder itself, so a write in place is seen too.
    void addFolder(const std::string& folder);
    // One file that counts (host path); its folder is watched for renames, the folder's other
    // files do not count.
    void addFile(const std::string& file);
    // Takes the present state as the one seen: only a change after this is reported.
    void markSeen();

    // Looks at the files now, as the settle timer does: reports a change since the state last
    // seen, and takes the present state as seen. True when there was one.
    bool checkNow();

private:
    // What a file is now: missing, or its identity, size, times and (for files small enough
    // to read at once) a digest of its bytes, which tells two saves within one tick of the
    // file system's clock apart.
    struct FileState {
        bool exists = false;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modified = 0;
        std::int64_t changed = 0;
        std::uint64_t digest = 0;
        bool operator==(const FileState&) const = default;
    };
    using Snapshot = std::map<std::string, FileState>;

    void noticed();
    Snapshot snapshot() const;
    // Puts back the watches a rename took away, and watches files new in a watched folder.
    void rearm();

    std::function<void()> changed_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer settle_;
    std::vector<std::string> folders_;
    std::vector<std::string> files_;
    Snapshot seen_;
    std::map<std::string, std::uint64_t> armedInodes_; // of the files watched, when armed
};

} // namespace lorvenna
