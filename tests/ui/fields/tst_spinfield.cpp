// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinField.h"
#include "SpinStepButton.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A window with two spin fields (hours, minutes) and a default button after them.
class Window : public QDialog
{
public:
    Window()
        : hours(new SpinField(this))
        , minutes(new SpinField(this))
        , button(new QPushButton(QStringLiteral("OK"), this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(hours);
        layout->addWidget(minutes);
        layout->addWidget(button);
        hours->setMaximum(99);
        minutes->setMaximum(59);
        button->setDefault(true);
        resize(200, 120);
    }

    SpinField *const hours;
    SpinField *const minutes;
    QPushButton *const button;
};

void fireRepeat(SpinStepButton *button)
{
    auto *timer = button->findChild<QTimer *>(QStringLiteral("repeatTimer"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
}

int repeatInterval(SpinStepButton *button)
{
    return button->findChild<QTimer *>(QStringLiteral("repeatTimer"))->interval();
}

void sendWheel(QWidget *target, int deltaY, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF pos(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, deltaY), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void typeText(QWidget *target, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

} // namespace

class tst_SpinField : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void textIsKeptExactly();
    void numberAndValue_data();
    void numberAndValue();
    void emptyTextBecomesZeroWhenRead();
    void keys_data();
    void keys();
    void caretAfterStep();
    void wheel();
    void stepButtonClick();
    void stepButtonHeld();
    void stepButtonReleasedOutside();
    void holdEndsWithoutRelease();
    void typing();
    void enterMovesFocus();
    void focusInSelection();
    void focusOutRewrites_data();
    void focusOutRewrites();
    void textMenuDoesNotRewrite();
    void pasteIsNotFiltered();

private:
    std::unique_ptr<Window> m_window;
};

void tst_SpinField::init()
{
    m_window = std::make_unique<Window>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_SpinField::cleanup()
{
    m_window.reset();
}

void tst_SpinField::textIsKeptExactly()
{
    SpinField *field = m_window->hours;
    for (const QString &text : {QStringLiteral("01"), QStringLiteral("150"), QStringLiteral("abc"),
                                QStringLiteral(" 2.5 ")}) {
        field->setText(text);
        QCOMPARE(field->text(), text);
    }
    QCOMPARE(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

void tst_SpinField::numberAndValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("value");

    QTest::newRow("leading zero") << "01" << 1.0 << 1;
    QTest::newRow("no range limit") << "150" << 150.0 << 150;
    QTest::newRow("negative") << "-3" << -3.0 << -3;
    QTest::newRow("half to even down") << "2.5" << 2.5 << 2;
    QTest::newRow("half to even up") << "3.5" << 3.5 << 4;
    QTest::newRow("exponent") << "1e2" << 100.0 << 100;
    QTest::newRow("blanks") << " 7 " << 7.0 << 7;
    QTest::newRow("letters") << "abc" << 0.0 << 0;
    QTest::newRow("huge") << "1e300" << 1e300 << 2147483647;
    QTest::newRow("huge negative") << "-1e300" << -1e300 << int(-2147483647 - 1);
    QTest::newRow("beyond double") << "1e400" << HUGE_VAL << 2147483647;
}

void tst_SpinField::numberAndValue()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(int, value);
    SpinField *field = m_window->hours;
    field->setText(text);
    QCOMPARE(field->number(), number);
    QCOMPARE(field->value(), value);
    QCOMPARE(field->text(), text); // reading never rewrites a non-empty text
}

void tst_SpinField::emptyTextBecomesZeroWhenRead()
{
    SpinField *field = m_window->hours;
    field->setText(QString());
    QCOMPARE(field->value(), 0);
    QCOMPARE(field->text(), QStringLiteral("0"));
}

void tst_SpinField::keys_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up from 01") << 99 << "01" << int(Qt::Key_Up) << "2";
    QTest::newRow("up at maximum") << 99 << "99" << int(Qt::Key_Up) << "99";
    QTest::newRow("down at zero") << 59 << "0" << int(Qt::Key_Down) << "0";
    QTest::newRow("down from 150") << 99 << "150" << int(Qt::Key_Down) << "99";
    QTest::newRow("page down on 5") << 59 << "5" << int(Qt::Key_PageDown) << "0";
    QTest::newRow("page up on 55") << 59 << "55" << int(Qt::Key_PageUp) << "59";
    QTest::newRow("page up on 7") << 59 << "7" << int(Qt::Key_PageUp) << "17";
    QTest::newRow("up on empty") << 99 << "" << int(Qt::Key_Up) << "1";
    QTest::newRow("up on letters") << 99 << "abc" << int(Qt::Key_Up) << "1";
    QTest::newRow("up on 2.5") << 99 << "2.5" << int(Qt::Key_Up) << "4";
    QTest::newRow("up on huge") << 99 << "1e300" << int(Qt::Key_Up) << "99";
}

void tst_SpinField::keys()
{
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, expected);
    SpinField *field = m_window->hours;
    field->setMaximum(maximum);
    field->setText(text);
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field, Qt::Key(key));
    QCOMPARE(field->text(), expected);
    QCOMPARE(field->maximum(), maximum);
}

void tst_SpinField::caretAfterStep()
{
    SpinField *field = m_window->hours;
    field->setFocus(Qt::OtherFocusReason);

    field->setText(QStringLiteral("9"));
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(field->text(), QStringLiteral("10"));
    QCOMPARE(field->cursorPosition(), 2);
    QVERIFY(!field->hasSelectedText());

    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(field->text(), QStringLiteral("9"));
    QCOMPARE(field->cursorPosition(), 0);

    field->setText(QStringLiteral("12"));
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(field->cursorPosition(), 1);

    // A selected text stays selected, so typing replaces the stepped number.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(field->text(), QStringLiteral("14"));
    QCOMPARE(field->selectedText(), QStringLiteral("14"));
}

void tst_SpinField::wheel()
{
    SpinField *field = m_window->minutes;
    field->setText(QStringLiteral("5"));

    // Only the field with the focus is stepped.
    m_window->hours->setFocus(Qt::OtherFocusReason);
    sendWheel(field, 120);
    QCOMPARE(field->text(), QStringLiteral("5"));

    field->setFocus(Qt::OtherFocusReason);
    sendWheel(field, 120);
    QCOMPARE(field->text(), QStringLiteral("6"));
    sendWheel(field, -120);
    sendWheel(field, -120);
    QCOMPARE(field->text(), QStringLiteral("4"));
    sendWheel(field, 120, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("14"));
    sendWheel(field, -240, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("0"));

    // Fine-grained wheels add up to a notch.
    sendWheel(field, 60);
    QCOMPARE(field->text(), QStringLiteral("0"));
    sendWheel(field, 60);
    QCOMPARE(field->text(), QStringLiteral("1"));
}

void tst_SpinField::stepButtonClick()
{
    SpinField *field = m_window->hours;
    m_window->minutes->setFocus(Qt::OtherFocusReason);
    field->setText(QStringLiteral("01"));

    SpinStepButton *up = field->upButton();
    QCOMPARE(up->width(), SpinField::buttonWidth);
    QVERIFY(up->geometry().right() < field->width());
    QVERIFY(up->geometry().bottom() < field->downButton()->geometry().top());

    QTest::mousePress(up, Qt::LeftButton);
    // The press moves the focus into the field, with nothing selected; the step waits.
    QVERIFY(field->hasFocus());
    QVERIFY(!field->hasSelectedText());
    QCOMPARE(field->text(), QStringLiteral("01"));
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("2"));

