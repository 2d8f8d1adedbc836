#include "form/bell.h"

#include <QApplication>
#include <QWidget>

#include <canberra.h>

namespace timer::form {

DesktopBell::DesktopBell()
{
    // libcanberra stops at the sound server when none answers, so ALSA gets a
    // context of its own.
    for (const char* driver : {static_cast<const char*>(nullptr), "alsa"}) {
        ca_context* context = nullptr;
        if (ca_context_create(&context) != CA_SUCCESS) {
            continue;
        }
        if (driver != nullptr) {
            ca_context_set_driver(context, driver);
        }
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Timer", CA_PROP_APPLICATION_ID,
                                "io.github.timer.Timer", nullptr);
        contexts_.push_back(context);
    }
}

DesktopBell::~DesktopBell()
{
    for (ca_context* context : contexts_) {
        ca_context_destroy(context);
    }
}

void DesktopBell::ring(QWidget& window)
{
    bool played = false;
    for (ca_context* context : contexts_) {
        if (ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                            "Countdown finished", nullptr)
            == CA_SUCCESS) {
            played = true;
            break;
        }
    }
    if (!played) {
        QApplication::beep();
    }
    QApplication::alert(&window);
}

} // namespace timer::form
