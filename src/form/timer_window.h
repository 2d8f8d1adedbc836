#pragma once

#include "form/caret_rest.h"
#include "form/layout.h"
#include "platform/forms_runtime.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace timer::form {

// The Timer window, built once from the stored layout. Nothing moves or
// changes afterwards but the texts. It has one size: it refuses to be
// maximised or made full screen, and where a window manager gives it more
// room all the same, the controls stay together in the middle.
class TimerWindow final : public QWidget {
    Q_OBJECT

public:
    TimerWindow();

    QLabel& display(platform::Display label) const;
    QLineEdit& entry(platform::Entry box) const;
    QPushButton& startButton() const { return *command1_; }
    QPushButton& pauseButton() const { return *command2_; }
    QPushButton& resetButton() const { return *command3_; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QWidget*, kLayout.size()> controls_{}; // in the layout's order
    std::array<QLabel*, 3> displays_{};
    std::array<QLineEdit*, 3> entries_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    CaretRest caretRest_;
    QTimer stateSettled_; // fires once a change of window state has settled
};

} // namespace timer::form