    QTest::mouseClick(field->downButton(), Qt::LeftButton);
    QTest::mouseClick(field->downButton(), Qt::LeftButton);
    QTest::mouseClick(field->downButton(), Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("0"));
}

void tst_SpinField::stepButtonHeld()
{
    // Held for 1050 ms: steps at 400, 500, ..., 1000 ms and once more on the release.
    SpinField *field = m_window->hours;
    field->setText(QStringLiteral("0"));
    SpinStepButton *up = field->upButton();

    QTest::mousePress(up, Qt::LeftButton);
    QCOMPARE(repeatInterval(up), SpinStepButton::firstRepeatMs);
    QCOMPARE(SpinStepButton::firstRepeatMs, 400);
    fireRepeat(up);
    QCOMPARE(field->text(), QStringLiteral("1"));
    QCOMPARE(repeatInterval(up), SpinStepButton::repeatMs);
    QCOMPARE(SpinStepButton::repeatMs, 100);
    for (int i = 0; i < 6; ++i)
        fireRepeat(up);
    QCOMPARE(field->text(), QStringLiteral("7"));
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("8"));
    QVERIFY(!up->findChild<QTimer *>(QStringLiteral("repeatTimer"))->isActive());

    // The next press starts with the long delay again.
    QTest::mousePress(field->downButton(), Qt::LeftButton);
    QCOMPARE(repeatInterval(field->downButton()), 400);
    QTest::mouseRelease(field->downButton(), Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("7"));
}

