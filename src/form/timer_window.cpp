#include "form/timer_window.h"

#include "form/fonts.h"
#include "form/layout.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QValidator>

#include <algorithm>
#include <optional>
#include <vector>

#include "timer.xpm"

namespace timer::form {

namespace {

// The states that would give the window another size than its one.
constexpr Qt::WindowStates kRefusedStates = Qt::WindowMaximized | Qt::WindowFullScreen;

QFont qtFont(const FontSpec& wanted)
{
    QFont font(familyOnThisSystem(QStringView(wanted.family).toString()));
    font.setPointSizeF(wanted.pointSize);
    font.setWeight(static_cast<QFont::Weight>(wanted.weight));
    return font;
}

// Takes out every line break (a box holds one line: a pasted "7\n" must not
// keep a second place taken) and every half of a surrogate pair that has lost
// its other half, so that the two-unit limit of a box refuses a character that
// does not fit whole instead of keeping half of it.
class WholeCharactersOnOneLine final : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override
    {
        for (qsizetype i = 0; i < input.size();) {
            const bool paired = input[i].isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate();
            if (paired) {
                i += 2;
            } else if (input[i].isSurrogate() || breaksTheLine(input[i])) {
                input.remove(i, 1);
                position -= static_cast<int>(i < position);
            } else {
                ++i;
            }
        }
        return Acceptable;
    }

private:
    // Unicode's mandatory breaks: LF, VT, FF, CR, NEL, LS and PS.
    static bool breaksTheLine(QChar unit) { return QStringView(u"\n\v\f\r\u0085\u2028\u2029").contains(unit); }
};

// An entry box whose whole text is selected when it takes the focus and after
// every click, so that what the user types replaces it: the box is full, and
// a keystroke would otherwise be refused. Coming back to the window, or from
// the context menu, leaves the text and the caret as the user left them; a
// drag across the text selects part of it, and the arrow keys place the
// caret. A paste (Ctrl+V, the menu's Paste, the middle button's primary
// selection) or a drop replaces the selection, or the whole text where none
// is selected, as typing over it would: Qt's own inserts at the caret, which
// a full box refuses. A part of the text selected alone can be dragged: to
// another place in the box it moves, anywhere else it is copied.
class EntryBox final : public QLineEdit {
    Q_OBJECT

public:
    explicit EntryBox(QWidget* parent)
        : QLineEdit(parent)
    {
        setValidator(new WholeCharactersOnOneLine(this));
    }

