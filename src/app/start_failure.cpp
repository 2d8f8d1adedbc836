#include "app/start_failure.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
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

// What tells Qt where to open the window.
constexpr std::array<const char*, 3> kDisplayVariables{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

QString displayNamed()
{
    QStringList named;
    if (!displayOption.isEmpty()) {
        named << QStringLiteral("-display %1").arg(displayOption);
    }
    for (const char* variable : kDisplayVariables) {
        if (qEnvironmentVariableIsSet(variable)) {
            named << QStringLiteral("%1=%2").arg(QLatin1StringView(variable), qEnvironmentVariable(variable));
        }
    }
    return named.join(QStringLiteral(", "));
}

bool displaySet()
{
    return !displayOption.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Qt reports each platform plugin it tried, under this category, as not
// found, or as found but not started (its display did not answer); its
// fatal message then lists the plugins there are.
constexpr QByteArrayView kPluginCategory = "qt.qpa.plugin";

// The one line that says why the start failed, from Qt's account of it.
// Precondition: heldBackLock is held.
QString whyTheStartFailed(const QString& fatal)
{
    const QRegularExpression pluginTried(QStringLiteral(R"(^Could not (find|load) the Qt platform plugin ("[^"]*"))"));
    bool notStarted = false;
    QStringList missing;
    for (const auto& message : std::as_const(heldBack)) {
        const auto tried = pluginTried.match(message.text);
        if (message.category != kPluginCategory || !tried.hasMatch()) {
            continue;
        }
        if (tried.captured(1) == QLatin1StringView("find")) {
            missing << tried.captured(2);
        } else {
            notStarted = true;
        }
    }
    if (notStarted && !displaySet()) {
        return QCoreApplication::translate("timer::app",
                                           "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)");
    }
    if (notStarted) {
        return QCoreApplication::translate("timer::app", "cannot open the window: the display does not answer (%1)")
            .arg(displayNamed());
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

void holdMessagesWhileStarting(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArrayView option(argv[i]);
        if (option == "-display" || option == "--display") {
            displayOption = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
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