void tst_SpinField::stepButtonReleasedOutside()
{
    SpinField *field = m_window->hours;
    field->setText(QStringLiteral("3"));
    SpinStepButton *up = field->upButton();
    QTest::mousePress(up, Qt::LeftButton);
    fireRepeat(up);
    QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, QPoint(-30, -30));
    QCOMPARE(field->text(), QStringLiteral("4"));
}

void tst_SpinField::holdEndsWithoutRelease()
{
    // A hold cut short by the field being disabled or hidden stops stepping.
    SpinField *field = m_window->hours;
    field->setText(QStringLiteral("3"));
    SpinStepButton *up = field->upButton();
    auto *timer = up->findChild<QTimer *>(QStringLiteral("repeatTimer"));

    QTest::mousePress(up, Qt::LeftButton);
    QVERIFY(timer->isActive());
    field->setEnabled(false);
    QVERIFY(!timer->isActive());
    QVERIFY(!up->isDown());
    field->setEnabled(true);

    QTest::mousePress(up, Qt::LeftButton);
    m_window->hide();
    QVERIFY(!timer->isActive());
    QCOMPARE(field->text(), QStringLiteral("3"));
}

void tst_SpinField::typing()
{
    SpinField *field = m_window->hours;
    QSignalSpy beeps(field, &SpinField::keyRejected);
    field->setText(QStringLiteral("1"));
    field->setFocus(Qt::OtherFocusReason);
    field->setCursorPosition(1);

    // No range check while typing.
    QTest::keyClicks(field, QStringLiteral("50"));
    QCOMPARE(field->text(), QStringLiteral("150"));
    QCOMPARE(beeps.count(), 0);

    QTest::keyClick(field, Qt::Key_A);
    QCOMPARE(field->text(), QStringLiteral("150"));
    QCOMPARE(beeps.count(), 1);

    QTest::keyClick(field, Qt::Key_Minus);
    QCOMPARE(field->text(), QStringLiteral("150"));
    QCOMPARE(beeps.count(), 2);

    for (const QString &refused :
         {QStringLiteral("."), QStringLiteral(" "), QStringLiteral("中"), QStringLiteral("e")})
        typeText(field, refused);
    QCOMPARE(field->text(), QStringLiteral("150"));
    QCOMPARE(beeps.count(), 6);

    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QStringLiteral("15"));

    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Minus);
    QCOMPARE(field->text(), QStringLiteral("-15"));
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Plus);
    QCOMPARE(field->text(), QStringLiteral("-15"));
    QCOMPARE(beeps.count(), 7);

    // A sign over the whole selected text replaces it.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Plus);
    QCOMPARE(field->text(), QStringLiteral("+"));
    QCOMPARE(beeps.count(), 7);
}

