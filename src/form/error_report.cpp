#include "form/error_report.h"

#include "form/layout.h"
#include "form/qt_text.h"
#include "form/timer_window.h"
#include "platform/errors.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace timer::form {

namespace {

QString heading(platform::Display label)
{
    for (const auto& heading : kHeadings) {
        if (heading.display == name(label)) {
            return toQString(layoutOf(heading.heading).text);
        }
    }
    return toQString(name(label));
}

// Closes the report when the window it belongs to is closed.
class CloseFollower final : public QObject {
public:
    explicit CloseFollower(QDialog& report)
        : report_(report)
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

void HeldKeyGuard::arm()
{
    qApp->installEventFilter(this); // installed once however often armed
    pressedSinceArmed_.clear();
}

bool HeldKeyGuard::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress) {
        if (key->isAutoRepeat()) {
            return !pressedSinceArmed_.contains(key->key());
        }
        pressedSinceArmed_.insert(key->key());
        return false;
    }
    if (!pressedSinceArmed_.contains(key->key())) {
        return true;
    }
    if (!key->isAutoRepeat()) {
        pressedSinceArmed_.remove(key->key());
    }
    return false;
}

void MessageBoxReport::show(QWidget& window, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, toQString(kWindowTitle), message, QMessageBox::Ok, &window);
    // Not modal: the window system would hold back a request to close the
    // window while the report is open. The form runs no handler meanwhile.
    box.setWindowModality(Qt::NonModal);
    box.setLayoutDirection(Qt::RightToLeft); // the message is Hebrew
    box.button(QMessageBox::Ok)->setText(QStringLiteral("אישור"));
    CloseFollower follower(box);
    window.installEventFilter(&follower);
    heldKeys_.arm();
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    loop.exec();
    window.removeEventFilter(&follower);
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

QString describe(const platform::HandlerError& error, const TimerWindow& window)
{
    if (const auto* conversion = dynamic_cast<const platform::ConversionError*>(&error)) {
        return QStringLiteral("בשדה \"%1\" כתוב \"%2\", וזה אינו מספר. יש להקליד מספר ולהתחיל שוב.")
            .arg(heading(conversion->label()), visible(window.entry(platform::entryOf(conversion->label())).text()));
    }
    if (dynamic_cast<const platform::ArithmeticError*>(&error) != nullptr) {
        return QStringLiteral("שגיאה חשבונית בספירה לאחור. הספירה נעצרה.");
    }
    if (const auto* access = dynamic_cast<const platform::PropertyAccessError*>(&error)) {
        return QStringLiteral("אין גישה לרכיב %1 (%2). הספירה נעצרה.")
            .arg(toQString(std::string_view(access->control())), toQString(platform::name(access->property())));
    }
    return QString::fromStdString(error.what());
}

} // namespace timer::form
