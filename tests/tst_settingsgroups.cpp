#include "CExpertSettingsField.h"
#include "COptionalSettingsField.h"
#include "TestHelpers.h"

#include <QtWidgets>

namespace {
template <typename T>
T* control(QWidget* group, const char* name) { return group->findChild<T*>(QLatin1String(name)); }

// Picks a list entry as the operator does: the selection moves, then the list reports the pick.
void choose(QWidget* group, const char* list, int index)
{
    control<QComboBox>(group, list)->setCurrentIndex(index);
    emit control<QComboBox>(group, list)->activated(index);
}

void retype(QWidget* group, const char* edit, const QString& text)
{
    control<QLineEdit>(group, edit)->clear();
    QTest::keyClicks(control<QLineEdit>(group, edit), text);
}
} // namespace

class TestSettingsGroups : public QObject
{
    Q_OBJECT

private slots:
    void freqPlanSwitchingAndEdits()
    {
        QWidget host;
        CFreqPlanSettingsField plan(&host);
        plan.expand();
        QSignalSpy edits(&plan, &CAbstatractSettingsField::edited);
        choose(&plan, "planList", 1);
        QCOMPARE(edits.count(), 1);
        choose(&plan, "planList", 2);   // custom starts from the plan shown
        QCOMPARE(plan.getSettings().freq4, 864100000);

        // Only channel fields and channel boxes count as edits, not RX2.
        edits.clear();
        retype(&plan, "freqRx2Edit", QStringLiteral("869000000"));
        QCOMPARE(edits.count(), 0);
        retype(&plan, "freqEdit5", QStringLiteral("868100000"));
        control<QCheckBox>(&plan, "channelCheck2")->setChecked(false);
        QCOMPARE(edits.count(), 10);
        const FreqPlanSettings s = plan.getSettings();
        QCOMPARE(s.freqRx2, 869000000);
        QCOMPARE(s.freq5, 868100000);
        QCOMPARE(s.channelEnabled[1], false);
        QCOMPARE(s.channelEnabled[2], true);

        // Back on a fixed plan, typed frequencies are discarded.
        choose(&plan, "planList", 0);
        QCOMPARE(plan.getSettings().freq5, 867300000);
    }

    void freqPlanSetSettingsOrder_data()
    {
        QTest::addColumn<int>("shownPlan");   // list index before
        QTest::addColumn<QString>("recordPlan");
        QTest::addColumn<int>("expectedFreq4");
        QTest::newRow("EU868 already shown keeps the record") << 0 << "EU868" << 1;
        QTest::newRow("EU868 over RU868 takes the table") << 1 << "EU868" << 867100000;
        QTest::newRow("custom keeps the record") << 0 << "custom" << 1;
    }

    void freqPlanSetSettingsOrder()
    {
        QFETCH(QString, recordPlan);
        QWidget host;
        CFreqPlanSettingsField plan(&host);
        QFETCH(int, shownPlan);
        control<QComboBox>(&plan, "planList")->setCurrentIndex(shownPlan);
        plan.expand();
        FreqPlanSettings record;
        record.freq4 = 1;
        record.plan = recordPlan;
        record.channelEnabled[7] = true;
        plan.setSettings(record);
        const FreqPlanSettings s = plan.getSettings();
        QTEST(s.freq4, "expectedFreq4");
        QCOMPARE(s.plan, recordPlan);
        QCOMPARE(s.channelEnabled[0], false);
        QCOMPARE(s.channelEnabled[7], true);
    }

    void expertGroups()
    {
        QWidget host;
        CExpertSettingsField expert(&host);
        QSignalSpy edits(&expert, &CAbstatractSettingsField::edited);
        expert.expandAll();
        QCOMPARE(edits.count(), 0);   // expanding is no edit
        for (const CAbstatractSettingsField* group : expert.findChildren<CAbstatractSettingsField*>())   // nested ones too
            QVERIFY2(group->isExpanded(), group->metaObject()->className());
        choose(&expert, "preferPowerList", 3);
        QCOMPARE(expert.getSettings().adr.preferPower, 5);
        QCOMPARE(edits.count(), 1);

        // Filling emits an edit only where a check box changes.
        ExpertSettings s = expert.getSettings();
        s.rx.rxWindow = 2;
        expert.setSettings(s);
        QCOMPARE(edits.count(), 1);
        s.adr.serverAdr = false;
        s.adr.preferPower = 7;   // not in the list: none selected, reads 0
        expert.setSettings(s);
        QCOMPARE(edits.count(), 2);
        s = expert.getSettings();
        QCOMPARE(s.adr.serverAdr, false);
        QCOMPARE(s.adr.preferPower, 0);
        QCOMPARE(s.rx.rxWindow, 2);
    }

    // Degrees of the whole globe with two decimals at most; every accepted key is an edit.
    void locationInput_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("south, digits only") << "latitudeEdit" << "-123.4x56" << "-12.45";
        QTest::newRow("latitude past 90") << "latitudeEdit" << "95.5" << "9.5";
        QTest::newRow("latitude 90 at most") << "latitudeEdit" << "90.5" << "90.";
        QTest::newRow("west, past 90") << "longitudeEdit" << "-151.21" << "-151.21";
        QTest::newRow("longitude 180 at most") << "longitudeEdit" << "181" << "18";
    }

    void locationInput()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QWidget host;
        CLocationSettingsField location(&host);
        location.expand();
        auto* edit = location.findChild<QLineEdit*>(field);
        QSignalSpy edits(&location, &CAbstatractSettingsField::edited);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edits.count(), shown.size());
        const LocationSettings read = location.getSettings();
        QCOMPARE(field == QLatin1String("latitudeEdit") ? read.latitude : read.longitude, double(shown.toFloat()));
        location.setSettings(read);   // filling is no edit
        QCOMPARE(edits.count(), shown.size());
    }

    // The device group's class list shows and hides the class C group.
    void deviceGroupAndClassC()
    {
        QWidget host;
        COptionalSettingsField optional(&host);
        CSettingsClassCDeviceField* classC = optional.classCGroup();
        optional.expandAll();
        QSignalSpy edits(optional.deviceGroup(), &CAbstatractSettingsField::edited);
        choose(&optional, "classList", 1);
        QCOMPARE(classC->isHidden(), false);
        QCOMPARE(edits.count(), 1);
        optional.deviceGroup()->setSettings({QStringLiteral("x"), QStringLiteral("CLASS_A"), false});
        QCOMPARE(edits.count(), 1);   // programmatic filling is no edit
        QCOMPARE(classC->isHidden(), true);
        QCOMPARE(classC->isExpanded(), true);   // hiding keeps state and values
    }
};

QTEST_MAIN(TestSettingsGroups)
#include "tst_settingsgroups.moc"
