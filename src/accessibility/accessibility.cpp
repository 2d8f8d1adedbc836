#include "accessibility/accessibility.h"

#include "desktop/count_ended_text.h"
#include "form/timer_form.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <optional>

namespace timer::accessibility {

using form::TimerWindow;

namespace {

// Something in the window that no widget of its own stands for. It has no
// children, and the window's interface owns it.
class WindowPart : public QAccessibleInterface {
public:
    explicit WindowPart(TimerWindow& window)
        : window_(window)
    {
    }

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return window_.windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&window_); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    void setText(QAccessible::Text /*type*/, const QString& /*text*/) override {}

protected:
    const TimerWindow& shownIn() const { return window_; }

private:
    TimerWindow& window_;
};

// The display as one object named by the time it shows, "00:05:12", in place
// of its five labels. A status bar, because screen readers read a window's
// status bar on request (Orca: Insert with keypad Enter pressed twice).
class TimeLeft final : public WindowPart {
public:
    using WindowPart::WindowPart;

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name) {
            return {};
        }
        QString shown;
        for (const QLabel* part : shownIn().displayParts()) {
            shown += part->text();
        }
        return shown;
    }

    QRect rect() const override
    {
        QRect area;
        for (const QLabel* part : shownIn().displayParts()) {
            area |= QRect(part->mapToGlobal(QPoint(0, 0)), part->size());
        }
        return area;
    }

    QAccessible::Role role() const override { return QAccessible::StatusBar; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !shownIn().isVisible();
        return state;
    }
};

// What screen readers are told at once: the end of a count, and a press
// that switched the count on or off (Pause/Continue's description says the
// same, and is read with it).
enum class News { CountEnded, CountRuns, CountStopped };

QString wordsOf(News news)
{
    switch (news) {
    case News::CountRuns:
        return QCoreApplication::translate("timer::accessibility", "הספירה פועלת");
    case News::CountStopped:
        return QCoreApplication::translate("timer::accessibility", "הספירה עצורה");
    case News::CountEnded:
        break;
    }
    return desktop::countEndedText();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// News as Qt 6.4 can tell it: it cannot ask for an announcement, but Orca
// speaks a notification the moment it shows, whatever has the focus. One
// for each piece of news, so that one shown soon after another does not
// change its words before they are read. Hidden, and in no list of the
// window's children: only the event brings it up.
class Announcement final : public WindowPart {
public:
    Announcement(TimerWindow& window, News news)
        : WindowPart(window)
        , news_(news)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Name ? wordsOf(news_) : QString();
    }

    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = true;
        return state;
    }

private:
    News news_;
};
#endif

// The Timer window as a window with its title, and the display in it as one
// child.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(TimerWindow* window)
        : QAccessibleWidget(window, QAccessible::Window)
        , timeLeft_(adopt(new TimeLeft(*window)))
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        , announcements_{adopt(new Announcement(*window, News::CountEnded)),
                         adopt(new Announcement(*window, News::CountRuns)),
                         adopt(new Announcement(*window, News::CountStopped))}
#endif
    {
    }

    ~WindowAccessible() override
    {
        for (const QAccessible::Id part : parts_) {
            QAccessible::deleteAccessibleInterface(part);
        }
    }

    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    QAccessibleInterface* timeLeft() const { return timeLeft_; }
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QAccessibleInterface* announcement(News news) const { return announcements_.at(static_cast<std::size_t>(news)); }
#endif

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override { return children().value(index); }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QList<QAccessibleInterface*> shown = children();
        const auto found = std::ranges::find(shown, child);
        return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
    }

private:
    template <typename Part>
    Part* adopt(Part* part)
    {
        parts_ << QAccessible::registerAccessibleInterface(part);
        return part;
    }

    // The window's widgets, with the display's labels replaced by timeLeft_.
    QList<QAccessibleInterface*> children() const
    {
        const auto& parts = static_cast<const TimerWindow*>(widget())->displayParts();
        QList<QAccessibleInterface*> shown;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* child = QAccessibleWidget::child(i);
            if (std::ranges::find(parts, child->object()) == parts.end()) {
                shown << child;
            } else if (!shown.contains(timeLeft_)) {
                shown << timeLeft_;
            }
        }
        return shown;
    }

    QList<QAccessible::Id> parts_; // before the parts: adopt() fills it
    TimeLeft* timeLeft_;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    std::array<Announcement*, 3> announcements_; // by News
#endif
};

// How QTextBoundaryFinder cuts a text at boundaries of `type`; none for the
// rest, which find the whole text: an entry box holds one line.
std::optional<QTextBoundaryFinder::BoundaryType> finderFor(QAccessible::TextBoundaryType type)
{
    switch (type) {
    case QAccessible::CharBoundary:
        return QTextBoundaryFinder::Grapheme;
    case QAccessible::WordBoundary:
        return QTextBoundaryFinder::Word;
    case QAccessible::SentenceBoundary:
        return QTextBoundaryFinder::Sentence;
    default:
        return std::nullopt;
    }
}

// The edges of the pieces that boundaries of `type` cut `text` into, from 0
// to its length.
QList<int> edges(const QString& text, QAccessible::TextBoundaryType type)
{
    QList<int> found{0};
    const auto kind = finderFor(type);
    if (!kind) {
        found << static_cast<int>(text.size());
        return found;
    }
    QTextBoundaryFinder boundaries(*kind, text);
    for (qsizetype next = boundaries.toNextBoundary(); next > found.back(); next = boundaries.toNextBoundary()) {
        found << static_cast<int>(next);
    }
    return found;
}

