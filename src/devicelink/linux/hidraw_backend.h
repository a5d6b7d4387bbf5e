// The hidraw backend: every top-level collection of every /sys/class/hidraw entry is one path;
// reports move through the /dev/hidrawN node. Paths carry "vid_xxxx&pid_xxxx" from the uevent's
// HID_ID, so candidates are matched from the path text. The sysfs root, the node folder and the node
// opener are parameters, so tests run it over a temporary tree and socket pairs.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devicelink/hid_backend.h"

namespace tarnel::hidraw {

class HidrawDevice;

// Opens a node with open(2) flags; returns the descriptor or -errno.
using NodeOpener = std::function<int(const std::string& node, int flags)>;

struct HidrawConfig {
    std::string sysfsRoot = "/sys/class/hidraw";
    std::string devRoot = "/dev";
    NodeOpener opener;  // empty: open(2)
};

class HidrawBackend : public HidBackend {
public:
    explicit HidrawBackend(HidrawConfig config = {});

    bool enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                    HidOpenError* error = nullptr) override;
    // The sysfs entry still names the same device, and no open handle of the path has hung up.
    bool isPresent(const std::string& path) override;

private:
    int openNode(const std::string& node, int flags) const;
    bool anyHungUp(const std::string& path);

    HidrawConfig m_config;
    std::mutex m_mutex;  // guards m_open
    std::vector<std::weak_ptr<HidrawDevice>> m_open;
};

}  // namespace tarnel::hidraw
