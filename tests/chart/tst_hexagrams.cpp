#include <QTest>
class TestHexagrams : public QObject { Q_OBJECT private slots: void nothing() {} };
QTEST_GUILESS_MAIN(TestHexagrams)
#include "tst_hexagrams.moc"
