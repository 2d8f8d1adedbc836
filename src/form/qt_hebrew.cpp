#include "form/qt_hebrew.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace timer::form {

void installQtHebrew(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_he"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

} // namespace timer::form
