// The line fields: which keys and pasted texts reach them, on a field of its
// own and on the real main window, where the line's name, glyphs and the
// hexagram must follow what the field holds; and typing a cast in one run.
#include "chart/hexagrams.h"
#include "common/mainwindowfixture.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"
#include "widgets/lineglyph.h"

#include <QClipboard>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text; // what the keyboard layout gives for it
};

void press(QWidget *w, const Key &k)
{
    QTest::sendKeyEvent(QTest::Click, w, k.key, k.text, k.modifiers);
}

// The lines as the chart shows them: value, name, and which glyph is shown.
QString lineState(ChartSheet &s, int n)
{
    return s.Text(n)->text() + u'|' + s.Lyao(n)->text() + u'|' + (s.yan(n)->isHidden() ? u"-"_s : u"yan"_s)
           + (s.yin(n)->isHidden() ? u"-"_s : u"yin"_s);
}

// Types each character into whichever widget has the keyboard at that moment.
void typeKeys(const QString &keys)
{
    for (QChar c : keys)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}

bool wholeCharacters(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Key)

class TestLineField : public QObject
{
    Q_OBJECT
private slots:
    void keyFilter_data();
    void keyFilter();
    void keysWithoutText_data();
    void keysWithoutText();
    void keyFilterOnTheChart_data();
    void keyFilterOnTheChart();
    void pastedText_data();
    void pastedText();
    void typingACastInOneRun_data();
    void typingACastInOneRun();
    void backspaceMovesDown();
    void typingOverAnEarlierCast();
};

void TestLineField::keyFilter_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<QString>("after"); // the field held "1" with the cursor at its start

    const Qt::KeyboardModifiers altGr = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("5") << Key{Qt::Key_5, {}, u"5"_s} << u"1"_s;
    QTest::newRow("Alt+5") << Key{Qt::Key_5, Qt::AltModifier, u"5"_s} << u"1"_s;
    QTest::newRow("Alt+A") << Key{Qt::Key_A, Qt::AltModifier, u"a"_s} << u"1"_s;
    QTest::newRow("Alt+Space") << Key{Qt::Key_Space, Qt::AltModifier, u" "_s} << u"1"_s;
    QTest::newRow("Ctrl+Alt+5 (AltGr layouts)") << Key{Qt::Key_5, altGr, u"5"_s} << u"1"_s;
    QTest::newRow("AltGr+E gives €") << Key{Qt::Key_E, altGr, u"€"_s} << u"1"_s;
    QTest::newRow("AltGr+Q gives @") << Key{Qt::Key_Q, altGr, u"@"_s} << u"1"_s;
    QTest::newRow("Shift+1 gives !") << Key{Qt::Key_Exclam, Qt::ShiftModifier, u"!"_s} << u"1"_s;
    QTest::newRow("Meta+2") << Key{Qt::Key_2, Qt::MetaModifier, u"2"_s} << u"1"_s;
    QTest::newRow("keypad 2") << Key{Qt::Key_2, Qt::KeypadModifier, u"2"_s} << u"1"_s;
    QTest::newRow("Ctrl+Shift+U+202E") << Key{Qt::Key_unknown, Qt::ControlModifier | Qt::ShiftModifier, u"\u202E"_s}
                                       << u"1"_s;
    QTest::newRow("right-to-left mark") << Key{Qt::Key_unknown, {}, u"\u200F"_s} << u"1"_s;
    QTest::newRow("emoji key") << Key{Qt::Key_unknown, {}, u"😀"_s} << u"1"_s;
    QTest::newRow("Ctrl+keypad 5") << Key{Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier, u"5"_s} << u"1"_s;
    QTest::newRow("two characters at once") << Key{Qt::Key_unknown, {}, u"01"_s} << u"1"_s;
    QTest::newRow("0") << Key{Qt::Key_0, {}, u"0"_s} << u"01"_s;
    QTest::newRow("keypad 0") << Key{Qt::Key_0, Qt::KeypadModifier, u"0"_s} << u"01"_s;
    QTest::newRow("Alt+0") << Key{Qt::Key_0, Qt::AltModifier, u"0"_s} << u"01"_s;
    QTest::newRow("7, the line in 6/7/8/9") << Key{Qt::Key_7, {}, u"7"_s} << u"71"_s;
}

