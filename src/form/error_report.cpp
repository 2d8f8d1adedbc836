#include "form/error_report.h"

#include "form/layout.h"
#include "platform/errors.h"

#include <QMessageBox>
#include <QPushButton>

namespace timer::form {

namespace {

QString heading(platform::Display label)
{
    for (const auto& heading : kHeadings) {
        if (heading.display == name(label)) {
            const std::u16string_view text = layoutOf(heading.heading).text;
            return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        }
    }
    return QString::fromLatin1(name(label).data(), static_cast<qsizetype>(name(label).size()));
}

} // namespace

void MessageBoxReport::show(QWidget& window, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf16(kWindowTitle.data(), kWindowTitle.size()),
                    message, QMessageBox::Ok, &window);
    box.setWindowModality(Qt::ApplicationModal);
    box.setLayoutDirection(Qt::RightToLeft); // the message is Hebrew
    box.button(QMessageBox::Ok)->setText(QStringLiteral("אישור"));
    box.exec();
}

QString describe(const platform::HandlerError& error)
{
    if (const auto* conversion = dynamic_cast<const platform::ConversionError*>(&error)) {
        const std::u16string& text = conversion->text();
        return QStringLiteral("בשדה \"%1\" כתוב \"%2\", וזה אינו מספר. יש להקליד מספר ולהתחיל שוב.")
            .arg(heading(conversion->label()),
                 QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    }
    if (dynamic_cast<const platform::ArithmeticError*>(&error) != nullptr) {
        return QStringLiteral("שגיאה חשבונית בספירה לאחור. הספירה נעצרה.");
    }
    if (const auto* access = dynamic_cast<const platform::PropertyAccessError*>(&error)) {
        return QStringLiteral("אין גישה לרכיב %1 (%2). הספירה נעצרה.")
            .arg(QString::fromStdString(access->control()),
                 QString::fromLatin1(platform::name(access->property()).data(),
                                     static_cast<qsizetype>(platform::name(access->property()).size())));
    }
    return QString::fromStdString(error.what());
}

} // namespace timer::form
