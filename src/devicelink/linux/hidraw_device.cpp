#include "devicelink/linux/hidraw_device.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnel::hidraw {

using Clock = std::chrono::steady_clock;

namespace {

// Largest report read in one go; longer ones are cut (no collection here comes near it).
constexpr size_t kReadChunk = 4096;

struct WriteJob {
    std::vector<uint8_t> bytes;
    bool started = false;
    bool done = false;
    bool ok = false;
};

bool isHangup(short revents) { return revents & (POLLHUP | POLLERR | POLLNVAL); }

// Milliseconds left for poll(): -1 without limit, else rounded up so a wait never ends early.
int remainingMs(bool limited, Clock::time_point deadline) {
    if (!limited) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, 1 << 30));
}

}  // namespace

struct NodeState {
    int fd = -1;
    int abortFd = -1;
    bool isSocket = false;  // test nodes: send() without SIGPIPE
    std::atomic<bool> aborted{false};
    std::atomic<bool> gone{false};

    std::mutex mutex;  // guards job and stop
    std::condition_variable cv;
    std::shared_ptr<WriteJob> job;
    bool stop = false;

    ~NodeState() {
        if (fd >= 0) ::close(fd);
        if (abortFd >= 0) ::close(abortFd);
    }

    ssize_t put(const std::vector<uint8_t>& bytes) const {
        if (isSocket) return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        return ::write(fd, bytes.data(), bytes.size());
    }

    // One whole report, waiting for room; false on abort or removal.
    bool writeOne(const std::vector<uint8_t>& bytes) {
        for (;;) {
            pollfd fds[2] = {{fd, POLLOUT, 0}, {abortFd, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (fds[1].revents) return false;
            if (isHangup(fds[0].revents)) {
                gone.store(true);
                return false;
            }
            if (!(fds[0].revents & POLLOUT)) continue;
            const ssize_t n = put(bytes);
            if (n == ssize_t(bytes.size())) return true;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            if (n < 0 && (errno == ENODEV || errno == EPIPE || errno == ECONNRESET))
                gone.store(true);
            return false;
        }
    }

    static void writerLoop(std::shared_ptr<NodeState> self) {
        std::unique_lock<std::mutex> lock(self->mutex);
        for (;;) {
            self->cv.wait(lock, [&] { return self->stop || (self->job && !self->job->started); });
            if (self->stop) return;
            std::shared_ptr<WriteJob> job = self->job;
            job->started = true;
            lock.unlock();
            const bool ok = self->writeOne(job->bytes);
            lock.lock();
            job->ok = ok;
            job->done = true;
            if (self->job == job) self->job.reset();
            self->cv.notify_all();
        }
    }
};

HidrawDevice::HidrawDevice(int fd, std::string path, HidAttributes attributes,
                           HidCollectionCaps caps, bool withIdByte, bool canWrite)
    : m_state(std::make_shared<NodeState>()),
      m_path(std::move(path)),
      m_attributes(attributes),
      m_caps(std::move(caps)),
      m_withIdByte(withIdByte) {
    m_state->fd = fd;
    m_state->abortFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    struct stat st {};
    m_state->isSocket = ::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode);
    if (withIdByte)
        for (const HidUsageCap& c : m_caps.input.caps) m_inputIds.insert(c.reportId);
    if (m_state->abortFd < 0) return;
    if (canWrite) {
        try {
            // Detached: a write stuck in the kernel must not hold up whoever closes the device.
            // The thread keeps the state (and so the descriptors) alive until it has returned.
            std::thread(NodeState::writerLoop, m_state).detach();
        } catch (const std::system_error&) {
            ::close(m_state->abortFd);
            m_state->abortFd = -1;
        }
    }
}

HidrawDevice::~HidrawDevice() { abort(); }

bool HidrawDevice::ready() const { return m_state->abortFd >= 0; }

void HidrawDevice::abort() {
    m_state->aborted.store(true);
    if (m_state->abortFd >= 0) {
        const uint64_t one = 1;
        // The eventfd is never drained: every waiter now and later sees it readable.
        [[maybe_unused]] ssize_t n = ::write(m_state->abortFd, &one, sizeof one);
    }
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->stop = true;
    m_state->cv.notify_all();
}

bool HidrawDevice::hungUp() const {
    if (m_state->gone.load()) return true;
    pollfd fd{m_state->fd, 0, 0};
    return ::poll(&fd, 1, 0) > 0 && isHangup(fd.revents);
}

bool HidrawDevice::writeReport(const uint8_t* data, size_t length, int timeoutMs) {
    NodeState& s = *m_state;
    if (!data || length == 0 || s.aborted.load() || s.gone.load()) return false;
    const bool limited = timeoutMs >= 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock<std::mutex> lock(s.mutex);
    auto waitFor = [&](auto done) {
        if (!limited) {
            s.cv.wait(lock, done);
            return true;
        }
        return s.cv.wait_until(lock, deadline, done);
    };
    // One report in flight: a write still stuck from before keeps this one waiting.
    if (!waitFor([&] { return s.stop || !s.job; }) || s.stop) return false;
    auto job = std::make_shared<WriteJob>();
    job->bytes.assign(data, data + length);
    s.job = job;
    s.cv.notify_all();
    waitFor([&] { return s.stop || job->done; });
    if (job->done) return job->ok;
    // Given up: a report not yet begun is withdrawn; one being written finishes on its own copy.
    if (!job->started && s.job == job) s.job.reset();
    s.cv.notify_all();
    return false;
}

bool HidrawDevice::readReport(uint8_t* buffer, size_t length, int timeoutMs) {
    NodeState& s = *m_state;
    if (!buffer || length == 0 || s.aborted.load() || s.gone.load()) return false;
    const bool limited = timeoutMs >= 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    uint8_t chunk[kReadChunk + 1];
    for (;;) {
        pollfd fds[2] = {{s.fd, POLLIN, 0}, {s.abortFd, POLLIN, 0}};
        const int r = ::poll(fds, 2, remainingMs(limited, deadline));
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (fds[1].revents) return false;
        if (fds[0].revents & POLLIN) {
            const size_t prefix = m_withIdByte ? 0 : 1;
            const ssize_t n = ::read(s.fd, chunk + prefix, kReadChunk);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            if (n <= 0) {
                s.gone.store(true);
                return false;
            }
            chunk[0] = m_withIdByte ? chunk[0] : 0;
            // A node with several collections carries all their reports; take this one's.
            if (m_inputIds.empty() || m_inputIds.count(chunk[0])) {
                const size_t got = size_t(n) + prefix;
                std::memset(buffer, 0, length);
                std::memcpy(buffer, chunk, std::min(length, got));
                return true;
            }
        } else if (isHangup(fds[0].revents)) {
            s.gone.store(true);
            return false;
        }
        if (limited && Clock::now() >= deadline) return false;
    }
}

}  // namespace tarnel::hidraw