// On a field of its own: only "0", "1" and 6 to 9 insert anything, whatever the modifiers.
void TestLineField::keyFilter()
{
    QFETCH(Key, key);
    QFETCH(QString, after);
    LineField field;
    field.setText(u"1"_s);
    field.home(false);
    press(&field, key);
    QCOMPARE(field.text(), after);
}

void TestLineField::keysWithoutText_data()
{
    QTest::addColumn<QList<Key>>("keys");
    QTest::addColumn<QString>("after"); // the field held "1" with the cursor at its end

    const Key zero{Qt::Key_0, {}, u"0"_s};
    QTest::newRow("Backspace") << QList<Key>{{Qt::Key_Backspace, {}, u"\b"_s}} << QString();
    QTest::newRow("Home, Delete") << QList<Key>{{Qt::Key_Home, {}, {}}, {Qt::Key_Delete, {}, u"\x7f"_s}} << QString();
    QTest::newRow("Left, 0") << QList<Key>{{Qt::Key_Left, {}, {}}, zero} << u"01"_s;
    QTest::newRow("Ctrl+A, 0") << QList<Key>{{Qt::Key_A, Qt::ControlModifier, u"\x01"_s}, zero} << u"0"_s;
    QTest::newRow("Ctrl+A, Ctrl+V as \\x16")
        << QList<Key>{{Qt::Key_A, Qt::ControlModifier, u"\x01"_s}, {Qt::Key_V, Qt::ControlModifier, u"\x16"_s}}
        << u"0"_s;
    QTest::newRow("Ctrl+A, Ctrl+V as v") << QList<Key>{{Qt::Key_A, Qt::ControlModifier, u"a"_s},
                                                       {Qt::Key_V, Qt::ControlModifier, u"v"_s}}
                                         << u"0"_s;
    QTest::newRow("Shift+Home, 0") << QList<Key>{{Qt::Key_Home, Qt::ShiftModifier, {}}, zero} << u"0"_s;
    QTest::newRow("Escape, Enter") << QList<Key>{{Qt::Key_Escape, {}, u"\x1b"_s}, {Qt::Key_Return, {}, u"\r"_s}}
                                   << u"1"_s;
}

// Keys that carry no text of their own, and shortcuts, still edit and move as in any field.
void TestLineField::keysWithoutText()
{
    QFETCH(QList<Key>, keys);
    QFETCH(QString, after);
    QApplication::clipboard()->setText(u"0"_s);
    LineField field;
    field.setText(u"1"_s);
    for (const Key &k : keys)
        press(&field, k);
    QCOMPARE(field.text(), after);
}

void TestLineField::keyFilterOnTheChart_data()
{
    keyFilter_data();
}

// On the main window: a swallowed key leaves the line, its name, its glyphs
// and the hexagram as they were; no stray character reaches the screenshot's name.
void TestLineField::keyFilterOnTheChart()
{
    QFETCH(Key, key);
    auto w = makeMainWindow();
    w->show();
    ChartSheet &s = w->sheet();
    setLines(s, u"101001"_s);
    w->steps().runPass();
    const QString bengua = s.bengua->text();
    QCOMPARE(bengua, qs(FindHexagramByKey(u"101001")->text));

    s.Text(1)->setFocus();
    s.Text(1)->home(false);
    press(s.Text(1), key);
    w->steps().runPass();
    // Whatever reached the field, the line shows what the field holds.
    const QString held = s.Text(1)->text();
    QVERIFY2(held == u"1" || held == u"0", qPrintable(held));
    QCOMPARE(lineState(s, 1), held == u"1" ? u"1|初九|yan-"_s : u"0|初六|-yin"_s);
    QCOMPARE(s.bengua->text(), qs(FindHexagramByKey(held == u"1" ? u"101001" : u"001001")->text));
    QCOMPARE(s.TextBengua, held + u"01001"_s);
}

