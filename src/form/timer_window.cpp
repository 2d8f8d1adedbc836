#include "form/timer_window.h"

#include "form/fonts.h"
#include "form/layout.h"
#include "form/qt_text.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <vector>

#include "timer.xpm"

namespace timer::form {

namespace {

QFont qtFont(const FontSpec& wanted)
{
    QFont font(familyOnThisSystem(toQString(wanted.family)));
    font.setPointSizeF(wanted.pointSize);
    font.setWeight(static_cast<QFont::Weight>(wanted.weight));
    return font;
}

// A push button whose caption breaks into lines where it is wider than the
// button, as "הפסק \ המשך" must on its narrow button.
class WrappingButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());
    }
};

void applyLook(QWidget& widget, const ControlLayout& row)
{
    widget.setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
    QPalette palette = widget.palette();
    if (row.background) {
        palette.setColor(QPalette::Window, QColor::fromRgb(*row.background));
        widget.setAutoFillBackground(true);
    }
    if (row.foreground) {
        palette.setColor(QPalette::WindowText, QColor::fromRgb(*row.foreground));
    }
    widget.setPalette(palette);
    if (row.font) {
        widget.setFont(qtFont(*row.font));
    }
}

QWidget* createControl(const ControlLayout& row, QWidget* parent)
{
    switch (row.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(toQString(row.text), parent);
        // Texts come from what the user typed: never read them as markup.
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        applyLook(*label, row);
        return label;
    }
    case ControlKind::Entry: {
        auto* entry = new QLineEdit(parent);
        entry->setMaxLength(kEntryMaxLength);
        applyLook(*entry, row);
        entry->setText(toQString(row.text)); // after the font: laid out once
        return entry;
    }
    case ControlKind::Button: {
        auto* button = new WrappingButton(toQString(row.text), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        applyLook(*button, row);
        return button;
    }
    }
    return nullptr;
}

} // namespace

TimerWindow::TimerWindow()
{
    setObjectName(QStringLiteral("Timer"));
    setWindowTitle(toQString(kWindowTitle));
    setWindowIcon(QIcon(QPixmap(timer_xpm)));
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    setFont(qtFont(kDialogFont));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor::fromRgb(kWindowBackground));
    setPalette(background);
    setAutoFillBackground(true);

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const auto& row : kLayout) {
        QWidget* widget = createControl(row, this);
        widget->setObjectName(toQString(row.name));
        if (widget->focusPolicy() & Qt::TabFocus) {
            tabOrder.emplace_back(row.tabIndex, widget);
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }

    for (const auto& pair : platform::kFieldPairs) {
        displays_.at(static_cast<std::size_t>(pair.display)) = &control<QLabel>(name(pair.display));
        entries_.at(static_cast<std::size_t>(pair.entry)) = &control<QLineEdit>(name(pair.entry));
    }
    command1_ = &control<QPushButton>("Command1");
    command2_ = &control<QPushButton>("Command2");
    command3_ = &control<QPushButton>("Command3");

    // A screen reader names each box by its heading, and reads each display
    // field's own text with its heading as the description.
    for (const auto& heading : kHeadings) {
        const QString text = control<QLabel>(heading.heading).text();
        control<QLineEdit>(heading.entry).setAccessibleName(text);
        control<QLabel>(heading.display).setAccessibleDescription(text);
    }

    tabOrder.front().second->setFocus();
}

template <typename Widget>
Widget& TimerWindow::control(std::string_view name) const
{
    auto* widget = findChild<Widget*>(toQString(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT(widget != nullptr);
    return *widget;
}

QLabel& TimerWindow::display(platform::Display label) const
{
    return *displays_.at(static_cast<std::size_t>(label));
}

QLineEdit& TimerWindow::entry(platform::Entry box) const
{
    return *entries_.at(static_cast<std::size_t>(box));
}

} // namespace timer::form
