#pragma once
// The wave files of one folder, read on first use and kept in memory. A file
// is read again only when it changes on disk, so a broken file costs one
// look at its size and date per call, not a read.

#include "ui/sound/Wave.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tumblara {

// The folder and the bare file name joined as given: a folder at the root
// yields two separators in a row, which names the same file.
QString SoundPath(const QString& folder, std::string_view fileName);

class WaveLibrary {
public:
    explicit WaveLibrary(QString folder);

    // The wave in `fileName`, or null when the file is missing or unplayable.
    std::shared_ptr<const Wave> Get(std::string_view fileName);

    // How many times a file was opened and read.
    int Reads() const { return reads_; }

private:
    // What tells that a file changed since it was read.
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        std::string name;
        Stamp stamp;
        std::shared_ptr<const Wave> wave;
    };

    static Stamp StampOf(const QString& path);
    std::shared_ptr<const Wave> Read(const QString& path, const Stamp& stamp);

    QString folder_;
    std::vector<Entry> entries_;
    int reads_ = 0;
};

}  // namespace tumblara
