#include "form/error_report.h"

#include "countdown/handlers.h"
#include "desktop/blocked_close.h"
#include "form/timer_window.h"
#include "platform/errors.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <optional>

namespace timer::form {

namespace {

// `text` with every character that draws nothing (blanks, bidirectional
// marks, other format and control characters) written out as [U+XXXX].
QString withInvisiblesWrittenOut(const QString& text)
{
    QString shown;
    for (const char32_t character : text.toUcs4()) {
        switch (QChar::category(character)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            shown += QStringLiteral("[U+%1]").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
            break;
        default:
            shown += QString::fromUcs4(&character, 1);
        }
    }
    return shown;
}

// A text the user typed, quoted inside a right-to-left sentence: isolated as
// a left-to-right run (LRI ... PDI), so that "1-" does not read "-1". The
// user's own isolates and marks are written out, and cannot break out of it.
QString quoted(const QString& text)
{
    return QStringLiteral("\"\u2066%1\u2069\"").arg(withInvisiblesWrittenOut(text));
}

// Where a report of `size` goes beside the window whose frame is `window`,
// on a screen's free area `screen`: below it, else to its right or left,
// else above it, where it fits whole; none where nothing fits (Qt then
// centres it over the window). Beside the window it leaves the box it names
// and the display in view.
std::optional<QPoint> besideTheWindow(const QRect& window, const QSize& size, const QRect& screen)
{
    constexpr int kGap = 8;
    const auto within = [](int wanted, int low, int high) { return std::max(low, std::min(wanted, high)); };
    const int centredX = within(window.center().x() - size.width() / 2, screen.left(), screen.right() + 1 - size.width());
    const int alignedY = within(window.top(), screen.top(), screen.bottom() + 1 - size.height());
    const std::array places{
        QPoint(centredX, window.bottom() + 1 + kGap),
        QPoint(window.right() + 1 + kGap, alignedY),
        QPoint(window.left() - kGap - size.width(), alignedY),
        QPoint(centredX, window.top() - kGap - size.height()),
    };
    for (const QPoint& place : places) {
        if (screen.contains(QRect(place, size))) {
            return place;
        }
    }
    return std::nullopt;
}

// The report: a message box modal to its window, which the window manager
// keeps above it, and which the form shows without a loop of its own. It
// has a title of its own, no minimise or maximise, and is laid out right to
// left. Closing the window closes it too, also where the window system's
// request would stop at a modal report.
class ReportBox final : public QMessageBox {
    Q_OBJECT

public:
    ReportBox(const QString& message, QWidget& window)
        : QMessageBox(QMessageBox::Warning, ErrorReport::tr("שגיאה בספירה"), message, QMessageBox::Ok, &window,
                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
        , closeRequests_(window, [this] { reject(); })
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setLayoutDirection(Qt::RightToLeft); // the message is Hebrew
        // Qt draws a right-to-left caption beside an icon against the
        // button's left border: the button goes without one, as GNOME's
        // dialogs have it.
        button(QMessageBox::Ok)->setIcon(QIcon());
        window.installEventFilter(this);
        comeBack_.setSingleShot(true);
        comeBack_.setInterval(0);
        connect(&comeBack_, &QTimer::timeout, this, [this] {
            hide();
            // Qt 6.8 tells the widget nothing of its window's new state.
            setWindowState(Qt::WindowNoState);
            windowHandle()->setWindowStates(Qt::WindowNoState);
            show();
        });
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            reject();
        } else if (event->type() == QEvent::WindowActivate && isVisible()) {
            // A click took the focus to the window under the report, where
            // keys would do nothing: they belong to the report.
            raise();
            activateWindow();
        }
        return false;
    }

    // The message box takes its size as it shows; its place follows. The
    // window system places the report's client area, not its frame, where
    // it is asked to: the frame is taken to be as wide as the window's.
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const QWidget& window = *parentWidget();
        const QPoint frameCorner = window.geometry().topLeft() - window.frameGeometry().topLeft();
        const QSize frame = size() + window.frameGeometry().size() - window.size();
        if (const auto place = besideTheWindow(window.frameGeometry(), frame, window.screen()->availableGeometry())) {
            move(*place + frameCorner);
        }
        watchItsState();
    }

private:
    // A report minimised alone (Qt's own title bar on Wayland offers it
    // whatever the report asks) would leave the window waiting with nothing
    // on screen: it comes back at once, as a new window, the one way back
    // Wayland has. Minimised with its window, it goes with it.
    void watchItsState()
    {
        connect(windowHandle(), &QWindow::windowStateChanged, this, &ReportBox::comeBackIfMinimisedAlone,
                Qt::UniqueConnection);
    }

    // Once the window system has done minimising it.
    void comeBackIfMinimisedAlone(Qt::WindowState state)
    {
        if (state == Qt::WindowMinimized && !parentWidget()->isMinimized()) {
            comeBack_.start();
        }
    }

    desktop::BlockedCloseRequests closeRequests_;
    QTimer comeBack_;
};

} // namespace

void MessageBoxReport::show(QWidget& window, const QString& message, std::function<void()> read)
{
    auto* box = new ReportBox(message, window);
    QObject::connect(box, &QDialog::finished, box, std::move(read));
    box->open();
}

ErrorMessage describe(const platform::HandlerError& error, const TimerWindow& window)
{
    if (const auto* field = dynamic_cast<const platform::FieldError*>(&error)) {
        QLineEdit& box = window.entry(platform::entryOf(field->label()));
        const QString heading = window.heading(field->label()).text();
        // The box is to blame only where Start would copy the rejected text
        // from it as it now stands.
        const bool fromTheBox = countdown::StartsCopy([&box] { return box.text().toStdU16String(); }) == field->text();
        const bool belowZero = dynamic_cast<const platform::NegativeFieldError*>(&error) != nullptr;
        const QString where = fromTheBox ? ErrorReport::tr("בשדה \"%1\" כתוב %2").arg(heading, quoted(box.text()))
                                         : ErrorReport::tr("בתצוגה, מתחת ל\"%1\", כתוב %2")
                                               .arg(heading, quoted(QStringView(field->text()).toString()));
        const QString why = belowZero ? ErrorReport::tr("וזה מספר שלילי, שאין ממנו לספור לאחור")
                                      : ErrorReport::tr("וזה אינו מספר");
        QString next = ErrorReport::tr("יש ללחוץ על \"%1\" כדי להעתיק לתצוגה את מה שבשדות.")
                           .arg(window.startButton().text());
        if (fromTheBox) {
            next = belowZero ? ErrorReport::tr("יש להקליד 0 או יותר ולהתחיל שוב.")
                             : ErrorReport::tr("יש להקליד מספר ולהתחיל שוב.");
        }
        return {QStringLiteral("%1, %2.\n%3").arg(where, why, next),
                fromTheBox ? static_cast<QWidget*>(&box) : &window.startButton()};
    }
    // The rest cannot come from this window: the decrement's check fails
    // only on a text that changes between two reads of one tick, and a
    // widget's text is always there to read and write. Should another
    // runtime raise them, the user still learns that the count stopped.
    return {ErrorReport::tr("שגיאה בספירה לאחור.\nהספירה נעצרה.")};
}

} // namespace timer::form

#include "error_report.moc"
