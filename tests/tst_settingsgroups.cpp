#include "CFreqPlanSettingsField.h"
#include "CLocationSettingsField.h"
#include "TestHelpers.h"

#include <QtWidgets>

namespace {
template <typename T>
T* control(QWidget* group, const char* name) { return group->findChild<T*>(QLatin1String(name)); }
} // namespace

class TestSettingsGroups : public QObject
{
    Q_OBJECT

private slots:
    // The operator's picks: a fixed plan shows its table, custom starts from
    // the plan shown, and only the channels' fields and boxes are edits, not RX2.
    void freqPlan()
    {
        CFreqPlanSettingsField plan(nullptr);
        plan.expand();
        auto* list = control<QComboBox>(&plan, "planList");
        list->setCurrentIndex(1);
        list->setCurrentIndex(2);
        QCOMPARE(plan.getSettings().freq4, 864100000);
        QSignalSpy edits(&plan, &CAbstatractSettingsField::edited);
        QTest::keyClick(control<QLineEdit>(&plan, "freqRx2Edit"), Qt::Key_Backspace);
        QCOMPARE(edits.count(), 0);
        QTest::keyClick(control<QLineEdit>(&plan, "freqEdit5"), Qt::Key_Backspace);
        control<QCheckBox>(&plan, "channelCheck2")->setChecked(false);
        QCOMPARE(edits.count(), 2);
        // Back on a fixed plan, typed frequencies are discarded.
        list->setCurrentIndex(0);
        QCOMPARE(plan.getSettings().freq5, 867300000);

        // Filling sets the fields first and the plan last: a fixed plan other
        // than the one shown overwrites the record's frequencies, custom keeps them.
        FreqPlanSettings record;
        record.freq4 = 1;
        record.plan = QStringLiteral("RU868");
        plan.setSettings(record);
        QCOMPARE(plan.getSettings().freq4, 864100000);
        QCOMPARE(plan.getSettings().channelEnabled[0], false);   // the boxes are the record's
        record.plan = QStringLiteral("custom");
        plan.setSettings(record);
        QCOMPARE(plan.getSettings().freq4, 1);
    }

    // Degrees of the whole globe with two decimals at most. (A longitude past
    // -90 is typed in the workspace suite.)
    void locationInput_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("south, digits only") << "latitudeEdit" << "-123.4x56" << "-12.45";
        QTest::newRow("latitude 90 at most") << "latitudeEdit" << "90.5" << "90.";
        QTest::newRow("longitude 180 at most") << "longitudeEdit" << "181" << "18";
    }

    void locationInput()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        CLocationSettingsField location(nullptr);
        location.expand();
        QTest::keyClicks(location.findChild<QLineEdit*>(field), typed);
        QCOMPARE(location.findChild<QLineEdit*>(field)->text(), shown);
    }
};

QTEST_MAIN(TestSettingsGroups)
#include "tst_settingsgroups.moc"
