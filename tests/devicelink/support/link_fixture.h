// A command connection to a test keyboard, connected once and with an empty frame log.
#pragma once
#include <gtest/gtest.h>

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "test_keyboard.h"

namespace tarnel::testing {

struct Link {
    explicit Link(const KeyboardModel& model = kModelA) : keyboard(model) {}
    bool connect() {
        bool ok = ConnectFirst(connection, keyboard, link);
        keyboard.clearLog();
        return ok;
    }
    TestKeyboard keyboard;
    DeviceConnection connection{keyboard};
    LinkState link;
    CommandSet commands{connection, link};
};

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(k.connect()); }
    Link k;
};

}  // namespace tarnel::testing
