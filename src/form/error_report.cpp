#include "form/error_report.h"

#include "countdown/handlers.h"
#include "form/timer_window.h"
#include "platform/errors.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace timer::form {

namespace {

// A text the user typed, quoted inside a right-to-left sentence: isolated as
// a left-to-right run (LRI ... PDI), so that "1-" does not read "-1". The
// user's own isolates and marks are written out by visible() and cannot
// break out of it.
QString quoted(const QString& text)
{
    return QStringLiteral("\"\u2066%1\u2069\"").arg(visible(text));
}

// Closes the report when the window it belongs to is closed. A child of the
// report, so it goes with it.
class CloseFollower final : public QObject {
    Q_OBJECT

public:
    explicit CloseFollower(QDialog& report)
        : QObject(&report)
        , report_(report)
    {
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            report_.reject();
        }
        return false;
    }

private:
    QDialog& report_;
};

} // namespace

void MessageBoxReport::show(QWidget& window, const QString& message, std::function<void()> read)
{
    auto* box = new QMessageBox(QMessageBox::Warning, window.windowTitle(), message, QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: the window system would hold back a request to close the
    // window while the report is open. The form runs no handler meanwhile.
    box->setWindowModality(Qt::NonModal);
    box->setLayoutDirection(Qt::RightToLeft); // the message is Hebrew
    // Qt draws a right-to-left caption beside an icon against the button's
    // left border: the button goes without one, as GNOME's dialogs have it.
    box->button(QMessageBox::Ok)->setIcon(QIcon());
    window.installEventFilter(new CloseFollower(*box));
    QObject::connect(box, &QDialog::finished, box, std::move(read));
    box->show();
}

QString visible(const QString& text)
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

ErrorNotice describe(const platform::HandlerError& error, const TimerWindow& window)
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
