// The plugins the program loads on first use: each one this build makes is
// found and gives its entry point; what cannot be had is named in the reason.
#include "guapan/guapanprint.h"
#include "journal/tongjiloader.h"
#include "widgets/plugins.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPlugins : public QObject
{
    Q_OBJECT
private slots:
    void entryPoints_data()
    {
        QTest::addColumn<QString>("plugin");
        QTest::addColumn<QByteArray>("symbol");
        QTest::addColumn<QString>("missing"); // empty: the entry point is found
        QTest::newRow("printing") << u"lotgrid-print"_s << QByteArray(lotgrid::PreviewAndPrintSymbol) << QString();
        QTest::newRow("statistics") << u"lotgrid-tongji"_s << QByteArray(lotgrid::CreateTongjiSymbol) << QString();
        QTest::newRow("no such symbol") << u"lotgrid-print"_s << QByteArray("lotgrid_no_such_entry")
                                        << u"lotgrid_no_such_entry"_s;
        QTest::newRow("no such plugin") << u"lotgrid-none"_s << QByteArray(lotgrid::PreviewAndPrintSymbol)
                                        << u"lotgrid-none"_s;
    }
    void entryPoints()
    {
        QFETCH(QString, plugin);
        QFETCH(QByteArray, symbol);
        QFETCH(QString, missing);
        QString error;
        const QFunctionPointer function = lotgrid::pluginFunction(plugin, symbol.constData(), &error);
        QCOMPARE(function != nullptr, missing.isEmpty());
        QVERIFY2(missing.isEmpty() ? error.isEmpty() : error.contains(missing), qPrintable(error));
    }
};

QTEST_MAIN(TestPlugins)
#include "tst_plugins.moc"
