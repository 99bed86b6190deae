// The wave files of the program's folder as the player reads them: what is
// found, what is refused, and that a broken file is not read again and again.

#include "tests/ui/sound/WaveBytes.h"
#include "ui/sound/WaveLibrary.h"

#include <QFile>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tumblara {
namespace {

using testing::BrokenFiles;
using testing::SmallWave;
using testing::WriteFile;

class WaveLibraryTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

TEST_F(WaveLibraryTest, AValidFileIsReadOnceAndKept) {
    WriteFile(Path("Bonus1.wav"), SmallWave(441, '\x22'));
    WaveLibrary library(dir_.path());
    const auto wave = library.Get("Bonus1.wav");
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format, (WaveFormat{SampleEncoding::S16LE, 1, 44100}));
    ASSERT_EQ(wave->samples.size(), 882U);
    EXPECT_EQ(wave->samples.front(), std::byte{0x22});
    EXPECT_EQ(library.Get("Bonus1.wav"), wave);
    EXPECT_EQ(library.Reads(), 1);
}

TEST_F(WaveLibraryTest, EachNameHasItsOwnWave) {
    WriteFile(Path("Bonus1.wav"), SmallWave(10, '\x01'));
    WriteFile(Path("Bonus2.wav"), SmallWave(20, '\x02'));
    WaveLibrary library(dir_.path());
    ASSERT_TRUE(library.Get("Bonus1.wav") && library.Get("Bonus2.wav"));
    EXPECT_EQ(library.Get("Bonus1.wav")->samples.size(), 20U);
    EXPECT_EQ(library.Get("Bonus2.wav")->samples.size(), 40U);
}

TEST_F(WaveLibraryTest, MissingFilesAndFoldersGiveNothingWithoutOpeningAnything) {
    WaveLibrary here(dir_.path());
    WaveLibrary nowhere(dir_.filePath("no such folder"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(here.Get("Impact02.wav"));
        EXPECT_FALSE(nowhere.Get("Impact02.wav"));
    }
    EXPECT_EQ(here.Reads(), 0);
    EXPECT_EQ(nowhere.Reads(), 0);
}

TEST_F(WaveLibraryTest, AFolderNamedLikeTheFileIsNotRead) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Bonus2.wav"));
    WaveLibrary library(dir_.path());
    EXPECT_FALSE(library.Get("Bonus2.wav"));
    EXPECT_EQ(library.Reads(), 0);
}

TEST_F(WaveLibraryTest, ABrokenFileIsReadOnceWhileItStaysTheSame) {
    for (const auto& broken : BrokenFiles()) {
        WriteFile(Path("Bonus1.wav"), broken.bytes);
        WaveLibrary library(dir_.path());
        for (int i = 0; i < 50; ++i) EXPECT_FALSE(library.Get("Bonus1.wav")) << broken.kind;
        EXPECT_EQ(library.Reads(), 1) << broken.kind;
    }
}

TEST_F(WaveLibraryTest, ABrokenOrMissingFileMadeGoodLaterIsPlayed) {
    WaveLibrary library(dir_.path());
    EXPECT_FALSE(library.Get("Bonus1.wav"));
    for (const auto& broken : BrokenFiles()) {
        WriteFile(Path("Bonus1.wav"), broken.bytes);
        EXPECT_FALSE(library.Get("Bonus1.wav")) << broken.kind;
    }
    WriteFile(Path("Bonus1.wav"), SmallWave());
    EXPECT_TRUE(library.Get("Bonus1.wav"));
}

TEST_F(WaveLibraryTest, AFileReplacedByOneOfTheSameSizeIsReadAgain) {
    WriteFile(Path("Bonus2.wav"), SmallWave(100, '\x01'));
    WaveLibrary library(dir_.path());
    ASSERT_TRUE(library.Get("Bonus2.wav"));
    // Same size, written within the same clock tick perhaps: a new file (a
    // new inode) still shows, as does a changed date.
    QFile::remove(Path("Bonus2.wav"));
    WriteFile(Path("Bonus2.wav"), SmallWave(100, '\x02'));
    auto wave = library.Get("Bonus2.wav");
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->samples.front(), std::byte{0x02});
}

TEST_F(WaveLibraryTest, AFileCutInsideItsSamplesPlaysWhatItHolds) {
    WriteFile(Path("Bonus2.wav"), SmallWave(1000).left(44 + 301));
    WaveLibrary library(dir_.path());
    const auto wave = library.Get("Bonus2.wav");
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->samples.size(), 300U);
}

TEST_F(WaveLibraryTest, AFileTooLargeForAnEffectIsNeverRead) {
    QFile big(Path("Bonus2.wav"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(SmallWave());
    ASSERT_TRUE(big.resize(17 << 20));  // sparse: costs no disk
    big.close();
    WaveLibrary library(dir_.path());
    EXPECT_FALSE(library.Get("Bonus2.wav"));
    EXPECT_EQ(library.Reads(), 0);
}

TEST_F(WaveLibraryTest, AFolderWithSpacesMarksAndAccentsIsFollowed) {
    const QString folder = dir_.filePath(QString::fromUtf8("Giochi #1 % più"));
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteFile(folder + "/Impact02.wav", SmallWave());
    WaveLibrary library(folder);
    EXPECT_TRUE(library.Get("Impact02.wav"));
}

TEST_F(WaveLibraryTest, AFolderGivenWithItsTrailingSeparatorIsJoinedAsGiven) {
    // A folder at the root comes with its separator; the doubled separator
    // still names the file.
    EXPECT_EQ(SoundPath("/", "Bonus1.wav"), "//Bonus1.wav");
    EXPECT_EQ(SoundPath("/opt/game", "Bonus1.wav"), "/opt/game/Bonus1.wav");
    WriteFile(Path("Bonus1.wav"), SmallWave());
    WaveLibrary library(dir_.path() + '/');
    EXPECT_TRUE(library.Get("Bonus1.wav"));
}

}  // namespace
}  // namespace tumblara