void tst_SpinField::enterMovesFocus()
{
    QSignalSpy defaultButton(m_window->button, &QPushButton::clicked);
    SpinField *hours = m_window->hours;
    SpinField *minutes = m_window->minutes;
    hours->setText(QStringLiteral("01"));
    minutes->setText(QStringLiteral("30"));
    hours->setFocus(Qt::OtherFocusReason);

    QTest::keyClick(hours, Qt::Key_Return);
    QVERIFY(minutes->hasFocus());
    QCOMPARE(minutes->selectedText(), QStringLiteral("30"));
    QCOMPARE(hours->text(), QStringLiteral("1"));

    QTest::keyClick(minutes, Qt::Key_Enter, Qt::ShiftModifier);
    QVERIFY(hours->hasFocus());
    QCOMPARE(hours->selectedText(), QStringLiteral("1"));
    QCOMPARE(defaultButton.count(), 0);
    QVERIFY(m_window->isVisible());
}

void tst_SpinField::focusInSelection()
{
    SpinField *hours = m_window->hours;
    SpinField *minutes = m_window->minutes;
    hours->setText(QStringLiteral("12"));
    minutes->setText(QStringLiteral("34"));
    hours->setFocus(Qt::OtherFocusReason);

    QTest::keyClick(hours, Qt::Key_Tab);
    QVERIFY(minutes->hasFocus());
    QCOMPARE(minutes->selectedText(), QStringLiteral("34"));

    // A click puts the caret where it lands and selects nothing.
    QTest::mouseClick(hours, Qt::LeftButton, Qt::NoModifier, QPoint(2, hours->height() / 2));
    QVERIFY(hours->hasFocus());
    QVERIFY(!hours->hasSelectedText());
}

void tst_SpinField::focusOutRewrites_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("leading zero") << "01"
                                  << "1";
    QTest::newRow("above maximum") << "150"
                                   << "99";
    QTest::newRow("negative") << "-5"
                              << "0";
    QTest::newRow("letters") << "abc"
                             << "0";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("half") << "2.5"
                          << "2";
    QTest::newRow("exponent") << "1e2"
                              << "99";
    QTest::newRow("huge") << "1e300"
                          << "99";
    QTest::newRow("lone sign") << "+"
                               << "0";
}

void tst_SpinField::focusOutRewrites()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    SpinField *hours = m_window->hours;
    hours->setFocus(Qt::OtherFocusReason);
    hours->setText(text);
    QTest::keyClick(hours, Qt::Key_Tab);
    QVERIFY(m_window->minutes->hasFocus());
    QCOMPARE(hours->text(), expected);
}

void tst_SpinField::textMenuDoesNotRewrite()
{
    SpinField *hours = m_window->hours;
    hours->setFocus(Qt::OtherFocusReason);
    hours->setText(QStringLiteral("01"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(hours, &popup);
    QCOMPARE(hours->text(), QStringLiteral("01"));
    QFocusEvent windowSwitch(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(hours, &windowSwitch);
    QCOMPARE(hours->text(), QStringLiteral("01"));
    QCOMPARE(hours->contextMenuPolicy(), Qt::DefaultContextMenu);
}

void tst_SpinField::pasteIsNotFiltered()
{
    SpinField *hours = m_window->hours;
    hours->setFocus(Qt::OtherFocusReason);
    hours->setText(QString());
    QApplication::clipboard()->setText(QStringLiteral("ab 1"));
    QTest::keyClick(hours, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(hours->text(), QStringLiteral("ab 1"));
    QTest::keyClick(hours, Qt::Key_Up);
    QCOMPARE(hours->text(), QStringLiteral("1"));
}

QTEST_MAIN(tst_SpinField)
#include "tst_spinfield.moc"
