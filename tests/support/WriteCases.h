// Ways a write of a file the player owns can fail, and the few where it must
// succeed all the same, for every writer of such files. Cases that a
// privileged user would get through (a folder or a file without write
// permission) run in a child process as an unprivileged user: the tests may
// run as root, which writes anywhere. The child reports through its exit code.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace writetest {

enum class Folder { Writable, ReadOnly, Missing, AFile };
enum class Old { None, Shorter, Longer };    // the earlier file, against what the write makes
enum class Limit { None, PastOld, Tiny };    // a full disk: a byte past the earlier file, or 8 bytes

struct WriteCase {
    const char* Name;
    Folder Where;
    Old Earlier;
    mode_t OldMode;
    Limit Full;
    bool Unprivileged;
    bool Written;
};

// A writer of one kind of file, with earlier files its write makes longer and
// shorter.
struct Writer {
    QByteArray Shorter;
    QByteArray Longer;
    std::function<bool(const QString& path)> Write;
};

inline const std::vector<WriteCase> kCases{
    {"MissingFolder", Folder::Missing, Old::None, 0644, Limit::None, false, false},
    {"FolderIsAFile", Folder::AFile, Old::None, 0644, Limit::None, false, false},
    {"FullDisk", Folder::Writable, Old::Shorter, 0644, Limit::PastOld, false, false},
    {"FullDiskShrinking", Folder::Writable, Old::Longer, 0644, Limit::Tiny, false, false},
    {"ReadOnlyFile", Folder::Writable, Old::Shorter, 0444, Limit::None, true, false},
    {"ReadOnlyFolder", Folder::ReadOnly, Old::Shorter, 0644, Limit::None, true, true},
    {"ReadOnlyFolderShrinking", Folder::ReadOnly, Old::Longer, 0644, Limit::None, true, true},
    {"ReadOnlyFolderFullDisk", Folder::ReadOnly, Old::Shorter, 0644, Limit::PastOld, true, false},
    {"ReadOnlyFolderFullDiskShrinking", Folder::ReadOnly, Old::Longer, 0644, Limit::Tiny, true, false},
};

constexpr uid_t kNobody = 65534;

// The user an unprivileged write runs as: "nobody" under root, else ourselves.
inline uid_t WriterUid() { return geteuid() == 0 ? kNobody : geteuid(); }

inline QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Enough of a file to tell one from another in a failure.
inline std::string Show(const QByteArray& bytes) {
    return std::to_string(bytes.size()) + " bytes: " + bytes.left(40).toPercentEncoding().toStdString();
}

inline void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Runs `write` with the disk full at `limit` bytes (none: 0), as the writer
// user when `unprivileged`; its result, or nullopt when it could not run.
inline std::optional<bool> Run(const std::function<bool()>& write, rlim_t limit, bool unprivileged) {
    const auto limited = [&] {
        rlimit small{};
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = limit;
        return setrlimit(RLIMIT_FSIZE, &small) == 0;
    };
    if (!unprivileged) {
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldSignal = signal(SIGXFSZ, SIG_IGN);
        const bool ready = limit == 0 || limited();
        const bool written = ready && write();
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, oldSignal);
        if (!ready) return std::nullopt;
        return written;
    }
    const pid_t child = fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        alarm(60);  // a child that hangs fails the test instead of stopping it
        signal(SIGXFSZ, SIG_IGN);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        if (limit != 0 && !limited()) _exit(3);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1) return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Runs every case with `writer`: a failed write returns false and leaves the
// earlier file byte for byte, and nothing else, in its folder; one that must
// succeed makes the same file a write in a writable folder makes.
inline void RunCases(const Writer& writer, const std::vector<WriteCase>& cases = kCases) {
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        const QByteArray old = c.Earlier == Old::Shorter ? writer.Shorter : writer.Longer;

        // What the write makes of the earlier file where nothing stands in its way.
        const QString plain = dir.filePath("plain.txt");
        if (c.Earlier != Old::None) Put(plain, old);
        ASSERT_TRUE(writer.Write(plain));
        const QByteArray made = Bytes(plain);
        ASSERT_NE(made, old);
        const rlim_t limit = c.Full == Limit::PastOld ? rlim_t(old.size() + 1) : c.Full == Limit::Tiny ? 8 : 0;
        ASSERT_TRUE(limit == 0 || rlim_t(made.size()) > limit) << "a disk that takes the whole file";
        ASSERT_TRUE(c.Full != Limit::Tiny || made.left(8) != old.left(8)) << "a disk that takes no changed byte";

        const QString folder = dir.filePath("folder");
        QString path = folder + "/file.txt";
        if (c.Where == Folder::Missing) path = folder + "/missing/file.txt";
        if (c.Where == Folder::AFile) {
            Put(folder, "a file");
            path = folder + "/file.txt";
        } else {
            ASSERT_TRUE(QDir().mkpath(folder));
            if (c.Earlier != Old::None) {
                Put(path, old);
                ASSERT_EQ(chown(QFile::encodeName(path).constData(), WriterUid(), -1), 0);
                ASSERT_EQ(chmod(QFile::encodeName(path).constData(), c.OldMode), 0);
            }
            ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), c.Where == Folder::ReadOnly ? 0555 : 0777), 0);
        }

        const std::optional<bool> written = Run([&] { return writer.Write(path); }, limit, c.Unprivileged);
        chmod(QFile::encodeName(folder).constData(), 0755);
        ASSERT_TRUE(written.has_value()) << "the write could not run";
        EXPECT_EQ(*written, c.Written);
        if (c.Earlier == Old::None) {
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        const QByteArray now = Bytes(path);
        EXPECT_TRUE(now == (c.Written ? made : old)) << Show(now) << " instead of " << Show(c.Written ? made : old);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1) << "a temporary file stays behind";
    }
}

}  // namespace writetest
