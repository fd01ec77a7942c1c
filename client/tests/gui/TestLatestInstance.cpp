// The static instance() the one-of-a-kind windows and forms share.

#include "gui/AvatorForm.h"

#include <QtTest>

#include <memory>

class TestLatestInstance : public QObject
{
    Q_OBJECT

private slots:
    void isTheLastConstructedUntilItIsDestroyed()
    {
        QCOMPARE(AvatorForm::instance(), static_cast<AvatorForm *>(nullptr));
        auto first = std::make_unique<AvatorForm>();
        QCOMPARE(AvatorForm::instance(), first.get());
        auto second = std::make_unique<AvatorForm>();
        QCOMPARE(AvatorForm::instance(), second.get());
        // An older object going away leaves the newer one in place.
        first.reset();
        QCOMPARE(AvatorForm::instance(), second.get());
        second.reset();
        QCOMPARE(AvatorForm::instance(), static_cast<AvatorForm *>(nullptr));
    }

    void childrenBeingDestroyedFindNoObject()
    {
        auto form = std::make_unique<AvatorForm>();
        auto *child = new QObject(form.get());
        AvatorForm *seenByChild = form.get();
        connect(child, &QObject::destroyed, this, [&seenByChild] { seenByChild = AvatorForm::instance(); });
        form.reset();
        QCOMPARE(seenByChild, static_cast<AvatorForm *>(nullptr));
    }
};

QTEST_MAIN(TestLatestInstance)
#include "TestLatestInstance.moc"
