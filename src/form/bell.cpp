#include "form/bell.h"

#include <QApplication>
#include <QWidget>

#include <canberra.h>

namespace timer::form {

DesktopBell::DesktopBell()
{
    if (ca_context_create(&context_) != CA_SUCCESS) {
        context_ = nullptr;
        return;
    }
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Timer", CA_PROP_APPLICATION_ID,
                            "io.github.timer.Timer", nullptr);
}

DesktopBell::~DesktopBell()
{
    if (context_ != nullptr) {
        ca_context_destroy(context_);
    }
}

void DesktopBell::ring(QWidget& window)
{
    const bool played = context_ != nullptr
                        && ca_context_play(context_, 0, CA_PROP_EVENT_ID, "bell",
                                           CA_PROP_EVENT_DESCRIPTION, "Countdown finished", nullptr)
                               == CA_SUCCESS;
    if (!played) {
        QApplication::beep();
    }
    QApplication::alert(&window);
}

} // namespace timer::form
