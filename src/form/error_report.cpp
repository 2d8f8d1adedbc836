#include "form/error_report.h"

#include "form/layout.h"
#include "form/qt_text.h"
#include "platform/errors.h"

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

} // namespace

void MessageBoxReport::show(QWidget& window, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, toQString(kWindowTitle),
                    message, QMessageBox::Ok, &window);
    box.setWindowModality(Qt::ApplicationModal);
    box.setLayoutDirection(Qt::RightToLeft); // the message is Hebrew
    box.button(QMessageBox::Ok)->setText(QStringLiteral("אישור"));
    box.exec();
}

QString describe(const platform::HandlerError& error)
{
    if (const auto* conversion = dynamic_cast<const platform::ConversionError*>(&error)) {
        return QStringLiteral("בשדה \"%1\" כתוב \"%2\", וזה אינו מספר. יש להקליד מספר ולהתחיל שוב.")
            .arg(heading(conversion->label()), toQString(std::u16string_view(conversion->text())));
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
