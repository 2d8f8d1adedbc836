#include "gui_fakes.h"

#include "accessibility/accessibility.h"
#include "desktop/held_keys.h"
#include "form/caret_rest.h"
#include "form/fonts.h"
#include "form/error_report.h"
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
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleHints>
#include <QStyleOptionButton>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <tuple>

using namespace timer::testing;

namespace {

// Keys as the window system delivers them: to the active window. Tab,
// Space and Return are "\t", " " and "\r".
void typeKeys(const QString& typed)
{
    for (const QChar character : typed) {
        QTest::keyClick(QGuiApplication::focusWindow(), character.toLatin1());
    }
}

// The box around the pixels of `image` darker than `gray`; empty where none is.
QRect inkOf(const QImage& image, int gray)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < gray) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// One active window on driven time, as screen readers follow it.
struct Fixture : DrivenForm {
    const bool active; // tests that need the focus check it

    explicit Fixture(bool realReport = false)
        : DrivenForm(realReport)
        , active(activate(form.window()))
    {
        timer::accessibility::follow(form);
    }
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        timer::form::installQtHebrew(*QCoreApplication::instance());
        timer::accessibility::installAccessibility();
    }

    // The window as it opens: its title and icon, and the controls where the
    // layout puts them. The frame offers no maximise; a maximised or
    // full-screen state is handed back at once; where a window manager gives
    // the window more room all the same, the controls stay together in the
    // middle.
    void keepsItsPlacesAndItsOneSize()
    {
        Fixture f;
        QWidget& window = f.form.window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Timer"));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
        const std::pair<const char*, QRect> places[] = {
            {"Label6", QRect(32, 8, 33, 17)},     {"Text3", QRect(160, 32, 33, 33)},
            {"Label1", QRect(32, 80, 49, 41)},    {"Label2", QRect(80, 80, 9, 41)},
            {"Label5", QRect(144, 80, 49, 41)},   {"Label9", QRect(56, 128, 114, 17)},
            {"Command1", QRect(72, 152, 81, 49)}, {"Command3", QRect(168, 144, 33, 33)},
        };
        for (const auto& [name, place] : places) {
            QCOMPARE(f.find(name)->geometry(), place);
        }
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

    // The faces asked for where the system has them, the free stand-ins
    // where it has not ("David CLM" for "David", "DejaVu Sans Condensed" for
    // "MS Sans Serif"), at the sizes asked for.
    void fontsAskedFor()
    {
        Fixture f;
        const std::tuple<const char*, QString, qreal> fonts[] = {
            {"Label3", QStringLiteral("David CLM"), 35.25},
            {"Text1", QStringLiteral("DejaVu Sans Condensed"), 13.5},
            {"Label4", QStringLiteral("DejaVu Sans Condensed"), 24},
            {"Command1", QStringLiteral("David CLM"), 24},
            {"Label9", QStringLiteral("Frank Ruehl CLM"), 8},
        };
        for (const auto& [name, family, size] : fonts) {
            const QFont font = f.find(name)->font();
            QCOMPARE(QFontInfo(font).family(), family);
            QCOMPARE(font.pointSizeF(), size);
        }
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
            QVERIFY2(!inkOf(image.copy(f.find(name)->geometry()), 64).isEmpty(), name);
        }
        for (const char* name : {"Text2", "Command2"}) {
            const QRect area = f.find(name)->geometry();
            QVERIFY2(qGray(image.pixel(area.left(), area.center().y())) > 64, name);
        }
        // The display's yellow band, and Pause/Continue's caption, inside
        // the button's frame, broken into its two lines.
        QCOMPARE(image.pixel(f.find("Label1")->geometry().topLeft()), timer::form::kYellow);
        QWidget* pause = f.find("Command2");
        QVERIFY(inkOf(image.copy(pause->geometry().adjusted(2, 2, -2, -2)), 64).height() > pause->fontMetrics().height());
    }

    // Run also with one font on the system, where every stand-in is missing.
    void textsFitTheirControls()
    {
        Fixture f;
        for (QWidget* control : f.form.window().findChildren<QWidget*>()) {
            const QString text = control->property("text").toString();
            const QFontMetricsF metrics(control->font());
            QRectF room = control->contentsRect();
            // A label draws its ink from its left edge, or centred.
            const QRectF ink = metrics.tightBoundingRect(text);
            QRectF taken(QPointF(), QSizeF(std::max(ink.width(), ink.right()), ink.height()));
            // A button breaks its caption at blanks, in its contents' room.
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                QStyleOptionButton option;
                option.initFrom(button);
                room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                taken = metrics.boundingRect(room, Qt::TextWordWrap, text);
            }
            QVERIFY2(taken.width() <= room.width() && taken.height() <= room.height(),
                     qPrintable(control->objectName()));
        }
        // A caption as wide as its room and too tall for it shrinks too.
        const QRectF flat(0, 0, 400, 8);
        const QFont shrunk = timer::form::fitted(f.find("Command2")->font(), QStringLiteral("א ב"), flat.size(),
                                                 timer::form::TextFit::WrappedLines);
        QVERIFY(QFontMetricsF(shrunk).boundingRect(flat, Qt::TextWordWrap, QStringLiteral("א ב")).height() <= 8);
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
        typeKeys("\t\t7");
        QCOMPARE(f.text("Text2"), QStringLiteral("7"));
        QTest::mouseClick(f.find("Text3"), Qt::LeftButton);
        typeKeys("12");
        QCOMPARE(f.text("Text3"), QStringLiteral("12"));
        // A drag across a digit selects it alone: after a click, from the
        // middle of the first; beside a digit selected alone, across the
        // second. A click on the selected digit selects the whole text.
        const auto dragAcross = [box = f.find<QLineEdit>("Text3")](int from, int to) {
            QTest::mousePress(box, Qt::LeftButton, {}, QPoint(from, 16));
            QTest::mouseMove(box, QPoint(to, 16));
            QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(to, 16));
            return box->selectedText();
        };
        QTest::mouseClick(f.find("Text3"), Qt::LeftButton);
        QCOMPARE(dragAcross(6, 11), QStringLiteral("1"));
        QCOMPARE(dragAcross(17, 26), QStringLiteral("2"));
        QTest::mouseClick(f.find("Text3"), Qt::LeftButton, {}, QPoint(20, 16));
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

    // What a box takes: no half of a character outside the BMP, no line
    // break. A paste or a drop where nothing is selected replaces the whole
    // text; a drop is taken as a copy, and one of nothing is refused.
    void pastesAndDropsReplaceTheText()
    {
        Fixture f;
        const QString face = QString::fromUcs4(U"\U0001F600", 1);
        const auto typeFace = [&f, &face] {
            QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, face);
            QApplication::sendEvent(f.find("Text1"), &typed);
        };
        f.type("Text1", "1");
        typeFace();
        QCOMPARE(f.text("Text1"), QStringLiteral("1"));
        // The half that goes takes its place before the caret with it.
        f.find<QLineEdit>("Text1")->setCursorPosition(0);
        typeFace();
        QCOMPARE(f.find<QLineEdit>("Text1")->cursorPosition(), 0);

        QClipboard& clipboard = *QApplication::clipboard();
        auto* box = f.find<QLineEdit>("Text2");
        // Into a full box with the caret placed.
        const auto full = [box] {
            box->setText(QStringLiteral("12"));
            box->setCursorPosition(1);
        };
        full();
        clipboard.setText(QStringLiteral("\n"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        clipboard.setText(QStringLiteral("7\r\n")); // as a Windows program ends a line
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
        // As a text editor's drag: Copy or Move offered, Move proposed
        // (Shift). The box answers Copy, or refuses what it does not take.
        const auto drop = [box, &dropped](const QString& text, Qt::DropActions offered) {
            dropped.setText(text);
            const QPoint point = box->rect().center();
            QDragEnterEvent enter(point, offered, &dropped, Qt::LeftButton, Qt::ShiftModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent event(point, offered, &dropped, Qt::LeftButton, Qt::ShiftModifier);
            QApplication::sendEvent(box, &event);
            const auto answer = [](const QDropEvent& asked) {
                return asked.isAccepted() ? asked.dropAction() : Qt::IgnoreAction;
            };
            return std::pair(answer(enter), answer(event));
        };
        constexpr Qt::DropActions kEditors = Qt::CopyAction | Qt::MoveAction;
        constexpr auto kRefused = std::pair(Qt::IgnoreAction, Qt::IgnoreAction);
        QCOMPARE(drop(QStringLiteral("89 minutes"), kEditors), std::pair(Qt::CopyAction, Qt::CopyAction));
        QCOMPARE(drop(QStringLiteral("\n"), kEditors), kRefused);
        QCOMPARE(drop(QStringLiteral("12"), Qt::MoveAction), kRefused);
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
        QAccessibleTextInterface* text = accessible("Text1")->textInterface();
        int start = -1;
        int end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 2));
        // Its characters lie where they are drawn: a quarter into the second
        // is nearest the place before it, three quarters into it the place
        // after it.
        const QRect second = text->characterRect(1);
        QCOMPARE(text->offsetAtPoint(second.topLeft() + QPoint(second.width() / 4, 1)), 1);
        QCOMPARE(text->offsetAtPoint(second.topLeft() + QPoint(3 * second.width() / 4, 1)), 2);
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
        for (const char* part : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
            QVERIFY(!children.contains(accessible(part)));
        }
        // Pause/Continue is named without its caption's backslash, and tells
        // from the start that the count stands.
        QCOMPARE(accessible("Command2")->text(QAccessible::Name), QStringLiteral("הפסק או המשך"));
        QCOMPARE(accessible("Command2")->text(QAccessible::Description), QStringLiteral("הספירה עצורה"));
    }

    // A rejected box stops a running count and is reported; while the report
    // is open no button runs its handler, and once it is read the user is
    // sent back to the box. A tick that meets the text Start left on the
    // display blames the display, not the box corrected since.
    void rejectedEntryIsReportedAndTheProgramGoesOn()
    {
        Fixture f;
        QVERIFY(f.active);
        f.report.keepOpen = true;
        // Said: a press that switches the count, not Start's restart, nor
        // one whose error stops it.
        const QSignalSpy said(&f.form, &timer::form::TimerForm::pressSwitched);
        f.type("Text3", "2");
        f.click("Command1");
        f.click("Command1");
        f.type("Text1", "ab");
        f.click("Command1");
        QCOMPARE(f.report.messages.size(), 1);
        QCOMPARE(said.count(), 1);
        f.click("Command3");
        QVERIFY(!f.running() && !f.wake.due());
        QCOMPARE(f.display(), (QStringList{"ab", "00", "02"}));
        f.report.dismiss();
        QTRY_COMPARE(QApplication::focusWidget(), f.find("Text1"));

        f.type("Text1", "0");
        f.click("Command2");
        QVERIFY(f.tick());
        QCOMPARE(f.report.messages.value(1), QStringLiteral("בתצוגה, מתחת ל\"שעות\", כתוב \"\u2066ab\u2069\", וזה אינו "
                                                            "מספר.\nיש ללחוץ על \"התחל\" כדי להעתיק לתצוגה את מה שבשדות."));
    }

    // The report names the field by its heading and says what is wrong with
    // it and what to do. It quotes the box as typed, not the display's copy,
    // as a left-to-right run isolated from the Hebrew sentence (LRI ... PDI)
    // so that neutral characters stay where they were typed, and writes out
    // what would draw nothing.
    void reportQuotesWhatWasTyped_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("said"); // after what the minutes box holds, quoted
        const QString notANumber = QStringLiteral(", וזה אינו מספר.\nיש להקליד מספר ולהתחיל שוב.");
        QTest::newRow("one letter") << "00" << "x" << "\"\u2066x\u2069\"" + notANumber;
        QTest::newRow("right-to-left mark and digit")
            << "00" << QStringLiteral("\u200F5") << "\"\u2066[U+200F]5\u2069\"" + notANumber;
        QTest::newRow("an isolate of the user's")
            << "00" << QStringLiteral("\u2069") << "\"\u2066[U+2069]\u2069\"" + notANumber;
        QTest::newRow("two blanks") << "00" << "  " << "\"\u2066[U+0020][U+0020]\u2069\"" + notANumber;
        QTest::newRow("below zero under hours")
            << "05" << "-1"
            << QStringLiteral("\"\u2066-1\u2069\", וזה מספר שלילי, שאין ממנו לספור לאחור.\nיש להקליד 0 או יותר ולהתחיל שוב.");
    }

    void reportQuotesWhatWasTyped()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, said);
        Fixture f;
        f.find<QLineEdit>("Text1")->setText(hours);
        f.find<QLineEdit>("Text2")->setText(minutes);
        f.click("Command1");
        f.tick(); // where Start took the text, the count meets it
        QCOMPARE(f.report.messages, QStringList{QStringLiteral("בשדה \"דקות\" כתוב ") + said});
    }

    // The real report, driven by keys through the windows as a user gives
    // them: Return held on Start opens it, and the held key's presses do not
    // close it; Space does, while Return is still down. Afterwards keys reach
    // the window as before, and Space, Enter and Return press the focused
    // button; a key whose release went to another program presses afresh.
    void keyboardAroundTheReport()
    {
        Fixture f(true);
        QVERIFY(f.active);
        QWindow* window = f.form.window().windowHandle();
        typeKeys("ab\t");
        QTest::simulateEvent(window, true, Qt::Key_Return, {}, QStringLiteral("\r"), false);
        const QPointer box = f.form.window().findChild<QMessageBox*>();
        QVERIFY(box != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(box));
        // X sends a held key's repeats as presses alone.
        QTest::simulateEvent(box->windowHandle(), true, Qt::Key_Return, {}, QStringLiteral("\r"), false);
        QVERIFY(box != nullptr && box->isVisible());
        typeKeys(" ");
        QVERIFY(box.isNull() || box->isHidden());
        QTest::simulateEvent(window, false, Qt::Key_Return, {}, QStringLiteral("\r"), false);
        QVERIFY(activate(f.form.window()));
        QCOMPARE(QApplication::focusWidget(), f.find("Text1"));

        QTest::simulateEvent(window, true, Qt::Key_0, {}, QStringLiteral("0"), true);
        typeKeys("5");
        QCOMPARE(f.text("Text1"), QStringLiteral("05"));
        typeKeys("\t ");
        QVERIFY(f.running());
        typeKeys("\t\t\t");
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Enter);
        QVERIFY(!f.running());
        QTest::simulateEvent(window, true, Qt::Key_Enter, {}, QStringLiteral("\r"), true);
        QVERIFY(!f.running()); // a held Enter presses once
        // Space held on Pause/Continue, let go in another program.
        QTest::simulateEvent(window, true, Qt::Key_Space, {}, QStringLiteral(" "), false);
        QWidget elsewhere;
        QVERIFY(activate(elsewhere));
        QApplicationStateChangeEvent away(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &away);
        QVERIFY(activate(f.form.window()));
        typeKeys(" ");
        QVERIFY(f.running());
        typeKeys("\t\r");
        QCOMPARE(f.display(), (QStringList{"00", "00", "00"}));
        // The report closed by its close box, not its button, also lets
        // the buttons run again.
        f.type("Text2", "x");
        f.click("Command1");
        QVERIFY(QGuiApplication::modalWindow() != nullptr && QGuiApplication::modalWindow()->close());
        f.click("Command3");
        QCOMPARE(f.display(), (QStringList{"00", "00", "00"}));
    }

    // The report is modal to its window, titled on its own, with no
    // minimise or maximise, and placed below the window. Closing the window
    // while it is open closes it too, also at the request a window manager's
    // close box sends (on X11, where Qt would drop it), but not at the
    // window manager's other messages. Its icon has a name for screen
    // readers.
    void reportLeavesTheWindowFreeToClose()
    {
        Fixture f(true);
        QWidget& window = f.form.window();
        f.type("Text2", "x");
        f.click("Command1");
        const QPointer box = window.findChild<QMessageBox*>();
        QVERIFY(box != nullptr && box->isVisible());
        // As wide as the longer of its two lines, not both on one; its button
        // without the icon that Qt draws a right-to-left caption against.
        QVERIFY(box->width() < box->fontMetrics().horizontalAdvance(box->text().replace(u'\n', u' ')));
        QVERIFY(box->button(QMessageBox::Ok)->icon().isNull());
        QCOMPARE(QAccessible::queryAccessibleInterface(box->findChild<QLabel*>("qt_msgboxex_icon_label"))
                     ->text(QAccessible::Name),
                 QStringLiteral("אזהרה"));
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->windowHandle()->transientParent(), window.windowHandle());
        QCOMPARE(box->windowTitle(), QStringLiteral("שגיאה בספירה"));
        // The frame offers what the flags name, and nothing else.
        QCOMPARE(box->windowFlags() & (Qt::CustomizeWindowHint | Qt::WindowMinMaxButtonsHint), Qt::CustomizeWindowHint);
        QVERIFY(box->frameGeometry().top() > window.frameGeometry().bottom()); // below it, where there is room
        // The window under it taking the focus gives it to the report; the
        // report minimised alone comes back.
        window.activateWindow();
        QTRY_VERIFY(box->isActiveWindow());
        box->windowHandle()->setWindowStates(Qt::WindowMinimized);
        QTRY_VERIFY(box->isVisible() && box->windowHandle()->windowStates() == Qt::WindowNoState);
        if (QGuiApplication::platformName() == QLatin1StringView("xcb")) {
            QProcess ping; // the window answers as the loop runs
            ping.start(QStringLiteral("/usr/bin/python3"), {QFINDTESTDATA("close_window.py"), "Timer", "20", "_NET_WM_PING"});
            QTRY_COMPARE_WITH_TIMEOUT(ping.state(), QProcess::NotRunning, 30000);
            QVERIFY(ping.exitCode() == 0 && box->isVisible());
            QCOMPARE(QProcess::execute(QStringLiteral("/usr/bin/python3"), {QFINDTESTDATA("close_window.py"), "Timer"}), 0);
        } else {
            window.windowHandle()->close();
        }
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(box.isNull() || box->isHidden());
    }

    // Qt's own words come in Hebrew and read right to left, while the window
    // keeps its places: it draws the same as under a left-to-right language,
    // and the display's texts start at the left edge.
    void qtTextsInHebrewLeaveThePlaces()
    {
        Fixture f;
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        // A display field starts its text at its left edge, Hebrew too.
        auto* hours = f.find<QLabel>("Label1");
        hours->setText(QStringLiteral("א"));
        const QImage field = hours->grab().toImage();
        const QRect ink = inkOf(field, 100);
        QVERIFY2(ink.isValid() && ink.left() < field.width() - 1 - ink.right(),
                 qPrintable(QStringLiteral("ink from %1 to %2").arg(ink.left()).arg(ink.right())));
        const QImage rightToLeft = f.form.window().grab().toImage();
        f.form.window().setLayoutDirection(Qt::LeftToRight);
        QCOMPARE(f.form.window().grab().toImage(), rightToLeft);
        f.form.window().unsetLayoutDirection();
    }

    // After a while without input the caret stays on instead of blinking; a
    // key or a click starts the blink again, and the window gone leaves it
    // blinking.
    void caretRestsWhenIdle()
    {
        QStyleHints* hints = QGuiApplication::styleHints();
        hints->setCursorFlashTime(-1); // no rate of the application's own
        const int desktopRate = hints->cursorFlashTime();
        QWidget window;
        QVERIFY(activate(window));
        {
            const timer::form::CaretRest caret(std::chrono::milliseconds(1));
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
            QTest::keyClick(window.windowHandle(), Qt::Key_A);
            QCOMPARE(hints->cursorFlashTime(), desktopRate);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton);
            QCOMPARE(hints->cursorFlashTime(), desktopRate);
            QTRY_COMPARE(hints->cursorFlashTime(), 0);
        }
        QCOMPARE(hints->cursorFlashTime(), desktopRate); // as it was, once the window is gone
        QCOMPARE(timer::form::CaretRest::kBlinkTimeout.count(), 10); // the window's, as GTK's cursor-blink-timeout
    }
};

// The program's own application, which judges every key.
int main(int argc, char* argv[])
{
    timer::desktop::HeldKeyApplication application(argc, argv);
    WindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "window_test.moc"
