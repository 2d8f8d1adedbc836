#include "app/start_failure.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace timer::app {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler qtHandler = nullptr;
// Qt may log from threads of its own while it starts.
std::mutex heldBackLock;
QList<HeldMessage> heldBack;
QString displayOption; // Qt's -display, which overrides DISPLAY

bool displaySet()
{
    return !displayOption.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// What the platform plugin named needed to start and did not find: its
// name says which display it opens on, Wayland's (wayland, wayland-egl, ...)
// or, for xcb, X's.
QString whatIsMissing(const QString& plugin)
{
    if (plugin.startsWith(QLatin1StringView("wayland"))) {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            return QCoreApplication::translate("timer::app", "no Wayland display (WAYLAND_DISPLAY is not set)");
        }
        return QCoreApplication::translate("timer::app", "the Wayland display does not answer (WAYLAND_DISPLAY=%1)")
            .arg(qEnvironmentVariable("WAYLAND_DISPLAY"));
    }
    if (!displayOption.isEmpty()) {
        return QCoreApplication::translate("timer::app", "the display does not answer (-display %1)").arg(displayOption);
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        return QCoreApplication::translate("timer::app", "the display does not answer (DISPLAY=%1)")
            .arg(qEnvironmentVariable("DISPLAY"));
    }
    return QCoreApplication::translate("timer::app", "no X display (DISPLAY is not set)");
}

// Qt reports each platform plugin it tried, under this category, as not
// found, or as found but not started (its display did not answer); its
// fatal message then lists the plugins there are.
constexpr QByteArrayView kPluginCategory = "qt.qpa.plugin";

// The one line that says why the start failed, from Qt's account of it.
// Precondition: heldBackLock is held.
QString whyTheStartFailed(const QString& fatal)
{
    const QRegularExpression pluginTried(QStringLiteral(R"re(^Could not (find|load) the Qt platform plugin ("([^"]*)"))re"));
    QStringList notStarted;
    QStringList missing;
    for (const auto& message : std::as_const(heldBack)) {
        const auto tried = pluginTried.match(message.text);
        if (message.category != kPluginCategory || !tried.hasMatch()) {
            continue;
        }
        if (tried.captured(1) == QLatin1StringView("find")) {
            missing << tried.captured(2);
        } else {
            notStarted << tried.captured(3);
        }
    }
    if (!notStarted.isEmpty() && !displaySet()) {
        return QCoreApplication::translate("timer::app",
                                           "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)");
    }
    if (!notStarted.isEmpty()) {
        // Each plugin tried, in Qt's order (Wayland's, then xcb, in a Wayland
        // session), says what it missed.
        QStringList reasons;
        for (const QString& plugin : std::as_const(notStarted)) {
            reasons << whatIsMissing(plugin);
        }
        reasons.removeDuplicates();
        return QCoreApplication::translate("timer::app", "cannot open the window: %1")
            .arg(reasons.join(QStringLiteral("; ")));
    }
    if (!missing.isEmpty()) {
        const auto there = QRegularExpression(QStringLiteral(R"(Available platform plugins are: (.*)\.)")).match(fatal);
        return QCoreApplication::translate("timer::app", "cannot open the window: Qt has no platform plugin %1%2")
            .arg(missing.join(QStringLiteral(", ")),
                 there.hasMatch() ? QCoreApplication::translate("timer::app", " (it has: %1)").arg(there.captured(1))
                                  : QString());
    }
    // A plugin that gave up in its own words.
    return QCoreApplication::translate("timer::app", "cannot open the window: %1")
        .arg(fatal.section(QLatin1Char('\n'), 0, 0));
}

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const std::scoped_lock held(heldBackLock);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "timer: %s\n", qPrintable(whyTheStartFailed(message)));
        std::_Exit(EXIT_FAILURE);
    }
    heldBack.append({type, context.category, message});
}

} // namespace

void holdMessagesWhileStarting(const QString& display)
{
    displayOption = display;
    qtHandler = qInstallMessageHandler(holdBack);
}

void passOnHeldMessages()
{
    qInstallMessageHandler(qtHandler);
    QList<HeldMessage> held;
    {
        const std::scoped_lock taking(heldBackLock);
        held.swap(heldBack);
    }
    for (const auto& message : std::as_const(held)) {
        qtHandler(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    }
}

} // namespace timer::app
