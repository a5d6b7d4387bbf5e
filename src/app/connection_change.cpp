#include "app/connection_change.h"

#include "app/app_context.h"
#include "app/window_port.h"
#include "devicelink/command_set.h"
#include "devicelink/event_observer.h"

namespace tarnel {

ConnectionChange::ConnectionChange(AppContext& context, CommandSet& commands, WindowPort& window)
    : m_context(context), m_commands(commands), m_window(window) {}

void ConnectionChange::onConnectionChanged(int state) {
    bool now = state != 0;
    bool was = m_context.uiConnected.load();
    if (now == was) return;
    if (now)
        connected();
    else
        disconnected(was);
    m_context.uiConnected.store(now);
    if (!m_context.noAutoOpen.load()) {
        if (now) m_window.postOpen();
        m_context.noAutoOpen.store(true);
    }
}

void ConnectionChange::connected() {
    DefaultMatrix matrix{};
    if (m_commands.CmdReadDefaultKeyTable(matrix.data()) == ResultOk)
        m_context.setDefaultMatrix(matrix);
    else
        m_window.showMessage(kDefaultMatrixPromptKey);  // the previous matrix stays
    uint8_t info[kInfoBlockSize] = {};
    if (m_commands.CmdReadInfo(info) == ResultOk)
        m_context.macroCapacity.store(info[kInfoMacroUnitsOffset] * kMacroCapacityUnit);
    m_window.sendReloadProfile();  // false only when cancelled: nothing left to undo
    m_window.setTrayIcon(kTrayIconConnected, true);
}

void ConnectionChange::disconnected(bool wasConnected) {
    if (wasConnected) {
        m_context.link.activeProfileCache.store(-1);
        m_window.sendCloseEditors();
        m_window.hideWindow();
    }
    m_window.setTrayIcon(kTrayIconDisconnected, true);
}

}  // namespace tarnel
