#include "ui/sound/WaveLibrary.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace tumblara {
namespace {

// Larger files are not sound effects; reading them would stall the game.
constexpr std::uint64_t kMaxFileBytes = 16U << 20U;

}  // namespace

QString SoundPath(const QString& folder, std::string_view fileName) {
    return folder + u'/' + QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size()));
}

WaveLibrary::WaveLibrary(QString folder) : folder_(std::move(folder)) {}

std::shared_ptr<const Wave> WaveLibrary::Get(std::string_view fileName) {
    const QString path = SoundPath(folder_, fileName);
    const Stamp stamp = StampOf(path);
    auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == fileName; });
    if (entry == entries_.end()) {
        entries_.push_back(Entry{std::string(fileName), Stamp{}, nullptr});
        entry = std::prev(entries_.end());
    } else if (entry->stamp == stamp) {
        return entry->wave;
    }
    entry->stamp = stamp;
    entry->wave = stamp.exists ? Read(path, stamp) : nullptr;
    return entry->wave;
}

WaveLibrary::Stamp WaveLibrary::StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return Stamp{};
    return Stamp{true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                 static_cast<std::uint64_t>(info.st_size),
                 static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::shared_ptr<const Wave> WaveLibrary::Read(const QString& path, const Stamp& stamp) {
    if (stamp.size > kMaxFileBytes) return nullptr;
    QFile file(path);
    ++reads_;
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    // Asking for more than the file holds would allocate all of it.
    const QByteArray bytes = file.read(std::min(file.size(), static_cast<qint64>(kMaxFileBytes)));
    const std::span<const std::byte> view(reinterpret_cast<const std::byte*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size()));
    const auto layout = ParseWave(view);
    if (!layout) return nullptr;
    auto wave = std::make_shared<Wave>();
    wave->format = layout->format;
    const auto samples = view.subspan(layout->dataOffset, layout->dataSize);
    wave->samples.assign(samples.begin(), samples.end());
    return wave;
}

}  // namespace tumblara