void TestLineField::pastedText_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("held"); // Text1 after pasting over its "1"

    QTest::newRow("0") << u"0"_s << u"0"_s;
    QTest::newRow("01") << u"01"_s << u"0"_s;
    QTest::newRow("emoji") << u"😀"_s << QString();
    QTest::newRow("emoji, 1") << u"😀1"_s << QString();
    QTest::newRow("0, emoji") << u"0😀"_s << u"0"_s;
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) << QString();
    QTest::newRow("musical symbol G clef") << u"𝄞"_s << QString();
    QTest::newRow("a") << u"a"_s << u"a"_s;
    QTest::newRow("right-to-left override") << u"\u202E"_s << u"\u202E"_s;
    QTest::newRow("combining accent after 1") << u"1\u0301"_s << u"1"_s;
}

// A pasted text never leaves half of a character in the field, alone or on the chart.
void TestLineField::pastedText()
{
    QFETCH(QString, pasted);
    QFETCH(QString, held);

    LineField field;
    QApplication::clipboard()->setText(pasted);
    field.paste();
    QVERIFY2(wholeCharacters(field.text()), qPrintable(field.text()));

    auto w = makeMainWindow();
    w->show();
    ChartSheet &s = w->sheet();
    setLines(s, u"101001"_s);
    s.Text(1)->selectAll();
    s.Text(1)->paste();
    w->steps().runPass();
    QCOMPARE(s.Text(1)->text(), held);
    if (held == u"0")
        QCOMPARE(lineState(s, 1), u"0|初六|-yin"_s);
    if (held.isEmpty())
        QCOMPARE(lineState(s, 1), u"||--"_s);
}

void TestLineField::typingACastInOneRun_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("101001") << u"101001"_s;
    QTest::newRow("000000") << u"000000"_s;
    QTest::newRow("111111") << u"111111"_s;
    QTest::newRow("010110") << u"010110"_s;
}

// "1" or "0" moves on to the line above; the six values typed without a pause give the chart.
void TestLineField::typingACastInOneRun()
{
    QFETCH(QString, key);
    auto w = makeMainWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    ChartSheet &s = w->sheet();
    QCOMPARE(QApplication::focusWidget(), s.Text(1));
    for (int n = 1; n <= 6; ++n) {
        QCOMPARE(QApplication::focusWidget(), s.Text(n));
        QTest::keyClicks(QApplication::focusWidget(), key.mid(n - 1, 1));
    }
    QCOMPARE(QApplication::focusWidget(), s.Text(6)); // nowhere further to go
    QCOMPARE(s.TextBengua, key);
    QCOMPARE(s.bengua->text(), qs(FindHexagramByKey(u16(key))->text));
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(s.Text(n)->text(), key.mid(n - 1, 1));
}

// Backspace in an empty field goes back to the line below, whose value is then
// selected, so that the next Backspace empties it.
void TestLineField::backspaceMovesDown()
{
    auto w = makeMainWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    ChartSheet &s = w->sheet();
    typeKeys(u"10"_s);
    QCOMPARE(QApplication::focusWidget(), s.Text(3));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), s.Text(2));
    QCOMPARE(s.Text(2)->text(), u"0"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), s.Text(2)); // emptied, not left
    QCOMPARE(lineState(s, 2), u"||--"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), s.Text(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), s.Text(1)); // line 1 is the bottom
    QCOMPARE(s.Text(1)->text(), QString());

    // Typed again from there, the cast is whole.
    typeKeys(u"11"_s);
    QCOMPARE(QApplication::focusWidget(), s.Text(3));
    QCOMPARE(s.Text(2)->text(), u"1"_s);
}

// Going back to line 1 of a finished chart and typing six values replaces the cast.
void TestLineField::typingOverAnEarlierCast()
{
    auto w = makeMainWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    ChartSheet &s = w->sheet();
    typeKeys(u"101001"_s);
    QCOMPARE(s.TextBengua, u"101001"_s);
    QTest::mouseClick(s.Text(1), Qt::LeftButton);
    s.Text(1)->selectAll();
    typeKeys(u"010110"_s);
    QCOMPARE(s.TextBengua, u"010110"_s);
    QCOMPARE(s.bengua->text(), qs(FindHexagramByKey(u"010110")->text));
}

QTEST_MAIN(TestLineField)
#include "tst_linefield.moc"
