#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>
#include <memory>

class QWidget;

namespace timer::desktop {

// While a modal report blocks its window, Qt drops the window manager's
// request to close that window (X's WM_DELETE_WINDOW, sent by the close box
// and the window menu), so the close would do nothing. This watches for the
// request and runs `unblock` first (the report closes), after which Qt
// closes the window as usual. Qt's own closes (QWindow::close(), which
// Wayland's close request comes through in Qt 6.4) pass a modal report
// anyway.
class BlockedCloseRequests final : public QAbstractNativeEventFilter {
public:
    // Precondition: `window` outlives this.
    BlockedCloseRequests(const QWidget& window, std::function<void()> unblock);
    ~BlockedCloseRequests() override;
    BlockedCloseRequests(const BlockedCloseRequests&) = delete;
    BlockedCloseRequests& operator=(const BlockedCloseRequests&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> unblock_;
    // X's names for a close request: the protocol message and the request,
    // asked for once, as the report opens, and read when first needed.
    struct Atoms;
    std::unique_ptr<Atoms> atoms_; // none where the window system is not X

};

} // namespace timer::desktop
