// Plays the sound theme's "bell" once and exits when it has been heard:
// status 0 when it played, 1 when no way to the speakers took it, 2 without
// a time limit. The window runs this as a process of its own, so that a
// sound stack that stalls costs the window nothing and can be given up by
// ending the process.
//
// Usage: sound-helper MILLISECONDS. The process ends itself (SIGALRM) when the
// time given has passed, should the window be unable to end it.

#include "identity.h"

#include <canberra.h>
#include <sys/time.h>

#include <charconv>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

struct Finished {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    int error = CA_SUCCESS;
};

void onFinished(ca_context* /*context*/, uint32_t /*id*/, int error, void* userdata)
{
    auto& finished = *static_cast<Finished*>(userdata);
    const std::lock_guard lock(finished.mutex);
    finished.done = true;
    finished.error = error;
    finished.changed.notify_one();
}

enum class Sound { Played, Failed, NotStarted };

// The context whose sound has started, kept until the process ends, which
// comes next: libcanberra's ALSA driver still runs in its play thread after
// the callback, and destroying the context would unload the driver under
// that thread.
ca_context* playing = nullptr;

// Plays the sound through `driver` (nullptr: libcanberra's own choice) and
// waits until it has finished.
Sound playThrough(const char* driver)
{
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) {
        return Sound::NotStarted;
    }
    if (driver != nullptr) {
        ca_context_set_driver(context, driver);
    }
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Timer", CA_PROP_APPLICATION_ID, TIMER_APP_ID,
                            nullptr);
    ca_proplist* properties = nullptr;
    ca_proplist_create(&properties);
    ca_proplist_sets(properties, CA_PROP_EVENT_ID, "bell");
    ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION, "Countdown finished");
    Finished finished;
    Sound sound = Sound::NotStarted;
    if (ca_context_play_full(context, 0, properties, onFinished, &finished) == CA_SUCCESS) {
        playing = context;
        std::unique_lock lock(finished.mutex);
        finished.changed.wait(lock, [&finished] { return finished.done; });
        sound = finished.error == CA_SUCCESS ? Sound::Played : Sound::Failed;
    } else {
        ca_context_destroy(context);
    }
    ca_proplist_destroy(properties);
    return sound;
}

// Arms the end of this process `text` milliseconds from now; false when
// `text` is not a number of milliseconds above zero.
bool endAfter(const char* text)
{
    long milliseconds = 0;
    const char* end = text + std::strlen(text);
    const auto [parsed, error] = std::from_chars(text, end, milliseconds);
    if (error != std::errc() || parsed != end || milliseconds <= 0) {
        return false;
    }
    itimerval limit{};
    limit.it_value.tv_sec = milliseconds / 1000;
    limit.it_value.tv_usec = milliseconds % 1000 * 1000;
    return setitimer(ITIMER_REAL, &limit, nullptr) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 || !endAfter(argv[1])) {
        return 2;
    }
    // libcanberra stops at the sound server when none answers, so ALSA is
    // tried on its own where its own choice could not start the sound.
    Sound sound = playThrough(nullptr);
    if (sound == Sound::NotStarted) {
        sound = playThrough("alsa");
    }
    return sound == Sound::Played ? 0 : 1;
}
