#include "gui_fakes.h"

#include "accessibility/accessibility.h"
#include "form/caret_rest.h"
#include "form/error_report.h"
#include "form/fonts.h"
#include "form/qt_hebrew.h"
#include "form/timer_form.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <memory>

using namespace timer::testing;
using timer::form::TimerForm;

namespace {

// Keys as the window system delivers them: to the active window.
void typeKeys(const QString& typed)
{
    for (const QChar character : typed) {
        QTest::keyClick(QGuiApplication::focusWindow(), character.toLatin1());
    }
}

void pressKey(Qt::Key key) { QTest::keyClick(QGuiApplication::focusWindow(), key); }

// One active window on driven time, its ends counted, as screen readers
// follow it.
struct Fixture : DrivenForm {
    QSignalSpy ends{&form, &TimerForm::countEnded};
    const bool active; // tests that need the focus check it

    explicit Fixture(bool realReport = false)
        : DrivenForm(realReport)
        , active(activate(form.window()))
    {
        timer::accessibility::follow(form);
    }
};

const QStringList kZero{"00", "00", "00"};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        timer::form::installQtHebrew(*QCoreApplication::instance());
        timer::accessibility::installAccessibility();
    }

    // The window as it opens: its title and icon, every field "00", the
    // focus in the first box, and the controls where the layout puts them,
    // the display one band, in a window of one size.
    void opensAsLaidOut()
    {
        Fixture f;
        QVERIFY(f.active);
        QCOMPARE(f.form.window().windowTitle(), QStringLiteral("Timer"));
        QVERIFY(f.form.window().windowIcon().availableSizes().contains(QSize(32, 32)));
        QCOMPARE(f.display(), kZero);
        QCOMPARE(f.entries(), kZero);
        QTRY_COMPARE(QApplication::focusWidget(), f.find("Text1"));
        const std::pair<const char*, QRect> places[] = {
            {"Label6", QRect(32, 8, 33, 17)},     {"Text3", QRect(160, 32, 33, 33)},
            {"Label1", QRect(32, 80, 49, 41)},    {"Label2", QRect(80, 80, 9, 41)},
            {"Label5", QRect(144, 80, 49, 41)},   {"Label9", QRect(56, 128, 114, 17)},
            {"Command1", QRect(72, 152, 81, 49)}, {"Command3", QRect(168, 144, 33, 33)},
        };
        for (const auto& [name, place] : places) {
            QCOMPARE(f.find(name)->geometry(), place);
        }
        QCOMPARE(f.form.window().size(), QSize(225, 202));
        QCOMPARE(f.form.window().minimumSize(), f.form.window().maximumSize());
    }

    // The frame offers no maximise; a maximised or full-screen state is
    // handed back at once; where a window manager gives the window more room
    // all the same, the controls stay together in the middle.
    void keepsItsOneSize()
    {
        Fixture f;
        QWidget& window = f.form.window();
        constexpr Qt::WindowFlags kButtons = Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        QCOMPARE(window.windowFlags() & kButtons, Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        const QPoint display = f.find("Label1")->mapTo(&window, QPoint());
        for (const auto state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            window.setWindowState(state);
            QTRY_COMPARE(window.windowState(), Qt::WindowNoState);
            QCOMPARE(window.size(), QSize(225, 202));
        }
        window.windowHandle()->resize(425, 302); // as a tiling window manager does
        QTRY_COMPARE(window.size(), QSize(425, 302));
        QCOMPARE(f.find("Label1")->mapTo(&window, QPoint()), display + QPoint(100, 50));
        window.windowHandle()->resize(200, 180); // less room: the layout's corner stays in view
        QTRY_COMPARE(window.size(), QSize(200, 180));
        QCOMPARE(f.find("Label1")->mapTo(&window, QPoint()), display);
    }

    void fontsAskedFor()
    {
        Fixture f;
        const QFont digits = f.find("Label3")->font();
        // This system has no "David": the free David CLM stands in for it.
        QCOMPARE(digits.pointSizeF(), 35.25);
        QCOMPARE(digits.weight(), static_cast<QFont::Weight>(350));
        QCOMPARE(QFontInfo(digits).family(), QStringLiteral("David CLM"));

        const QFont entry = f.find("Text1")->font();
        QCOMPARE(QFontInfo(entry).family(), QStringLiteral("DejaVu Sans Condensed"));
        QCOMPARE(entry.pointSizeF(), 13.5);
        QCOMPARE(f.find("Label4")->font().pointSizeF(), 24.0);
        // The faces that draw Hebrew captions have the Hebrew letters.
        for (const char* name : {"Command1", "Label9"}) {
            QVERIFY(QFontMetrics(f.find(name)->font()).inFont(QChar(0x05D0)));
        }
        QCOMPARE(QFontInfo(f.find("Command1")->font()).family(), QStringLiteral("David CLM"));
        QCOMPARE(QFontInfo(f.find("Label9")->font()).family(), QStringLiteral("Frank Ruehl CLM"));
    }

    // Under a dark scheme the yellow band and the green headings still draw
    // dark ink, and the boxes and buttons keep their light face and frame on
    // the black window.
    void readableUnderADarkScheme()
    {
        const QPalette saved = QApplication::palette();
        QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
        QApplication::setPalette(dark);
        Fixture f;
        const QImage image = f.form.window().grab().toImage();
        QApplication::setPalette(saved);
        for (const char* name : {"Label1", "Label6"}) {
            const QRect area = f.find(name)->geometry();
            int darkest = 255;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    darkest = std::min(darkest, qGray(image.pixel(x, y)));
                }
            }
            QVERIFY2(darkest < 64, name);
        }
        for (const char* name : {"Text2", "Command2"}) {
            const QRect area = f.find(name)->geometry();
            QVERIFY2(qGray(image.pixel(area.left(), area.center().y())) > 64, name);
            QVERIFY2(qGray(image.pixel(area.topLeft() + QPoint(4, 4))) > 128, name);
        }
    }

    // Run also with one font on the system, where every stand-in is missing.
    void textsFitTheirControls()
    {
        Fixture f;
        for (QWidget* control : f.form.window().findChildren<QWidget*>()) {
            const QString text = control->property("text").toString();
            const QFontMetricsF metrics(control->font());
            // A button may break its caption at blanks.
            const QStringList words = qobject_cast<QPushButton*>(control) != nullptr ? text.split(' ') : QStringList{text};
            for (const QString& word : words) {
                const QRectF ink = metrics.tightBoundingRect(word);
                QVERIFY2(ink.width() <= control->contentsRect().width(), qPrintable(control->objectName()));
                QVERIFY2(ink.height() <= control->contentsRect().height(), qPrintable(control->objectName()));
            }
        }
    }

    // What the user types replaces the whole box: at start, after Tab, after
    // a click in another box or in the one that has the focus. Coming back to
    // the window keeps what was half typed.
    void typingReplacesTheFocusedBox()
    {
        Fixture f;
        QVERIFY(f.active);
        typeKeys("153");
        QCOMPARE(f.text("Text1"), QStringLiteral("15")); // two characters at most
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Tab);
        typeKeys("7");
        QCOMPARE(f.text("Text2"), QStringLiteral("7"));
        QTest::mouseClick(f.find("Text3"), Qt::LeftButton);
        typeKeys("4");
        QCOMPARE(f.text("Text3"), QStringLiteral("4"));
        QTest::mouseClick(f.find("Text3"), Qt::LeftButton, {}, QPoint(12, 16));
        typeKeys("12");
        QCOMPARE(f.text("Text3"), QStringLiteral("12"));
        // A drag across the first digit selects it alone.
        QTest::mousePress(f.find("Text3"), Qt::LeftButton, {}, QPoint(2, 16));
        QTest::mouseMove(f.find("Text3"), QPoint(11, 16));
        QTest::mouseRelease(f.find("Text3"), Qt::LeftButton, {}, QPoint(11, 16));
        QCOMPARE(f.find<QLineEdit>("Text3")->selectedText(), QStringLiteral("1"));

        QTest::mouseClick(f.find("Text3"), Qt::LeftButton);
        typeKeys("1");
        QWidget elsewhere;
        QVERIFY(activate(elsewhere));
        QVERIFY(activate(f.form.window()));
        typeKeys("5");
        QCOMPARE(f.text("Text3"), QStringLiteral("15"));

        // The end of a count writes "00" into the box being typed in.
        f.click("Command3");
        f.type("Text3", "1");
        f.click("Command1");
        QTest::mouseClick(f.find("Text2"), Qt::LeftButton);
        typeKeys("1");
        QVERIFY(f.tick());
        typeKeys("25");
        QCOMPARE(f.text("Text2"), QStringLiteral("25"));
    }

    // What a box takes: a character outside the BMP takes both units or
    // none, a line break none. A paste or a drop replaces what is selected,
    // or the whole text where nothing is; a drop of nothing is refused.
    void pastesAndDropsReplaceTheText()
    {
        Fixture f;
        const QString face = QString::fromUcs4(U"\U0001F600", 1);
        const auto typeFace = [&f, &face](const char* box) {
            QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, face);
            QApplication::sendEvent(f.find(box), &typed);
        };
        f.type("Text1", "1");
        typeFace("Text1");
        QCOMPARE(f.text("Text1"), QStringLiteral("1"));
        // The half that goes takes its place before the caret with it.
        f.find<QLineEdit>("Text1")->setCursorPosition(0);
        typeFace("Text1");
        QCOMPARE(f.find<QLineEdit>("Text1")->cursorPosition(), 0);

        QClipboard& clipboard = *QApplication::clipboard();
        clipboard.setText(QStringLiteral("1") + face);
        auto* box = f.find<QLineEdit>("Text2");
        box->selectAll();
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("1"));

        f.type("Text3", "");
        typeFace("Text3");
        QCOMPARE(f.text("Text3"), face);

        // Into a full box with the caret placed.
        const auto full = [box] {
            box->setText(QStringLiteral("12"));
            box->setCursorPosition(1);
        };
        full();
        clipboard.setText(QStringLiteral("\n"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        clipboard.setText(QStringLiteral("7\n"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("7"));

        // Qt's own menu, in Hebrew and right to left; its closing leaves the
        // box as the paste left it.
        box->setFocus();
        full();
        clipboard.setText(QStringLiteral("34"));
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
        QVERIFY(menu->actions().constFirst()->text().contains(QRegularExpression(QStringLiteral("[\u05D0-\u05EA]"))));
        const QList<QAction*> actions = menu->actions();
        const auto paste = std::ranges::find_if(actions, [](const QAction* action) {
            return action->text().startsWith(QLineEdit::tr("&Paste"));
        });
        QVERIFY(paste != actions.cend());
        (*paste)->trigger();
        menu->close();
        QCOMPARE(box->text(), QStringLiteral("34"));
        QVERIFY(!box->hasSelectedText());

        if (clipboard.supportsSelection()) { // X11's primary selection
            full();
            clipboard.setText(QStringLiteral("56"), QClipboard::Selection);
            QTest::mouseClick(box, Qt::MiddleButton);
            QCOMPARE(box->text(), QStringLiteral("56"));
        }

        full();
        QMimeData dropped;
        const auto drop = [box, &dropped](const QString& text) {
            dropped.setText(text);
            const QPoint point = box->rect().center();
            QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &dropped, Qt::LeftButton, {});
            QApplication::sendEvent(box, &enter);
            QDropEvent event(point, Qt::CopyAction | Qt::MoveAction, &dropped, Qt::LeftButton, {});
            QApplication::sendEvent(box, &event);
            return event.isAccepted();
        };
        QVERIFY(drop(QStringLiteral("89")));
        QCOMPARE(box->text(), QStringLiteral("89"));
        QVERIFY(!drop(QStringLiteral("\n")));
        QCOMPARE(box->text(), QStringLiteral("89"));
    }

    // What a screen reader finds in the window itself; what it hears over
    // AT-SPI is check_accessibility.py's.
    void accessibility()
    {
        Fixture f;
        const auto accessible = [&f](const char* name) {
            return QAccessible::queryAccessibleInterface(f.find(name));
        };
        // A box tells its value and its selection: Orca reads "00 selected".
        QCOMPARE(accessible("Text1")->text(QAccessible::Value), QStringLiteral("00"));
        int start = -1;
        int end = -1;
        accessible("Text1")->textInterface()->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 2));
        // The display is one child of the window, a status bar, in place of
        // its five labels.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&f.form.window());
        QList<QAccessibleInterface*> children;
        for (int i = 0; i < window->childCount(); ++i) {
            children << window->child(i);
        }
        const auto statusBar = std::ranges::find(children, QAccessible::StatusBar, &QAccessibleInterface::role);
        QVERIFY(statusBar != children.end());
        QCOMPARE(window->indexOfChild(*statusBar), statusBar - children.begin());
        QCOMPARE((*statusBar)->parent(), window);
        for (const char* part : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
            QVERIFY(!children.contains(accessible(part)));
        }
        // Pause/Continue tells from the start that the count stands.
        QCOMPARE(accessible("Command2")->text(QAccessible::Description), QStringLiteral("הספירה עצורה"));
    }

    // Each button's click and each tick run their own handler; a click on a
    // label runs none.
    void buttonsAndTicksRunTheirHandlers()
    {
        Fixture f;
        f.type("Text3", "3");
        f.click("Command1");
        QCOMPARE(f.display(), (QStringList{"00", "00", "03"}));
        QVERIFY(f.tick());
        f.click("Command2");
        QVERIFY(!f.running() && !f.wake.due());
        f.click("Command2");
        QVERIFY(f.tick(2));
        QCOMPARE(f.ends.count(), 1);
        QCOMPARE(f.display(), kZero);
        QCOMPARE(f.entries(), kZero);
        QVERIFY(!f.running());

        f.type("Text3", "5");
        for (const char* name : {"Label1", "Label2", "Label6", "Label9"}) {
            QTest::mouseClick(f.find(name), Qt::LeftButton);
        }
        QCOMPARE(f.display(), kZero);
        f.click("Command1");
        f.click("Command3");
        QCOMPARE(f.display(), kZero);
        QCOMPARE(f.entries(), kZero);
        QVERIFY(!f.running());
        QCOMPARE(f.ends.count(), 1);
    }

    // A rejected box stops a running count and is reported, and the user is
    // sent back to it. A tick that meets the text Start left on the display
    // blames the display and sends the user to Start, not to the box
    // corrected since; Start then runs the count again.
    void rejectedEntryIsReportedAndTheProgramGoesOn()
    {
        Fixture f;
        QVERIFY(f.active);
        f.type("Text3", "2");
        f.click("Command1");
        f.type("Text1", "ab");
        f.click("Command1");
        QCOMPARE(f.report.messages.size(), 1);
        QVERIFY(f.report.messages[0].contains(QStringLiteral("שעות")));
        QVERIFY(!f.running() && !f.wake.due());
        QCOMPARE(f.display(), (QStringList{"ab", "00", "02"}));
        QTRY_COMPARE(QApplication::focusWidget(), f.find("Text1"));
        QCOMPARE(f.find<QLineEdit>("Text1")->selectedText(), QStringLiteral("ab"));

        f.type("Text1", "0");
        f.click("Command2");
        QVERIFY(f.tick());
        QCOMPARE(f.report.messages.size(), 2);
        const QString& message = f.report.messages[1];
        QVERIFY2(message.contains(QStringLiteral("\"\u2066ab\u2069\"")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"התחל\"")), qPrintable(message));
        QTRY_COMPARE(QApplication::focusWidget(), f.find("Command1"));

        f.click("Command1");
        QVERIFY(f.running());
        QVERIFY(f.tick(2));
        QCOMPARE(f.ends.count(), 1);
    }

    // The report quotes the box as typed, not the display's copy, as a
    // left-to-right run isolated from the Hebrew sentence (LRI ... PDI) so
    // that neutral characters stay where they were typed, and writes out what
    // would draw nothing.
    void reportQuotesWhatWasTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("one letter") << "x" << QStringLiteral("\"\u2066x\u2069\"");
        QTest::newRow("trailing minus") << "1-" << QStringLiteral("\"\u20661-\u2069\"");
        QTest::newRow("right-to-left mark and digit") << QStringLiteral("\u200F5") << QStringLiteral("\"\u2066[U+200F]5\u2069\"");
        QTest::newRow("an isolate of the user's") << QStringLiteral("\u2069") << QStringLiteral("\"\u2066[U+2069]\u2069\"");
        QTest::newRow("two blanks") << "  " << QStringLiteral("\"\u2066[U+0020][U+0020]\u2069\"");
        // A number, but minutes below zero cannot lend the seconds a minute.
        QTest::newRow("below zero") << "-1" << QStringLiteral("\"\u2066-1\u2069\"");
    }

    void reportQuotesWhatWasTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, quoted);
        Fixture f;
        QVERIFY(f.active);
        f.find<QLineEdit>("Text2")->setText(typed);
        f.click("Command1");
        f.tick(); // where Start took the text, the count meets it
        QCOMPARE(f.report.messages.size(), 1);
        QVERIFY(f.report.messages[0].contains(QStringLiteral("\"דקות\"")));
        QVERIFY2(f.report.messages[0].contains(quoted), qPrintable(f.report.messages[0]));
    }

    // The real report, driven by keys through the windows as a user gives
    // them: Space on Start opens it, an auto-repeat of a key held from before
    // does not close it, Return does, in Qt's Hebrew; afterwards keys reach
    // the window as before, and Space and Enter press the focused button.
    // Enter in a box presses nothing.
    void keyboardAroundTheReport()
    {
        Fixture f(true);
        QVERIFY(f.active);
        typeKeys("ab");
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Space);
        const QPointer box = f.form.window().findChild<QMessageBox*>();
        QVERIFY(box != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(box));
        QVERIFY(box->button(QMessageBox::Ok)->text().contains(QRegularExpression(QStringLiteral("[\u05D0-\u05EA]"))));
        QTest::simulateEvent(box->windowHandle(), true, Qt::Key_Return, {}, QStringLiteral("\r"), true);
        QVERIFY(box != nullptr && box->isVisible());
        pressKey(Qt::Key_Return);
        QVERIFY(box.isNull() || box->isHidden());
        QVERIFY(activate(f.form.window()));
        QCOMPARE(QApplication::focusWidget(), f.find("Text1"));

        QTest::simulateEvent(f.form.window().windowHandle(), true, Qt::Key_0, {}, QStringLiteral("0"), true);
        typeKeys("5");
        QCOMPARE(f.text("Text1"), QStringLiteral("05"));
        pressKey(Qt::Key_Return);
        QVERIFY(!f.running());
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Space);
        QVERIFY(f.running());
        QCOMPARE(f.display(), (QStringList{"05", "00", "00"}));
        for (int i = 0; i < 3; ++i) {
            pressKey(Qt::Key_Tab);
        }
        pressKey(Qt::Key_Enter);
        QVERIFY(!f.running());
        QTest::simulateEvent(f.form.window().windowHandle(), true, Qt::Key_Enter, {}, QStringLiteral("\r"), true);
        QVERIFY(!f.running()); // a held Enter presses once
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Return);
        QCOMPARE(f.display(), kZero);
    }

    // While the guard is on, the repeats of a key held from before are held
    // back; a key pressed afresh repeats as usual.
    void heldKeyGuardHoldsBackOnlyKeysHeldFromBefore()
    {
        QLineEdit box;
        QVERIFY(activate(box));
        timer::form::HeldKeyGuard guard;
        guard.install();
        QTest::simulateEvent(box.windowHandle(), true, Qt::Key_A, {}, QStringLiteral("a"), true);
        QTest::simulateEvent(box.windowHandle(), true, Qt::Key_B, {}, QStringLiteral("b"), false);
        QTest::simulateEvent(box.windowHandle(), true, Qt::Key_B, {}, QStringLiteral("b"), true);
        QCOMPARE(box.text(), QStringLiteral("bb"));
    }

    // Closing the window while the report is open closes the report too, and
    // the program ends: the window system does not hold the close back. The
    // report's icon has a name for screen readers.
    void reportLeavesTheWindowFreeToClose()
    {
        Fixture f(true);
        f.type("Text2", "x");
        f.click("Command1");
        const QPointer box = f.form.window().findChild<QMessageBox*>();
        QVERIFY(box != nullptr && box->isVisible());
        // As wide as the longer of its two lines, not both on one; its button
        // without the icon that Qt draws a right-to-left caption against.
        QVERIFY(box->width() < box->fontMetrics().horizontalAdvance(box->text().replace(u'\n', u' ')));
        QVERIFY(box->button(QMessageBox::Ok)->icon().isNull());
        QCOMPARE(QAccessible::queryAccessibleInterface(box->findChild<QLabel*>("qt_msgboxex_icon_label"))
                     ->text(QAccessible::Name),
                 QStringLiteral("אזהרה"));
        QCOMPARE(QGuiApplication::modalWindow(), nullptr);
        f.form.window().windowHandle()->close();
        QVERIFY(box.isNull() || box->isHidden());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::ranges::none_of(windows, &QWidget::isVisible));
    }

    void nothingRunsWhileTheReportIsOpen()
    {
        Fixture f;
        f.report.keepOpen = true;
        f.type("Text2", "zz");
        f.click("Command1");
        f.type("Text2", "5");
        f.click("Command1");
        f.click("Command3");
        QCOMPARE(f.display(), (QStringList{"00", "zz", "00"}));
        QVERIFY(!f.running());
        f.report.dismiss();
        f.click("Command1");
        QVERIFY(f.running());
    }

    // Qt's own words come in Hebrew and read right to left, while the window
    // keeps its places: it draws the same as under a left-to-right language,
    // and the display's texts start at the left edge.
    void qtTextsInHebrewLeaveThePlaces()
    {
        Fixture f;
        QVERIFY(f.active);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        // A display field starts its text at its left edge, Hebrew too.
        auto* hours = f.find<QLabel>("Label1");
        hours->setText(QStringLiteral("א"));
        const QImage field = hours->grab().toImage();
        int left = field.width();
        int right = 0;
        for (int y = 0; y < field.height(); ++y) {
            for (int x = 0; x < field.width(); ++x) {
                if (qGray(field.pixel(x, y)) < 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY2(left < field.width() - 1 - right, qPrintable(QStringLiteral("ink from %1 to %2").arg(left).arg(right)));
        const QImage rightToLeft = f.form.window().grab().toImage();
        f.form.window().setLayoutDirection(Qt::LeftToRight);
        QCOMPARE(f.form.window().grab().toImage(), rightToLeft);
        f.form.window().unsetLayoutDirection();
    }

    // After a while without input the caret stays on instead of blinking; a
    // key starts the blink again.
    void caretRestsWhenIdle()
    {
        QStyleHints* hints = QGuiApplication::styleHints();
        hints->setCursorFlashTime(-1); // no rate of the application's own
        const int desktopRate = hints->cursorFlashTime();
        QWidget window;
        QVERIFY(activate(window));
        {
            const timer::form::CaretRest caret(std::chrono::milliseconds(1));
            QTest::keyClick(window.windowHandle(), Qt::Key_A); // before it rests
            QCOMPARE(hints->cursorFlashTime(), desktopRate);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
            QTest::keyClick(window.windowHandle(), Qt::Key_A);
            QCOMPARE(hints->cursorFlashTime(), desktopRate);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton);
            QCOMPARE(hints->cursorFlashTime(), desktopRate);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
        }
        QCOMPARE(hints->cursorFlashTime(), desktopRate); // as it was, once the window is gone
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