// The piece of `text` at `offset`, or `step` pieces after (or before) it,
// with its edges; empty where there is none. The end of the text belongs to
// the last word, sentence or line, but holds no character.
QString piece(const QString& text, QAccessible::TextBoundaryType type, int offset, int step, int* start, int* end)
{
    const QList<int> at = edges(text, type);
    const auto lastStart = type == QAccessible::CharBoundary ? at.end() : at.end() - 1;
    const qsizetype index = std::upper_bound(at.begin(), lastStart, offset) - at.begin() - 1 + step;
    if (index < 0 || index + 1 >= at.size()) {
        *start = *end = index < 0 ? 0 : static_cast<int>(text.size());
        return {};
    }
    *start = at[index];
    *end = at[index + 1];
    return text.mid(*start, *end - *start);
}

// An entry box as screen readers see it. Qt's own interface for a line edit
// spins for ever when asked for the word or sentence at the end of the text,
// and reports text attribute runs of no length, so that Orca reads "12" as
// "1".
class EntryAccessible final : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit EntryAccessible(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Value ? box().text() : QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    void selection(int index, int* start, int* end) const override
    {
        const bool selected = index == 0 && box().hasSelectedText();
        *start = selected ? box().selectionStart() : -1;
        *end = selected ? box().selectionEnd() : -1;
    }

    int selectionCount() const override { return box().hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { box().setSelection(start, end - start); }

    void removeSelection(int index) override
    {
        if (index == 0) {
            box().deselect();
        }
    }

    void setSelection(int index, int start, int end) override
    {
        if (index == 0) {
            addSelection(start, end);
        }
    }

    int cursorPosition() const override { return box().cursorPosition(); }
    void setCursorPosition(int position) override { box().setCursorPosition(position); }
    QString text(int start, int end) const override { return box().text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(box().text().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return piece(box().text(), type, offset, -1, start, end);
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return piece(box().text(), type, offset, 0, start, end);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return piece(box().text(), type, offset, 1, start, end);
    }

    QRect characterRect(int offset) const override
    {
        const QRect character = form::characterArea(box(), offset);
        return character.isNull() ? character : QRect(box().mapToGlobal(character.topLeft()), character.size());
    }

    int offsetAtPoint(const QPoint& point) const override { return box().cursorPositionAt(box().mapFromGlobal(point)); }

    // A box always shows its whole text.
    void scrollToSubstring(int /*start*/, int /*end*/) override {}

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }

    // As typing does, so that the box's two-character limit and its whole
    // characters hold.
    void replaceText(int start, int end, const QString& text) override
    {
        box().setSelection(start, end - start);
        box().insert(text);
    }

    // One font and one colour: one run over the whole text.
    QString attributes(int /*offset*/, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QLineEdit& box() const { return *static_cast<QLineEdit*>(widget()); }
};

// Qt names the message box's icon so. The program's one message box is the
// error report, a warning.
bool isReportIcon(const QObject* object)
{
    return object->objectName() == QLatin1StringView("qt_msgboxex_icon_label");
}

QAccessibleInterface* interfaceFor(const QString& /*className*/, QObject* object)
{
    if (auto* window = qobject_cast<TimerWindow*>(object)) {
        return new WindowAccessible(window);
    }
    if (auto* box = qobject_cast<QLineEdit*>(object)) {
        return new EntryAccessible(box);
    }
    if (isReportIcon(object)) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic,
                                     QCoreApplication::translate("timer::accessibility", "אזהרה"));
    }
    return nullptr;
}

// Null only where the window was asked for its interface before
// installAccessibility().
WindowAccessible* windowAccessible(TimerWindow& window)
{
    return dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(&window));
}

void renameTimeLeft(TimerWindow& window)
{
    if (const WindowAccessible* shown = windowAccessible(window)) {
        QAccessibleEvent renamed(shown->timeLeft(), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

// Read after the button's caption.
void describeCount(QPushButton& pause, bool running)
{
    pause.setAccessibleDescription(wordsOf(running ? News::CountRuns : News::CountStopped));
}

void announce(TimerWindow& window, News news)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(&window, wordsOf(news));
    announcement.setPoliteness(news == News::CountEnded ? QAccessible::AnnouncementPoliteness::Assertive
                                                        : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
#else
    if (const WindowAccessible* accessible = windowAccessible(window)) {
        QAccessibleEvent shown(accessible->announcement(news), QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
#endif
}

} // namespace

void installAccessibility() { QAccessible::installFactory(interfaceFor); }

void follow(form::TimerForm& form)
{
    TimerWindow& window = form.window();
    for (const auto& pair : platform::kFieldPairs) {
        window.entry(pair.entry).setAccessibleName(window.heading(pair.display).text());
    }
    // The caption's "\" would be read as "backslash".
    window.pauseButton().setAccessibleName(QCoreApplication::translate("timer::accessibility", "הפסק או המשך"));
    describeCount(window.pauseButton(), form.running());
    QObject::connect(&form, &form::TimerForm::runningChanged, &window,
                     [&pause = window.pauseButton()](bool running) { describeCount(pause, running); });
    QObject::connect(&form, &form::TimerForm::pressSwitched, &window, [&window](bool running) {
        announce(window, running ? News::CountRuns : News::CountStopped);
    });
    QObject::connect(&window, &TimerWindow::displayChanged, &window, [&window] { renameTimeLeft(window); });
}

void announceCountEnded(TimerWindow& window) { announce(window, News::CountEnded); }

} // namespace timer::accessibility
