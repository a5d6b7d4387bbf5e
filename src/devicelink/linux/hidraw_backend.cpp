#include "devicelink/linux/hidraw_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "devicelink/linux/hidraw_device.h"
#include "devicelink/linux/hidraw_sysfs.h"

namespace tarnel::hidraw {
namespace {

HidOpenError errorOf(int err) {
    switch (err) {
        case EACCES:
        case EPERM: return HidOpenError::PermissionDenied;
        case ENOENT:
        case ENODEV:
        case ENXIO: return HidOpenError::NotFound;
        default: return HidOpenError::Other;
    }
}

int accessFlags(const HidOpenOptions& o) {
    if (o.read && o.write) return O_RDWR;
    return o.write ? O_WRONLY : O_RDONLY;
}

// A thin owner that lets the backend keep a weak reference to the device it handed out.
class SharedDevice : public HidDevice {
public:
    explicit SharedDevice(std::shared_ptr<HidrawDevice> device) : m_device(std::move(device)) {}
    ~SharedDevice() override { m_device->abort(); }
    bool writeReport(const uint8_t* d, size_t n, int t) override { return m_device->writeReport(d, n, t); }
    bool readReport(uint8_t* b, size_t n, int t) override { return m_device->readReport(b, n, t); }
    void abort() override { m_device->abort(); }
    HidAttributes attributes() const override { return m_device->attributes(); }
    const HidCollectionCaps& caps() const override { return m_device->caps(); }

private:
    std::shared_ptr<HidrawDevice> m_device;
};

}  // namespace

HidrawBackend::HidrawBackend(HidrawConfig config) : m_config(std::move(config)) {}

int HidrawBackend::openNode(const std::string& node, int flags) const {
    if (m_config.opener) return m_config.opener(node, flags);
    const int fd = ::open(node.c_str(), flags);
    return fd >= 0 ? fd : -errno;
}

bool HidrawBackend::enumerate(std::vector<std::string>& paths) {
    std::vector<unsigned> numbers;
    if (!ListNodes(m_config.sysfsRoot, numbers)) return false;
    for (unsigned n : numbers) {
        const std::optional<NodeInfo> node = ReadNode(m_config.sysfsRoot, n);
        if (!node) continue;  // gone meanwhile, or malformed: not a device we can use
        for (size_t c = 0; c < node->collections.size(); ++c)
            paths.push_back(MakePath(m_config.devRoot, *node, c));
    }
    return true;
}

std::unique_ptr<HidDevice> HidrawBackend::open(const std::string& path,
                                               const HidOpenOptions& options, HidOpenError* error) {
    auto fail = [&](HidOpenError e) -> std::unique_ptr<HidDevice> {
        if (error) *error = e;
        return nullptr;
    };
    PathParts parts;
    if (!ParsePath(m_config.devRoot, path, parts)) return fail(HidOpenError::NotFound);
    const std::optional<NodeInfo> node = ReadNode(m_config.sysfsRoot, parts.number);
    // A reused number names another device: the path is gone.
    if (!node || node->identity != parts.identity || parts.collection >= node->collections.size())
        return fail(HidOpenError::NotFound);
    // hidraw knows no sharing modes; `exclusive` is not enforced here.
    const std::string nodePath = m_config.devRoot + "/hidraw" + std::to_string(parts.number);
    const int fd = openNode(nodePath, accessFlags(options) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errorOf(-fd));
    HidAttributes attributes{node->vendorId, node->productId, 0};
    auto device = std::make_shared<HidrawDevice>(fd, path, attributes,
                                                 node->collections[parts.collection],
                                                 node->usesReportIds, options.write);
    if (!device->ready()) return fail(HidOpenError::Other);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::erase_if(m_open, [](const std::weak_ptr<HidrawDevice>& w) { return w.expired(); });
        m_open.push_back(device);
    }
    if (error) *error = HidOpenError::None;
    return std::make_unique<SharedDevice>(std::move(device));
}

bool HidrawBackend::anyHungUp(const std::string& path) {
    std::vector<std::shared_ptr<HidrawDevice>> same;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& weak : m_open)
            if (auto d = weak.lock(); d && d->path() == path) same.push_back(std::move(d));
    }
    for (const auto& d : same)
        if (d->hungUp()) return true;
    return false;
}

bool HidrawBackend::isPresent(const std::string& path) {
    PathParts parts;
    if (!ParsePath(m_config.devRoot, path, parts)) return false;
    const std::optional<NodeInfo> node = ReadNode(m_config.sysfsRoot, parts.number);
    if (!node || node->identity != parts.identity) return false;
    return !anyHungUp(path);
}

}  // namespace tarnel::hidraw