    QSizeF textRoom() const
    {
        constexpr int kInnerMargin = 2; // QLineEdit's own, each side
        QStyleOptionFrame option;
        initStyleOption(&option);
        const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
        return contents.marginsRemoved(textMargins()).size() - QSize(2 * kInnerMargin, 0);
    }

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
            // Where Tab brought the focus, Qt has selected the text already,
            // and Qt 6.4 would tell screen readers of a selection made again.
            if (selectionLength() < text().size()) {
                selectAll();
            }
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Paste)) {
            pasteFrom(QClipboard::Clipboard);
        } else {
            QLineEdit::keyPressEvent(event);
        }
    }

    // A press on the whole text selects anew, as a drag across a digit must
    // begin on a text that a click has selected whole.
    void mousePressEvent(QMouseEvent* event) override
    {
        pressOnSelectedPart_.reset();
        const QPoint at = event->position().toPoint();
        if (event->button() == Qt::LeftButton && onSelectedPart(at)) {
            pressOnSelectedPart_ = at;
        } else {
            QLineEdit::mousePressEvent(event);
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!pressOnSelectedPart_) {
            QLineEdit::mouseMoveEvent(event);
        } else if ((event->position().toPoint() - *pressOnSelectedPart_).manhattanLength()
                   >= QApplication::startDragDistance()) {
            pressOnSelectedPart_.reset();
            dragSelection();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
            pasteFrom(QClipboard::Selection);
            return;
        }
        if (pressOnSelectedPart_) { // a click, as on any other place
            pressOnSelectedPart_.reset();
            selectAll();
            return;
        }
        // A click places the caret and drops the selection.
        QLineEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && !hasSelectedText()) {
            selectAll();
        }
    }

    // Qt's menu with its Paste (known by Qt's own caption) doing what Ctrl+V does.
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu* menu = createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                action->disconnect(this);
                connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
            }
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
    }

    void dragEnterEvent(QDragEnterEvent* event) override { dragMoveEvent(event); }

    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (refused(*event)) {
            event->ignore();
            return;
        }
        QLineEdit::dragMoveEvent(event); // the caret shows where it goes
        event->setDropAction(event->source() == this ? Qt::MoveAction : Qt::CopyAction);
    }

    void dropEvent(QDropEvent* event) override
    {
        if (refused(*event)) {
            event->ignore();
            return;
        }
        if (event->source() == this) {
            moveDraggedTo(cursorPositionAt(event->position().toPoint()));
            event->setDropAction(Qt::MoveAction);
            event->accept();
            return;
        }
        replaceWith(event->mimeData()->text());
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

private:
    // The characters dragged out of this box: where they began, and how many.
    struct Dragged {
        int start;
        int length;
    };

    // Whatever a drag from elsewhere proposes, the answer is a copy: the box
    // takes two characters at most, and a source told "moved" would delete
    // all it sent. One that brings nothing the box takes, or will not be
    // copied, is refused, so that its source keeps its text.
    bool refused(const QDropEvent& event) const
    {
        return taken(event.mimeData()->text()).isEmpty() || !event.possibleActions().testFlag(Qt::CopyAction);
    }

    bool onSelectedPart(QPoint point) const
    {
        if (selectionLength() == 0 || selectionLength() == text().size()) {
            return false;
        }
        for (int offset = selectionStart(); offset < selectionEnd(); ++offset) {
            const QRect area = characterArea(*this, offset);
            if (point.x() >= area.left() && point.x() <= area.right()) {
                return true;
            }
        }
        return false;
    }

    // Offered as a copy or a move, so that a drop within the box moves it.
    // Out of the box it is a copy, whatever the target answers: the box
    // keeps its digits.
    void dragSelection()
    {
        auto* data = new QMimeData;
        data->setText(selectedText());
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        dragged_ = Dragged{selectionStart(), selectionLength()};
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        dragged_.reset();
    }

    // `to` is a place between characters of the text as it stands; the
    // moved characters stay selected. Qt's hover has dropped the selection
    // by now.
    void moveDraggedTo(int to)
    {
        const auto [from, length] = *dragged_;
        setSelection(from, length);
        const QString moved = selectedText();
        del();
        const int at = to > from ? to - length : to;
        setCursorPosition(at);
        insert(moved);
        setSelection(at, length);
    }

    void pasteFrom(QClipboard::Mode mode) { replaceWith(QGuiApplication::clipboard()->text(mode)); }

    // What the box keeps of `brought`: its own rules take out what it never
    // holds.
    QString taken(QString brought) const
    {
        int end = 0;
        validator()->validate(brought, end);
        return brought;
    }

    // Where nothing is taken, the box keeps its text.
    void replaceWith(const QString& brought)
    {
        const QString text = taken(brought);
        if (text.isEmpty()) {
            return;
        }
        if (!hasSelectedText()) {
            selectAll();
        }
        insert(text);
    }

    std::optional<QPoint> pressOnSelectedPart_; // a press that may begin a drag
    std::optional<Dragged> dragged_;            // while a drag from this box runs
};

// A push button whose caption breaks into lines where it is wider than the
// button, as "הפסק \ המשך" must on its narrow button. Enter presses it when
// it has the focus, as Space does, although no button is the default; a held
// Enter presses it once.
class WrappingButton final : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    QSizeF textRoom() const { return textArea().size(); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QPushButton::keyPressEvent(event);
        } else if (!event->isAutoRepeat()) {
            click();
        }
    }

    void paintEvent(QPaintEvent* /*event*/) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        painter.drawText(textArea(), Qt::AlignCenter | Qt::TextWordWrap, text());
    }

private:
    QRect textArea() const
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    }
};

