#include "desktop/end_of_count_alert.h"

#include "desktop/bring_back.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

namespace timer::desktop {

void askForAttention(QWidget& window) { QApplication::alert(&window); }

EndOfCountAlert::EndOfCountAlert(SoundSettings sound, std::function<void(QWidget&)> attention)
    : sound_(std::move(sound))
    , attention_(std::move(attention))
{
    connect(&notice_, &EndNotice::serverKnown, this, [this](const NoticeServer& server) {
        if (window_ && !server.makesNoticeOfAttention) {
            attention_(*window_);
        }
        emit noticeServerKnown(server);
    });
    connect(&notice_, &EndNotice::clicked, this, [this](const QByteArray& activationToken) {
        if (window_) {
            bringBack(*window_, activationToken);
        }
    });
}

void EndOfCountAlert::alert(QWidget& window)
{
    sound_.play();
    window_ = &window;
    // Keys and clicks reach the window system's window before the control
    // they are for. Installing again changes nothing.
    window.installEventFilter(this);
    if (QWindow* handle = window.windowHandle()) {
        handle->installEventFilter(this);
    }
    notice_.show();
}

void EndOfCountAlert::countStarted() { notice_.withdraw(); }

// The user is back in the window, or acts in it: the notice has done its
// work.
bool EndOfCountAlert::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        notice_.withdraw();
        break;
    default:
        break;
    }
    return false;
}

} // namespace timer::desktop
