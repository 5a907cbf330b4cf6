// Open files and folders held by their descriptors, closed when they go, and whole writes through
// them: the working folder is read and written this way so that no link is followed.
#pragma once
#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unistd.h>
#include <utility>

namespace platform {

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(Fd&& o) noexcept : m_fd(std::exchange(o.m_fd, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
        std::swap(m_fd, o.m_fd);
        return *this;
    }
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// Writes every byte, through interruptions and short writes; false when the file will take no more.
inline bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// The file from where it stands to its end, read no further than one byte past `limit` (so a file
// that grows meanwhile is caught too); `size` (its size as stated) sizes the first buffer. None on a
// read error.
inline std::optional<QByteArray> readAtMost(int fd, qint64 limit, qint64 size) {
    QByteArray bytes(qsizetype(std::clamp<qint64>(size, 0, limit) + 1), Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > limit) break;
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, qsizetype(limit) + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

}  // namespace platform
