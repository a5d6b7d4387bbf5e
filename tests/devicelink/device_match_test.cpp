#include "devicelink/device_match.h"

#include <gtest/gtest.h>

#include <map>

#include "devicelink/hid_backend.h"
#include "devicelink/keyboard_model.h"

namespace tarnel {
namespace {

class NoDevices : public HidBackend {
public:
    bool enumerate(std::vector<std::string>&) override { return true; }
    std::unique_ptr<HidDevice> open(const std::string&, const HidOpenOptions&,
                                    HidOpenError*) override {
        return nullptr;
    }
    bool isPresent(const std::string&) override { return false; }
    bool enumerationIds(const std::string& path, uint16_t& v, uint16_t& p) override {
        auto it = ids.find(path);
        if (it == ids.end()) return false;
        v = it->second.first, p = it->second.second;
        return true;
    }
    std::map<std::string, std::pair<uint16_t, uint16_t>> ids;
};

TEST(DeviceMatch, PathText) {
    struct Case {
        const char* path;
        uint16_t vid, pid;
        char model;  // 0: no candidate
    };
    const Case cases[] = {
        {R"(\\?\hid#vid_0c45&pid_5004&mi_01#7&1a2b#{4d1e55b2})", 0x0C45, 0x5004, 'A'},
        {R"(\\?\HID#VID_0C45&PID_5004&MI_01#7&1A2B)", 0x0C45, 0x5004, 'A'},
        {"/dev/hidraw3 Vid_320F&Pid_5000", 0x320F, 0x5000, 'B'},
        {"vid_10c45&pid_15004", 0x0C45, 0x5004, 'A'},  // only the low 16 bits count
        {"vid_0c45", 0x0C45, 0, 0},                      // missing key reads as 0
        {"vid_0c45&pid_5000", 0x0C45, 0x5000, 0},        // a pair of two models is none
        {"vid_&pid_zz", 0, 0, 0},
        {"", 0, 0, 0},
    };
    NoDevices backend;
    for (const Case& c : cases) {
        uint16_t vid = 1, pid = 1;
        ParsePathIds(c.path, vid, pid);
        EXPECT_EQ(vid, c.vid) << c.path;
        EXPECT_EQ(pid, c.pid) << c.path;
        const KeyboardModel* m = CandidateModel(backend, c.path);
        EXPECT_EQ(m ? m->name : 0, c.model) << c.path;
    }
}

TEST(DeviceMatch, EnumerationIdsWinOverThePathText) {
    NoDevices backend;
    backend.ids["/dev/hidraw0"] = {0x320F, 0x5000};
    backend.ids["vid_0c45&pid_5004"] = {0x1234, 0x5678};
    EXPECT_EQ(CandidateModel(backend, "/dev/hidraw0"), &kModels[1]);
    EXPECT_EQ(CandidateModel(backend, "vid_0c45&pid_5004"), nullptr);
    EXPECT_EQ(CandidateModel(backend, "/dev/hidraw1"), nullptr);
}

}  // namespace
}  // namespace tarnel
