#pragma once

#include "form/caret_rest.h"
#include "form/layout.h"
#include "platform/forms_runtime.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

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

    QLabel& display(platform::Display field) const { return *displays_.at(index(field)); }
    QLabel& heading(platform::Display field) const { return *headings_.at(index(field)); }
    QLineEdit& entry(platform::Entry box) const { return *entries_.at(static_cast<std::size_t>(box)); }
    QPushButton& startButton() const { return *buttons_[0]; }
    QPushButton& pauseButton() const { return *buttons_[1]; }
    QPushButton& resetButton() const { return *buttons_[2]; }
    // The display's fields and the colons between them, left to right.
    const std::vector<QLabel*>& displayParts() const { return displayParts_; }

    // Each change of a field's text is signalled, for whoever tells the user
    // more than the window shows: a screen reader.
    void setDisplayText(platform::Display field, const QString& text);
    // A text the count writes into a box. In the box that has the focus it is
    // selected, so that the next two digits replace it, as after every other
    // way into a box.
    void setEntryText(platform::Entry box, const QString& text) const;
signals:
    void displayChanged();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static std::size_t index(platform::Display field) { return static_cast<std::size_t>(field); }

    void setUpFrame();
    void createControls();
    void chainTabOrder();
    void focusFirstBox() const;

    std::vector<QWidget*> controls_; // in the layout's order
    std::array<QLabel*, 3> headings_{};
    std::array<QLabel*, 3> displays_{};
    std::vector<QLabel*> displayParts_;
    std::array<QLineEdit*, 3> entries_{};
    std::array<QPushButton*, 3> buttons_{}; // in the layout's order
    CaretRest caretRest_;
    QTimer stateSettled_; // fires once a change of window state has settled
};

// Where the character at `offset` of a box is drawn, in the box's own
// coordinates; empty where it has no such character.
QRect characterArea(const QLineEdit& box, int offset);

} // namespace timer::form
