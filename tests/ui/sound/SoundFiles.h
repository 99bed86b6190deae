#pragma once
// Wave files built byte by byte, apart from the code under test, and the
// broken files a player may meet beside the program.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstdint>
#include <string>
#include <vector>

namespace tumblara::testing {

inline QByteArray Le(std::uint32_t value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFFU);
    return out;
}

inline std::vector<int> Samples16(const QByteArray& le) {
    std::vector<int> out;
    for (qsizetype i = 0; i + 1 < le.size(); i += 2) out.push_back(qFromLittleEndian<qint16>(le.constData() + i));
    return out;
}

// A chunk, with its pad byte when the body is odd.
inline QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(static_cast<std::uint32_t>(body.size()), 4) + body + QByteArray(body.size() & 1, '\0');
}

// "fmt " with the common 16-byte body, the frame size following from the
// other fields, and any extension.
inline QByteArray Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      const QByteArray& extension = {}) {
    const std::uint32_t frame = channels * bits / 8U;
    return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * frame, 4) + Le(frame, 2) +
                             Le(bits, 2) + extension);
}

// The extensible format, `size` bytes long: the real tag opens the sub-format
// GUID at byte 24.
inline QByteArray Ext(std::uint16_t subTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      int size = 40) {
    const QByteArray extension = Le(22, 2) + Le(bits, 2) + Le(3, 4) + Le(subTag, 2) + QByteArray(14, '\x01');
    return Fmt(0xFFFE, channels, rate, bits, extension.left(size - 16));
}

inline QByteArray Data(int bytes) { return Chunk("data", QByteArray(bytes, '\x11')); }

inline QByteArray Riff(const QByteArray& chunks) {
    return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

// 16-bit mono at 44.1 kHz.
inline QByteArray SmallWave(int frames = 441) { return Riff(Fmt(1, 1, 44100, 16) + Data(frames * 2)); }

enum class Lay { File, Missing, HugeFile };
struct Broken { const char* what; QByteArray bytes; Lay lay = Lay::File; };

inline const std::vector<Broken>& BrokenFiles() {
    static const std::vector<Broken> files{
        {"missing", {}, Lay::Missing},
        {"larger than any effect", SmallWave(), Lay::HugeFile},
        {"empty", ""},
        {"text", "RIFF is a container format, WAVE one of its kinds."},
        {"another RIFF kind", "RIFF" + Le(40, 4) + "AVI " + Fmt(1, 1, 44100, 16) + Data(8)},
        {"format cut by the end", SmallWave().left(30)},
        {"less than one frame", SmallWave().left(45)},
        {"no data chunk", Riff(Fmt(1, 1, 44100, 16))},
        {"samples before the format", Riff(Data(8) + Fmt(1, 1, 44100, 16))},
        {"format body too short", Riff(Chunk("fmt ", Fmt(1, 1, 44100, 16).mid(8, 14)) + Data(8))},
        {"extensible body without its GUID", Riff(Ext(1, 1, 44100, 16, 26) + Data(8))},
        {"a chunk claiming 4 GiB", Riff("LIST" + Le(0xFFFFFFF0, 4) + QByteArray(16, 'x'))},
        // Encodings and formats the sound server cannot take as they are.
        {"ADPCM", Riff(Fmt(2, 1, 44100, 16) + Data(64))},
        {"extensible ADPCM", Riff(Ext(2, 1, 44100, 16) + Data(64))},
        {"no channels", Riff(Fmt(1, 0, 44100, 16) + Data(64))},
        {"9 channels", Riff(Fmt(1, 9, 44100, 16) + Data(72))},
        {"rate above 384 kHz", Riff(Fmt(1, 1, 384001, 16) + Data(64))},
        {"frame size unlike the format", Riff(Fmt(1, 1, 44100, 16).replace(20, 2, Le(4, 2)) + Data(64))},
    };
    return files;
}

inline std::string FileName(const Broken& broken) { return std::string(broken.what) + ".wav"; }

inline bool Place(const QString& path, const QByteArray& bytes, Lay lay = Lay::File) {
    if (lay == Lay::Missing) return true;
    QFile file(path);
    // The huge file is sparse: it costs no disk.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           (lay != Lay::HugeFile || file.resize(17 << 20));
}

// Makes the folder too.
inline bool PlaceBrokenFiles(const QString& folder) {
    bool placed = QDir().mkpath(folder);
    for (const Broken& b : BrokenFiles())
        placed = Place(folder + '/' + QString::fromStdString(FileName(b)), b.bytes, b.lay) && placed;
    return placed;
}

}  // namespace tumblara::testing
