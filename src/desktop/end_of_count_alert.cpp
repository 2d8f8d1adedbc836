#include "desktop/end_of_count_alert.h"

#include <QApplication>
#include <QWidget>

namespace timer::desktop {

EndOfCountAlert::EndOfCountAlert(SoundSettings sound)
    : sound_(std::move(sound))
    , notice_(makeEndNotice())
{
}

void EndOfCountAlert::alert(QWidget& window)
{
    sound_.play();
    QApplication::alert(&window);
    notice_->show(window);
}

void EndOfCountAlert::withdraw() { notice_->withdraw(); }

} // namespace timer::desktop
