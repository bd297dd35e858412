#include "CExpertSettingsField.h"
#include "COptionalSettingsField.h"
#include "MessageCapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

template <typename T>
T* control(QWidget* group, const char* name)
{
    T* found = group->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Picks a list entry as the operator does: the selection moves, then the
// list reports the pick (also when the entry was already current).
void choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void retype(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

const std::array<bool, 8> allChannels{true, true, true, true, true, true, true, true};

} // namespace

class TestSettingsGroups : public QObject
{
    Q_OBJECT

private slots:
    void deviceGroup()
    {
        QWidget host;
        CDeviceSettingsField device(&host);
        device.expand();
        DeviceSettings initial = device.getSettings();
        QCOMPARE(initial.name, QStringLiteral("%deveui"));
        QCOMPARE(initial.deviceClass, QStringLiteral("CLASS_A"));
        QVERIFY(initial.enabled);
        QCOMPARE(control<QLineEdit>(&device, "nameEdit")->placeholderText(),
                 QStringLiteral("%deveui = deveui ,%date = date"));

        QSignalSpy edits(&device, &CAbstatractSettingsField::edited);
        QSignalSpy classShown(&device, &CAbstatractSettingsField::showSetDeviceClassC);
        MessageCapture capture;
        choose(control<QComboBox>(&device, "classList"), 1);
        QCOMPARE(edits.count(), 1);
        QCOMPARE(classShown.count(), 1);
        QCOMPARE(classShown.at(0).at(0).toString(), QStringLiteral("Class C"));
        QCOMPARE(capture.count(QStringLiteral("] -  1")), 1);
        QTest::keyClicks(control<QLineEdit>(&device, "nameEdit"), QStringLiteral("_%date"));
        QCOMPARE(device.getSettings().name, QStringLiteral("%deveui_%date"));
        QCOMPARE(edits.count(), 1 + 6);

        // Programmatic filling emits no edits; an unknown class leaves none selected.
        edits.clear();
        device.setSettings({QStringLiteral("Office_%deveui"), QStringLiteral("class_a"), true});
        QCOMPARE(device.getSettings().name, QStringLiteral("Office_%deveui"));
        QCOMPARE(device.getSettings().deviceClass, QString());
        QCOMPARE(classShown.last().at(0).toString(), QString());
        device.setSettings({QStringLiteral("x"), QStringLiteral("CLASS_C"), false});
        QCOMPARE(device.getSettings().deviceClass, QStringLiteral("CLASS_C"));
        QCOMPARE(edits.count(), 0);
        QVERIFY(device.isExpanded());
    }

    void freqPlanSwitchingAndEdits()
    {
        QWidget host;
        CFreqPlanSettingsField plan(&host);
        plan.expand();  // a fixed plan keeps its fields disabled even when opened
        FreqPlanSettings s = plan.getSettings();
        QCOMPARE(s.plan, QStringLiteral("EU868"));
        QCOMPARE((QVector<int>{s.freq4, s.freq5, s.freq6, s.freq7, s.freq8, s.freqRx2}),
                 (QVector<int>{867100000, 867300000, 867500000, 867700000, 867900000, 869525000}));
        QVERIFY(s.channelEnabled == allChannels);
        for (QLineEdit* edit : plan.findChildren<QLineEdit*>())
            QVERIFY(!edit->isEnabled());

        QSignalSpy edits(&plan, &CAbstatractSettingsField::edited);
        auto* planList = control<QComboBox>(&plan, "planList");
        choose(planList, 1);
        s = plan.getSettings();
        QCOMPARE(s.plan, QStringLiteral("RU868"));
        QCOMPARE((QVector<int>{s.freq4, s.freq8, s.freqRx2}),
                 (QVector<int>{864100000, 864900000, 869100000}));
        QCOMPARE(edits.count(), 1);

        choose(planList, 2);
        QCOMPARE(plan.getSettings().freq4, 864100000);
        QVERIFY(control<QLineEdit>(&plan, "freqEdit4")->isEnabled());
        QVERIFY(control<QLineEdit>(&plan, "freqRx2Edit")->isEnabled());

        // Only channel fields and channel boxes count as edits, not RX2.
        edits.clear();
        retype(control<QLineEdit>(&plan, "freqRx2Edit"), QStringLiteral("869000000"));
        QCOMPARE(plan.getSettings().freqRx2, 869000000);
        QCOMPARE(edits.count(), 0);
        retype(control<QLineEdit>(&plan, "freqEdit5"), QStringLiteral("868100000"));
        QCOMPARE(edits.count(), 9);
        control<QCheckBox>(&plan, "channelCheck2")->setChecked(false);
        QCOMPARE(edits.count(), 10);
        s = plan.getSettings();
        QCOMPARE(s.freq5, 868100000);
        QVERIFY(!s.channelEnabled[1] && s.channelEnabled[0] && s.channelEnabled[2]);

        // The validator allows nine digits at most, digits only; empty reads as 0.
        retype(control<QLineEdit>(&plan, "freqEdit6"), QStringLiteral("12a3-4567.89012"));
        QCOMPARE(control<QLineEdit>(&plan, "freqEdit6")->text(), QStringLiteral("123456789"));
        control<QLineEdit>(&plan, "freqEdit7")->clear();
        QCOMPARE(plan.getSettings().freq7, 0);

        // Back on a fixed plan, typed frequencies are discarded.
        choose(planList, 0);
        QCOMPARE(plan.getSettings().freq5, 867300000);
        QVERIFY(!control<QLineEdit>(&plan, "freqEdit5")->isEnabled());
    }

    void freqPlanSetSettingsOrder_data()
    {
        QTest::addColumn<int>("shownPlan");
        QTest::addColumn<QString>("recordPlan");
        QTest::addColumn<int>("expectedFreq4");
        QTest::addColumn<int>("expectedRx2");
        QTest::addColumn<bool>("fieldsEnabled");
        QTest::newRow("EU868 already shown keeps the record") << 0 << "EU868" << 1 << 2 << false;
        QTest::newRow("EU868 over RU868 takes the table") << 1 << "EU868" << 867100000 << 869525000 << false;
        QTest::newRow("custom keeps the record") << 0 << "custom" << 1 << 2 << true;
    }

    void freqPlanSetSettingsOrder()
    {
        QFETCH(int, shownPlan);
        QFETCH(QString, recordPlan);
        QFETCH(int, expectedFreq4);
        QFETCH(int, expectedRx2);
        QFETCH(bool, fieldsEnabled);
        QWidget host;
        CFreqPlanSettingsField plan(&host);
        control<QComboBox>(&plan, "planList")->setCurrentIndex(shownPlan);
        plan.expand();

        FreqPlanSettings record;
        record.freq4 = 1;
        record.freqRx2 = 2;
        record.plan = recordPlan;
        record.channelEnabled[7] = true;
        QSignalSpy edits(&plan, &CAbstatractSettingsField::edited);
        plan.setSettings(record);

        const FreqPlanSettings s = plan.getSettings();
        QCOMPARE(s.freq4, expectedFreq4);
        QCOMPARE(s.freqRx2, expectedRx2);
        QCOMPARE(s.plan, recordPlan);
        QCOMPARE(control<QLineEdit>(&plan, "freqEdit4")->isEnabled(), fieldsEnabled);
        QVERIFY(!s.channelEnabled[0] && s.channelEnabled[7]);
        QVERIFY(edits.count() >= 7);  // seven boxes unticked, plus a plan change if any
    }

    void radioGroupsStartValues()
    {
        QWidget host;
        CExpertSettingsField expert(&host);
        const ExpertSettings s = expert.getSettings();
        QVERIFY(!s.anyEnabled);
        QCOMPARE((QVector<int>{s.rx.rxWindow, s.rx.rx1Delay, s.rx.rx2Dr, s.rx.joinAcceptDelay}),
                 (QVector<int>{1, 1, 0, 5}));
        QVERIFY(s.adr.serverAdr);
        QCOMPARE(s.adr.preferDr, 5);
        QCOMPARE(s.adr.preferPower, 14);
        QCOMPARE(s.location.altitude, 0);
        QCOMPARE(s.location.latitude, 0.0);

        QSignalSpy edits(&expert, &CAbstatractSettingsField::edited);
        expert.rxGroup()->expand();
        QVERIFY(expert.getSettings().anyEnabled && expert.getSettings().rx.enabled);
        QVERIFY(!expert.getSettings().adr.enabled);
        expert.expandAll();
        QCOMPARE(edits.count(), 0);

        choose(control<QComboBox>(&expert, "preferPowerList"), 3);
        choose(control<QComboBox>(&expert, "rx2DrList"), 2);
        QCOMPARE(expert.getSettings().adr.preferPower, 5);
        QCOMPARE(expert.getSettings().rx.rx2Dr, 2);
        QCOMPARE(edits.count(), 2);
    }

    void locationReadsSinglePrecision()
    {
        QWidget host;
        CLocationSettingsField location(&host);
        location.expand();
        QSignalSpy edits(&location, &CAbstatractSettingsField::edited);
        auto* latitude = control<QLineEdit>(&location, "latitudeEdit");
        auto* longitude = control<QLineEdit>(&location, "longitudeEdit");

        QTest::keyClicks(latitude, QStringLiteral("55.7"));
        QTest::keyClicks(longitude, QStringLiteral("95.5"));
        QTest::keyClicks(control<QLineEdit>(&location, "altitudeEdit"), QStringLiteral("120"));
        QCOMPARE(edits.count(), 11);
        LocationSettings s = location.getSettings();
        QCOMPARE(s.latitude, 55.70000076293945);
        QCOMPARE(s.longitude, 95.5);  // clamping belongs to the registration
        QCOMPARE(s.altitude, 120);

        location.setSettings(s);
        QCOMPARE(latitude->text(), QStringLiteral("55.7"));
        QCOMPARE(location.getSettings().latitude, s.latitude);
        QCOMPARE(edits.count(), 11);
    }

    void locationValidator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals at most") << "55.789" << "55.78";
        QTest::newRow("two integer digits at most") << "123" << "12";
        QTest::newRow("no minus sign") << "-5.5" << "5.5";
        QTest::newRow("intermediate prefix stays") << "5" << "5";
        QTest::newRow("letters refused") << "4a2.x1" << "42.1";
    }

    void locationValidator()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QWidget host;
        CLocationSettingsField location(&host);
        location.expand();
        for (const char* name : {"latitudeEdit", "longitudeEdit"}) {
            QLineEdit* edit = control<QLineEdit>(&location, name);
            QTest::keyClicks(edit, typed);
            QCOMPARE(edit->text(), shown);
        }
    }

    void classCFollowsTheClassList()
    {
        QWidget host;
        COptionalSettingsField optional(&host);
        CSettingsClassCDeviceField* classC = optional.classCGroup();
        QVERIFY(classC->isHidden());
        const ClassCSettings initial = classC->getSettings();
        QCOMPARE(initial.reactionTime, 1000);
        QVERIFY(!initial.useDownlinkQueue && !initial.enabled);

        auto* classList = control<QComboBox>(&optional, "classList");
        choose(classList, 1);
        QVERIFY(!classC->isHidden());
        QVERIFY(!classC->isExpanded());
        optional.expandAll();
        choose(classList, 0);
        QVERIFY(classC->isHidden());
        QVERIFY(classC->isExpanded());  // hiding keeps state and values

        // The field has no validator: letters read as 0.
        retype(control<QLineEdit>(&optional, "reactionTimeEdit"), QStringLiteral("fast"));
        QCOMPARE(classC->getSettings().reactionTime, 0);
    }

    void optionalSetSettingsLeavesClassCAlone()
    {
        QWidget host;
        COptionalSettingsField optional(&host);
        optional.classCGroup()->setSettings(250, true);

        OptionalSettings record;
        record.device = {QStringLiteral("A_%deveui"), QStringLiteral("CLASS_C"), false};
        record.classC = {1, false, true};
        record.freqPlan.plan = QStringLiteral("RU868");
        record.freqPlan.channelEnabled = allChannels;
        optional.setSettings(record);

        const OptionalSettings s = optional.getSettings();
        QCOMPARE(s.classC.reactionTime, 250);
        QVERIFY(s.classC.useDownlinkQueue);
        QCOMPARE(s.device.name, QStringLiteral("A_%deveui"));
        QCOMPARE(s.freqPlan.plan, QStringLiteral("RU868"));
        QCOMPARE(s.freqPlan.freq4, 864100000);
        QVERIFY(!optional.classCGroup()->isHidden());
    }

    void expertSetSettingsEditsOnlyOnAdrChange()
    {
        QWidget host;
        CExpertSettingsField expert(&host);
        QSignalSpy edits(&expert, &CAbstatractSettingsField::edited);

        ExpertSettings record = expert.getSettings();
        record.adr.preferDr = 2;
        record.rx.rxWindow = 2;
        record.location.latitude = 12.5;
        expert.setSettings(record);
        QCOMPARE(edits.count(), 0);

        record.adr.serverAdr = false;
        record.adr.preferPower = 7;  // not in the list: none selected, reads 0
        expert.setSettings(record);
        QCOMPARE(edits.count(), 1);
        const ExpertSettings s = expert.getSettings();
        QVERIFY(!s.adr.serverAdr);
        QCOMPARE(s.adr.preferPower, 0);
        QCOMPARE(s.rx.rxWindow, 2);
        QCOMPARE(s.location.latitude, 12.5);
    }
};

QTEST_MAIN(TestSettingsGroups)
#include "tst_settingsgroups.moc"
