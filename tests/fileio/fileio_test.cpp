#include "fileio/DurableWrite.h"
#include "fileio/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class FileIoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char name[] = "/tmp/strivo-fileio-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        m_folder = name;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string file(const std::string &name) const { return m_folder + "/" + name; }

    std::vector<std::string> names() const
    {
        std::vector<std::string> list;
        for (const auto &entry : std::filesystem::directory_iterator(m_folder))
            list.push_back(entry.path().filename().string());
        std::sort(list.begin(), list.end());
        return list;
    }

    static std::string contentOf(const std::string &path)
    {
        fileio::Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        std::string text;
        char piece[4096];
        std::size_t got = 0;
        while (fd.valid() && fileio::readSome(fd.get(), piece, sizeof piece, got) == 0 && got > 0)
            text.append(piece, got);
        return text;
    }

    static void put(const std::string &path, const std::string &text)
    {
        fileio::Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        ASSERT_TRUE(fd.valid());
        ASSERT_EQ(fileio::writeAll(fd.get(), text.data(), text.size()), 0);
        ASSERT_EQ(fd.close(), 0);
    }

    std::string m_folder;
};

std::string pattern(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = char('a' + (i * 7 + i / 251) % 26);
    return text;
}

TEST(WriteLoop, ShortWritesAndInterruptionsContinueUntilEverythingIsWritten)
{
    std::string written;
    int calls = 0;
    const auto write = [&](const char *data, std::size_t size) -> ssize_t {
        ++calls;
        if (calls % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        const std::size_t n = std::min<std::size_t>(size, 5);
        written.append(data, n);
        return ssize_t(n);
    };
    const std::string text = pattern(23);
    EXPECT_EQ(fileio::writeAllVia(write, text.data(), text.size()), 0);
    EXPECT_EQ(written, text);
    EXPECT_GT(calls, 5);
}

TEST(WriteLoop, NoProgressMeansFullDiskAndOtherErrorsStopTheLoop)
{
    int calls = 0;
    // Half, then nothing; a loop that retried would end in the error after a few calls.
    const auto stuck = [&](const char *, std::size_t size) -> ssize_t {
        if (++calls == 1)
            return ssize_t(size / 2);
        if (calls < 10)
            return 0;
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(fileio::writeAllVia(stuck, "abcd", 4), ENOSPC);
    EXPECT_EQ(calls, 2);

    const auto broken = [](const char *, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(fileio::writeAllVia(broken, "abcd", 4), EIO);
    // Nothing to write never calls write at all, so never mistakes its 0 for a full disk.
    EXPECT_EQ(fileio::writeAllVia(broken, "", 0), 0);
}

TEST(Failures, SpaceAndSizeLimitsAreTheirOwnKinds)
{
    EXPECT_EQ(fileio::failureOf(ENOSPC), fileio::Failure::NoSpace);
    EXPECT_EQ(fileio::failureOf(EDQUOT), fileio::Failure::NoSpace);
    EXPECT_EQ(fileio::failureOf(EFBIG), fileio::Failure::TooLarge);
    EXPECT_EQ(fileio::failureOf(ENOTDIR), fileio::Failure::Missing);
    EXPECT_EQ(fileio::failureOf(EROFS), fileio::Failure::ReadOnly);
    EXPECT_EQ(fileio::failureOf(EIO), fileio::Failure::Other);
}

TEST(RealFiles, AFullDeviceReportsNoSpace)
{
    fileio::Fd full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    if (!full.valid())
        GTEST_SKIP() << "/dev/full is missing";
    const std::string text = pattern(10000);
    const int err = fileio::writeAll(full.get(), text.data(), text.size());
    EXPECT_EQ(err, ENOSPC);
    EXPECT_EQ(fileio::failureOf(err), fileio::Failure::NoSpace);
}

TEST_F(FileIoTest, AFileSizeLimitStopsAfterTheShortWriteWithTooLarge)
{
    const std::string path = file("begrenzt");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 1000, 1000 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        fileio::Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        const std::string text = pattern(3000);
        _exit(fd.valid() ? fileio::writeAll(fd.get(), text.data(), text.size()) : 100);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), EFBIG);
    // The short write before the limit kept its bytes.
    EXPECT_EQ(contentOf(path), pattern(1000));
}

TEST_F(FileIoTest, CopyingGivesTheSameBytesFromFilesAndPipes)
{
    const std::string text = pattern(3 << 20);
    put(file("quelle"), text);
    {
        fileio::Fd in(::open(file("quelle").c_str(), O_RDONLY | O_CLOEXEC));
        fileio::Fd out(::open(file("ziel").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        ASSERT_EQ(fileio::copyContent(in.get(), out.get()), 0);
        EXPECT_EQ(fileio::syncFile(out.get()), 0);
        EXPECT_EQ(out.close(), 0);
    }
    EXPECT_EQ(contentOf(file("ziel")), text);

    // A pipe cannot be copied in the kernel: the read and write path takes over.
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    fileio::Fd reading(channel[0]);
    fileio::Fd writing(channel[1]);
    const std::string small = pattern(4000); // fits into the pipe's buffer
    ASSERT_EQ(fileio::writeAll(writing.get(), small.data(), small.size()), 0);
    ASSERT_EQ(writing.close(), 0);
    fileio::Fd out(::open(file("aus-pipe").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_EQ(fileio::copyContent(reading.get(), out.get()), 0);
    EXPECT_EQ(contentOf(file("aus-pipe")), small);
}

TEST_F(FileIoTest, PlacingNeverReplacesAFile)
{
    put(file("neu"), "neu");
    put(file("alt"), "alt");
    EXPECT_EQ(fileio::placeNoReplace(file("neu"), file("alt")), EEXIST);
    EXPECT_EQ(contentOf(file("alt")), "alt");
    EXPECT_EQ(contentOf(file("neu")), "neu");

    EXPECT_EQ(fileio::placeNoReplace(file("neu"), file("frei")), 0);
    EXPECT_EQ(contentOf(file("frei")), "neu");
    EXPECT_NE(::access(file("neu").c_str(), F_OK), 0);

    EXPECT_EQ(fileio::placeNoReplace(file("fehlt"), file("auch")), ENOENT);
}

TEST_F(FileIoTest, SyncingReportsWhetherThereWasSomethingToSync)
{
    put(file("a"), "x");
    EXPECT_TRUE(fileio::syncFolder(m_folder));
    EXPECT_TRUE(fileio::syncFolderOf(file("a")));
    EXPECT_TRUE(fileio::syncPath(file("a")));
    EXPECT_FALSE(fileio::syncFolder(file("fehlt")));
    EXPECT_FALSE(fileio::syncFolder(file("a"))); // a file is no folder
    EXPECT_FALSE(fileio::syncFolderOf(file("fehlt/a")));
    EXPECT_FALSE(fileio::syncPath(file("fehlt")));

    fileio::Fd closed(::open(file("a").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(closed.close(), 0);
    EXPECT_EQ(fileio::syncFile(closed.get()), EBADF);
}

using Temporary = fileio::DurableWrite::Temporary;
using Naming = fileio::DurableWrite::Naming;

TEST_F(FileIoTest, ADurableWriteNamesTheWholeFileOnlyAtTheEndAndLeavesNoTemporaryName)
{
    struct Case
    {
        Temporary temporary;
        Naming naming;
        bool targetExists;
        int result;
        const char *content; // of the target afterwards
    };
    const Case cases[] = {
        { Temporary::Fixed, Naming::Replace, true, 0, "neu" },
        { Temporary::Unique, Naming::Replace, true, 0, "neu" },
        { Temporary::Unique, Naming::KeepExisting, true, EEXIST, "alt" },
        { Temporary::UnnamedOrUnique, Naming::KeepExisting, true, EEXIST, "alt" },
        { Temporary::Fixed, Naming::Replace, false, 0, "neu" },
        { Temporary::Unique, Naming::KeepExisting, false, 0, "neu" },
        { Temporary::UnnamedOrUnique, Naming::KeepExisting, false, 0, "neu" },
    };
    for (const Case &c : cases) {
        const std::string target = file("ziel");
        ::unlink(target.c_str());
        if (c.targetExists)
            put(target, "alt");
        std::string seenBeforeNaming;
        {
            fileio::DurableWrite out;
            ASSERT_EQ(out.open(target, c.temporary), 0);
            ASSERT_EQ(out.write("neu", 3), 0);
            EXPECT_EQ(out.commit(c.naming, fileio::DurableWrite::Flush::Now,
                                 [&] { seenBeforeNaming = contentOf(target); }),
                      c.result);
        }
        const int row = int(&c - cases);
        EXPECT_EQ(seenBeforeNaming, c.targetExists ? "alt" : "") << row;
        EXPECT_EQ(contentOf(target), c.content) << row;
        EXPECT_EQ(names(), std::vector<std::string> { "ziel" }) << row;
    }
}

TEST_F(FileIoTest, ADurableWriteNeverWritesThroughALinkAndAnUnfinishedOneLeavesNothing)
{
    put(file("opfer"), "opfer");
    put(file("ziel"), "alt");
    ASSERT_EQ(::symlink(file("opfer").c_str(), file("ziel.tmp").c_str()), 0);
    {
        fileio::DurableWrite out;
        ASSERT_EQ(out.open(file("ziel"), Temporary::Fixed), 0);
        ASSERT_EQ(out.write("neu", 3), 0);
        ASSERT_EQ(out.commit(Naming::Replace), 0);
    }
    EXPECT_EQ(contentOf(file("opfer")), "opfer");
    EXPECT_EQ(contentOf(file("ziel")), "neu");

    for (const Temporary temporary : { Temporary::Fixed, Temporary::Unique }) {
        fileio::DurableWrite out;
        ASSERT_EQ(out.open(file("ziel"), temporary), 0);
        ASSERT_EQ(out.write("halb", 4), 0);
    }
    EXPECT_EQ(contentOf(file("ziel")), "neu");
    EXPECT_EQ(names(), (std::vector<std::string> { "opfer", "ziel" }));

    fileio::DurableWrite nowhere;
    EXPECT_EQ(nowhere.open(file("fehlt/ziel"), Temporary::Unique), ENOENT);
    fileio::DurableWrite scratch;
    ASSERT_EQ(scratch.openScratch(m_folder), 0);
    ASSERT_EQ(scratch.write("x", 1), 0);
    EXPECT_EQ(names(), (std::vector<std::string> { "opfer", "ziel" }));
}

TEST_F(FileIoTest, OnlyTheTemporaryNamesOfEndedWritersAreRemoved)
{
    // A writer killed before it named its file leaves the unique temporary name behind.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        fileio::DurableWrite out;
        const bool opened = out.open(file("ziel"), Temporary::Unique) == 0;
        ::_exit(opened ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    put(file(".strivo-fremd.tmp"), "keine Nummer");
    fileio::DurableWrite running;
    ASSERT_EQ(running.open(file("ziel"), Temporary::Unique), 0);
    EXPECT_EQ(names().size(), 3u);

    fileio::removeAbandonedTemporaries(m_folder);
    std::vector<std::string> left = names();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].rfind(".strivo-" + std::to_string(::getpid()) + "-", 0), 0u) << left[0];
    EXPECT_EQ(left[1], ".strivo-fremd.tmp");
}

} // namespace
