#include "core/PageScripts.h"

#include <QtTest>

class TestPageScripts : public QObject
{
    Q_OBJECT

private slots:
    void argumentBecomesAScriptValue_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("script");
        QTest::newRow("empty stays empty") << "" << "status_callback()";
        QTest::newRow("object as it is") << "{\"games\":[{\"gameId\":\"1001\"}]}"
                                         << "status_callback({\"games\":[{\"gameId\":\"1001\"}]})";
        QTest::newRow("array as it is") << "[1, 2]" << "status_callback([1, 2])";
        QTest::newRow("number as it is") << "42" << "status_callback(42)";
        QTest::newRow("JSON string as it is") << "\"tab\"" << "status_callback(\"tab\")";
        QTest::newRow("literal as it is") << "true" << "status_callback(true)";
        QTest::newRow("plain text quoted") << "活动 page" << "status_callback(\"活动 page\")";
        QTest::newRow("quotes and backslashes escaped") << "a\"b\\c" << "status_callback(\"a\\\"b\\\\c\")";
        QTest::newRow("two values are text") << "1, 2" << "status_callback(\"1, 2\")";
        QTest::newRow("script that tries to leave the call")
            << "1); alert(2" << "status_callback(\"1); alert(2\")";
        QTest::newRow("bracket that tries to close the check") << "1],[2" << "status_callback(\"1],[2\")";
        QTest::newRow("broken object is text") << "{\"a\":" << "status_callback(\"{\\\"a\\\":\")";
        QTest::newRow("a place marker in the text stays") << "50%1 %2" << "status_callback(\"50%1 %2\")";
    }

    void argumentBecomesAScriptValue()
    {
        QFETCH(QString, argument);
        QFETCH(QString, script);
        // Only a page that defines the function is called.
        QCOMPARE(pageFunctionCall(QStringLiteral("status_callback"), argument),
                 QStringLiteral("if (typeof status_callback === 'function') ") + script + QLatin1Char(';'));
    }
};

QTEST_GUILESS_MAIN(TestPageScripts)
#include "TestPageScripts.moc"
