#pragma once
// The automation object: on the session bus, the service "Quillfen.Application" with one
// object at "/" that has an empty interface. A client that finds it knows the program runs;
// while it is registered, Quit only hides the window. Without a session bus there is simply
// no automation object.

#include <QObject>
#include <memory>

namespace quillfen {

class AutomationProxy : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quillfen.Application")
  public:
    using QObject::QObject;
};

class AutomationService {
  public:
    static constexpr const char* kServiceName = "Quillfen.Application";

    AutomationService();
    ~AutomationService();
    AutomationService(const AutomationService&) = delete;
    AutomationService& operator=(const AutomationService&) = delete;

    /// Registers the service and its object on the session bus. Returns false, leaving nothing
    /// registered, when there is no session bus or the name is taken.
    bool registerOnSessionBus();
    /// True while the service is registered.
    bool active() const { return registered_; }

  private:
    void unregister();

    std::unique_ptr<AutomationProxy> proxy_;
    bool registered_ = false;
};

}  // namespace quillfen
