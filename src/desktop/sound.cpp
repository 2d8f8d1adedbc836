#include "desktop/sound.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#ifdef __linux__
#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace timer::desktop {

namespace {

// The kernel ends the helper when this program ends, however it ends: a
// helper that stalls must not be left behind for the helper's own limit.
void endWithThisProgram([[maybe_unused]] QProcess& helper)
{
#ifdef __linux__
    const pid_t program = getpid();
    helper.setChildProcessModifier([program] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // This program may have ended before the request was made.
        if (getppid() != program) {
            _exit(EXIT_FAILURE);
        }
    });
#endif
}

} // namespace

EndSound::EndSound(SoundSettings settings)
    : settings_(std::move(settings))
{
    helper_.setStandardOutputFile(QProcess::nullDevice());
    helper_.setStandardErrorFile(QProcess::nullDevice());
    endWithThisProgram(helper_);
    limitTimer_.setSingleShot(true);
    QObject::connect(&limitTimer_, &QTimer::timeout, &helper_, &QProcess::kill);
    QObject::connect(&helper_, &QProcess::finished, &helper_, [this](int status, QProcess::ExitStatus how) {
        if (how == QProcess::CrashExit || status != 0) {
            settings_.fallback();
        }
    });
    QObject::connect(&helper_, &QProcess::errorOccurred, &helper_, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            settings_.fallback();
        }
    });
}

EndSound::~EndSound()
{
    helper_.disconnect();
    helper_.kill();
    helper_.waitForFinished();
}

void EndSound::play()
{
    if (inFlight()) {
        settings_.fallback();
        return;
    }
    helper_.start(settings_.helper, {QString::number((settings_.limit + kHelperGrace).count())});
    limitTimer_.start(settings_.limit);
}

void desktopBeep() { QApplication::beep(); }

QString installedSoundHelper()
{
    const QFileInfo helper(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TIMER_SOUND_HELPER_FROM_BIN)));
    return helper.isExecutable() ? helper.absoluteFilePath() : QString();
}

} // namespace timer::desktop
