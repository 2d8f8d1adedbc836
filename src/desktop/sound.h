#pragma once

#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

namespace timer::desktop {

// The desktop's plain beep.
void desktopBeep();

// How the end-of-count sound is played. Tests put a short limit and a
// counted beep in place of the real ones.
struct SoundSettings {
    // The sound helper, run as `sound-helper MILLISECONDS`; empty where there
    // is none, which fails to start like a program that is missing.
    QString helper;
    std::chrono::milliseconds limit = std::chrono::seconds(5);
    std::function<void()> fallback = &desktopBeep;
};

// The end-of-count sound: the sound theme's "bell", played by the sound
// helper in a process of its own, so that a sound server that stalls never
// holds up the window; its messages are dropped. One sound plays at a time,
// and is given up at its time limit. Every end is heard: where the helper
// cannot play it (there is none, it fails, crashes or is killed at the
// limit, or an earlier sound still plays) the fallback beep sounds instead.
// The helper dies with this program, and ends itself a little after the
// limit should this program be unable to end it.
class EndSound {
public:
    // How much longer than the window the helper waits before ending itself.
    static constexpr std::chrono::seconds kHelperGrace{1};

    explicit EndSound(SoundSettings settings);
    // A sound still playing is given up at once, without the fallback.
    ~EndSound();
    EndSound(const EndSound&) = delete;
    EndSound& operator=(const EndSound&) = delete;

    void play();
    bool inFlight() const { return helper_.state() != QProcess::NotRunning; }

private:
    SoundSettings settings_;
    QProcess helper_;
    QTimer limitTimer_;
};

// The sound helper installed with this program; empty where it is missing,
// as it is for the program in the build tree, which then only beeps.
QString installedSoundHelper();

} // namespace timer::desktop
