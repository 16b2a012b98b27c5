#include "app/automation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace quillfen {

AutomationService::AutomationService() : proxy_(std::make_unique<AutomationProxy>()) {}

AutomationService::~AutomationService() {
    unregister();
}

bool AutomationService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    if (!bus.registerObject("/", proxy_.get(), QDBusConnection::ExportAllContents)) return false;
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject("/");
        return false;
    }
    registered_ = true;
    return true;
}

void AutomationService::unregister() {
    if (!registered_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kServiceName);
    bus.unregisterObject("/");
    registered_ = false;
}

}  // namespace quillfen
