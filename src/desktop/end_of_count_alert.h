#pragma once

#include "desktop/end_notice.h"
#include "desktop/sound.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace timer::desktop {

// Asks the window system for the user's attention to `window`.
void askForAttention(QWidget& window);

// The end of a count, every way the desktop offers: the sound, the notice,
// and a request for the user's attention where it adds something (not where
// the server turns it into a second notice). The notice stays until the
// user has seen the window: it goes when the window takes the focus, at a
// key or a click in it, when a new count starts, and when the program ends.
// A click on the notice brings the window back.
class EndOfCountAlert final : public QObject {
    Q_OBJECT

public:
    // `attention` stands in for askForAttention in tests.
    explicit EndOfCountAlert(SoundSettings sound, std::function<void(QWidget&)> attention = &askForAttention);

    // Precondition: `window` lives as long as the event loop runs.
    void alert(QWidget& window);
    void countStarted();

signals:
    // The notification server that shows the notice, or none, once known.
    void noticeServerKnown(const timer::desktop::NoticeServer& server);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EndSound sound_;
    EndNotice notice_;
    std::function<void(QWidget&)> attention_;
    QPointer<QWidget> window_; // the window of the last end
};

} // namespace timer::desktop
