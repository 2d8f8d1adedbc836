#include "form/bell.h"

#include <QApplication>
#include <QWidget>

#include <canberra.h>
#include <dlfcn.h>

#include <algorithm>
#include <vector>

namespace timer::form {

// libcanberra, opened on demand, with one context per way to the speakers.
struct DesktopBell::Canberra {
    void* library = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
    decltype(&ca_context_play) play = nullptr;
    std::vector<ca_context*> contexts;

    Canberra()
    {
        library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (library == nullptr) {
            return;
        }
        const auto create = reinterpret_cast<decltype(&ca_context_create)>(dlsym(library, "ca_context_create"));
        const auto setDriver =
            reinterpret_cast<decltype(&ca_context_set_driver)>(dlsym(library, "ca_context_set_driver"));
        const auto changeProps =
            reinterpret_cast<decltype(&ca_context_change_props)>(dlsym(library, "ca_context_change_props"));
        destroy = reinterpret_cast<decltype(&ca_context_destroy)>(dlsym(library, "ca_context_destroy"));
        play = reinterpret_cast<decltype(&ca_context_play)>(dlsym(library, "ca_context_play"));
        if (create == nullptr || setDriver == nullptr || changeProps == nullptr || destroy == nullptr
            || play == nullptr) {
            return;
        }
        // libcanberra stops at the sound server when none answers, so ALSA
        // gets a context of its own.
        for (const char* driver : {static_cast<const char*>(nullptr), "alsa"}) {
            ca_context* context = nullptr;
            if (create(&context) != CA_SUCCESS) {
                continue;
            }
            if (driver != nullptr) {
                setDriver(context, driver);
            }
            changeProps(context, CA_PROP_APPLICATION_NAME, "Timer", CA_PROP_APPLICATION_ID, TIMER_APP_ID,
                        nullptr);
            contexts.push_back(context);
        }
    }

    ~Canberra()
    {
        for (ca_context* context : contexts) {
            destroy(context);
        }
        // The library stays loaded: the sound stack below it keeps global
        // state for the life of the process.
    }

    Canberra(const Canberra&) = delete;
    Canberra& operator=(const Canberra&) = delete;

    // The first context that can play the bell plays it.
    bool ring()
    {
        return std::ranges::any_of(contexts, [this](ca_context* context) {
            return play(context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Countdown finished",
                        nullptr)
                   == CA_SUCCESS;
        });
    }
};

DesktopBell::DesktopBell() = default;

DesktopBell::~DesktopBell() = default;

void DesktopBell::ring(QWidget& window)
{
    if (!canberra_) {
        canberra_ = std::make_unique<Canberra>();
    }
    if (!canberra_->ring()) {
        QApplication::beep();
    }
    QApplication::alert(&window);
}

} // namespace timer::form