void applyLook(QWidget& widget, const ControlLayout& row)
{
    widget.setObjectName(QLatin1StringView(row.name));
    widget.setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
    QPalette palette = row.kind == ControlKind::Button || row.kind == ControlKind::Entry
                           ? QPalette(QColor::fromRgb(kControlFace))
                           : widget.palette();
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

// Where no stand-in font exists, the text is drawn smaller rather than cut.
void fitText(QWidget& widget, const QString& text, QSizeF room, TextFit how)
{
    const QFont font = fitted(widget.font(), text, room, how);
    if (font != widget.font()) {
        widget.setFont(font);
    }
}

QString textOf(const ControlLayout& row) { return TimerWindow::tr(row.text); }

QLabel* createLabel(const ControlLayout& row, QWidget* parent)
{
    auto* label = new QLabel(textOf(row), parent);
    // Texts come from what the user typed: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    // Absolute: a right-to-left text still starts at the left edge.
    label->setAlignment(row.kind == ControlKind::Heading ? Qt::AlignCenter
                                                         : Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
    applyLook(*label, row);
    fitText(*label, label->text(), label->contentsRect().size(), TextFit::Ink);
    return label;
}

QLineEdit* createEntry(const ControlLayout& row, QWidget* parent)
{
    auto* entry = new EntryBox(parent);
    entry->setMaxLength(kEntryMaxLength);
    applyLook(*entry, row);
    fitText(*entry, textOf(row), entry->textRoom(), TextFit::Advance);
    entry->setText(textOf(row)); // after the font: laid out once
    return entry;
}

QPushButton* createButton(const ControlLayout& row, QWidget* parent)
{
    auto* button = new WrappingButton(textOf(row), parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    applyLook(*button, row);
    fitText(*button, button->text(), button->textRoom(), TextFit::WrappedLines);
    return button;
}

} // namespace

QRect characterArea(const QLineEdit& box, int offset)
{
    const QString shown = box.text();
    if (offset < 0 || offset >= shown.size()) {
        return {};
    }
    // Qt tells where the caret stands, in the middle of the rectangle it
    // gives; the characters lie at their advances from it, left to right as
    // the digits a box holds.
    const QFontMetrics metrics(box.font());
    const QRect caret = box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int left = caret.left() + caret.width() / 2 + metrics.horizontalAdvance(shown.left(offset))
                     - metrics.horizontalAdvance(shown.left(box.cursorPosition()));
    return {left, caret.top(), metrics.horizontalAdvance(shown.mid(offset, 1)), caret.height()};
}

TimerWindow::TimerWindow()
{
    setUpFrame();
    createControls();
    chainTabOrder();
    focusFirstBox();
}

void TimerWindow::setUpFrame()
{
    setObjectName(QStringLiteral("Timer"));
    setWindowTitle(tr(kWindowTitle));
    setWindowIcon(QIcon(QPixmap(timer_xpm)));
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    // Of one size, the frame offers no maximise (Qt's own title bar on
    // Wayland draws the button all the same): minimise and close stay.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFont(qtFont(kDialogFont));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor::fromRgb(kWindowBackground));
    setPalette(background);
    setAutoFillBackground(true);
    stateSettled_.setSingleShot(true);
    stateSettled_.setInterval(0);
    connect(&stateSettled_, &QTimer::timeout, this, [this] {
        setWindowState(windowState() & ~kRefusedStates);
        update();
    });
}

// In the layout's order, which is the order they lie in where they overlap.
void TimerWindow::createControls()
{
    auto* nextButton = buttons_.begin();
    for (const ControlLayout& row : kLayout) {
        switch (row.kind) {
        case ControlKind::Heading:
            controls_.push_back(headings_.at(index(*row.field)) = createLabel(row, this));
            break;
        case ControlKind::Field:
            controls_.push_back(displays_.at(index(*row.field)) = createLabel(row, this));
            displayParts_.push_back(displays_.at(index(*row.field)));
            break;
        case ControlKind::Colon:
            controls_.push_back(displayParts_.emplace_back(createLabel(row, this)));
            break;
        case ControlKind::Label:
            controls_.push_back(createLabel(row, this));
            break;
        case ControlKind::Entry:
            controls_.push_back(entries_.at(static_cast<std::size_t>(platform::entryOf(*row.field))) =
                                    createEntry(row, this));
            break;
        case ControlKind::Button:
            controls_.push_back(*nextButton++ = createButton(row, this));
            break;
        }
    }
}

void TimerWindow::chainTabOrder()
{
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        if (controls_[i]->focusPolicy() & Qt::TabFocus) {
            tabOrder.emplace_back(kLayout[i].tabIndex, controls_[i]);
        }
    }
    std::ranges::sort(tabOrder);
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
}

// The focus starts in the first box, its text selected: the window's
// activation leaves the selection as it finds it.
void TimerWindow::focusFirstBox() const
{
    QLineEdit& first = entry(platform::kFieldPairs.front().entry);
    first.setFocus();
    first.selectAll();
}

void TimerWindow::setDisplayText(platform::Display field, const QString& text)
{
    display(field).setText(text);
    emit displayChanged();
}

void TimerWindow::setEntryText(platform::Entry box, const QString& text) const
{
    QLineEdit& written = entry(box);
    written.setText(text);
    if (written.hasFocus()) {
        written.selectAll();
    }
}

void TimerWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    // Once the change under way has settled: a maximised or full-screen
    // state, asked for by the title bar Qt draws on Wayland or by the window
    // manager, is handed back, and the controls are drawn again (Qt 6.4 on
    // Wayland leaves the labels blank after a change of state, until their
    // text changes).
    stateSettled_.start();
}

void TimerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QPoint margin(std::max(0, (width() - pixels(kClientWidth)) / 2),
                        std::max(0, (height() - pixels(kClientHeight)) / 2));
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        controls_.at(i)->move(QPoint(pixels(kLayout.at(i).left), pixels(kLayout.at(i).top)) + margin);
    }
}

} // namespace timer::form

#include "timer_window.moc"
