// `onConnectionChanged`: the application's reaction when the keyboard is found or
// removed. Runs on the discovery thread.
#pragma once
#include "devicelink/connection_observer.h"

namespace tarnel {

struct AppContext;
class CommandSet;
class WindowPort;

inline constexpr const char* kDefaultMatrixPromptKey = "MAIN_DEFAULT_MATRIX_PROMPT";

class ConnectionChange : public ConnectionObserver {
public:
    // `commands` runs over the command connection and `context.link`.
    ConnectionChange(AppContext& context, CommandSet& commands, WindowPort& window);
    void onConnectionChanged(int state) override;

private:
    void connected();
    void disconnected(bool wasConnected);

    AppContext& m_context;
    CommandSet& m_commands;
    WindowPort& m_window;
};

}  // namespace tarnel
