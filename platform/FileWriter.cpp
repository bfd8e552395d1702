#include "platform/FileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The earlier file is held in memory to be put back; no file of ours comes
// near this size.
constexpr qint64 kMaxInPlaceBytes = 64 << 20;

// How many of `bytes` reached the file at `offset`; fewer when the disk
// refused the rest.
qsizetype WriteAt(int fd, QByteArrayView bytes, qsizetype offset) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pwrite(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

bool ReadAt(int fd, QByteArray& bytes, qsizetype offset) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pread(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// A folder that takes no new file may still hold a writable one (a program
// folder the player may not change, with the settings file made theirs). It
// is overwritten where it lies, in an order that lets every failure put the
// earlier bytes back.
bool OverwriteInPlace(const QString& path, const QByteArray& bytes) {
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxInPlaceBytes) return false;
    QByteArray old(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
    if (!ReadAt(fd, old, 0)) return false;

    // The first `changed` bytes of the file may hold new bytes.
    const auto restore = [&](qsizetype changed) {
        WriteAt(fd, QByteArrayView(old).first(std::min(changed, old.size())), 0);
        if (ftruncate(fd, old.size()) == 0) fsync(fd);
        return false;
    };
    // The bytes past the earlier end go first: a disk that cannot take them
    // fails the write before any earlier byte is touched.
    if (bytes.size() > old.size()) {
        const QByteArrayView tail = QByteArrayView(bytes).sliced(old.size());
        if (WriteAt(fd, tail, old.size()) != tail.size()) return restore(0);
    }
    const qsizetype common = std::min(old.size(), bytes.size());
    const qsizetype written = WriteAt(fd, QByteArrayView(bytes).first(common), 0);
    if (written != common) return restore(written);
    if (bytes.size() < old.size() && ftruncate(fd, bytes.size()) != 0) return restore(common);
    if (fsync(fd) != 0) return restore(old.size());
    return true;
}

}  // namespace

bool ReplaceFile(const QString& path, const QByteArray& bytes) {
    // Written beside the target and renamed over it only once whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QFileInfo(path).isFile() && OverwriteInPlace(path, bytes);
    // commit() alone misses a write that fails as the last bytes are flushed
    // (a full disk): the flush is asked on its own.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && fsync(file.handle()) == 0 && file.commit();
    if (!written) file.cancelWriting();
    return written;
}

}  // namespace platform
