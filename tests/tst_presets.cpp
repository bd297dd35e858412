// Presets of the workspace: saving the form under a name, the stored JSON,
// applying a preset, and the list following the form ("custom" and back).

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "MessageCapture.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

const QString header = QStringLiteral("Список готовых настроек");
const QString custom = QStringLiteral("custom");

QString storedText()
{
    return CSettings::readValue(CSettings::loraPresets, QVariant()).toString();
}

QJsonArray stored()
{
    return QJsonDocument::fromJson(storedText().toUtf8()).array();
}

QStringList names(const QJsonArray& presets)
{
    QStringList result;
    for (const QJsonValue& preset : presets)
        result << preset.toObject().value(QStringLiteral("preset")).toString();
    return result;
}

QJsonObject member(const QJsonObject& object, const QString& path)
{
    QJsonObject current = object;
    for (const QString& key : path.split('.'))
        current = current.value(key).toObject();
    return current;
}

bool isExpanded(QWidget* group)
{
    auto* box = group->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly);
    return box && box->isChecked();
}

} // namespace

class TestPresets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstPresetStoredAndListed();
    void storedShape();
    void rewritingAPreset();
    void choosingAPresetAppliesIt();
    void editsLeaveAndRestoreThePreset();
    void savingKeepsTheOperatorsForm();
    void applyingEndsOnThePreset();
    void badNamesAndStoredText();

private:
    template <typename T>
    T* child(const char* name) const
    {
        return m_ws->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* combo() const { return child<QComboBox>("presetCombo"); }
    QStringList listed() const;
    void choose(const QString& entry);
    // Saves the form under the name; answers the closing question with `switchTo`.
    void save(const QString& name, QMessageBox::StandardButton switchTo = QMessageBox::No);
    void recreateWorkspace();

    std::unique_ptr<CIAboutDevice> m_ws;
};

void TestPresets::initTestCase()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    CSettings::instance(qApp);
    ScannedDevices::instance(qApp);
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
}

void TestPresets::init()
{
    CSettings::instance()->remove(QStringLiteral("loraPresets"));
    recreateWorkspace();
}

void TestPresets::cleanup()
{
    m_ws.reset();
}

void TestPresets::recreateWorkspace()
{
    m_ws.reset();
    m_ws = std::make_unique<CIAboutDevice>();
}

QStringList TestPresets::listed() const
{
    QStringList entries;
    for (int i = 0; i < combo()->count(); ++i)
        entries << combo()->itemText(i);
    return entries;
}

void TestPresets::choose(const QString& entry)
{
    combo()->setCurrentIndex(combo()->findText(entry));
}

void TestPresets::save(const QString& name, QMessageBox::StandardButton switchTo)
{
    choose(custom);
    child<QLineEdit>("presetNameEdit")->setText(name);
    ModalAnswerer boxes;
    boxes.answer(switchTo);
    QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Success created!")});
}

void TestPresets::firstPresetStoredAndListed()
{
    QCOMPARE(listed(), (QStringList{header, custom}));
    QVERIFY(child<QLineEdit>("presetNameEdit")->isHidden());

    choose(custom);
    QVERIFY(!child<QLineEdit>("presetNameEdit")->isHidden());
    QVERIFY(!child<QPushButton>("savePresetButton")->isHidden());
    child<QLineEdit>("presetNameEdit")->setText(QStringLiteral("A"));
    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Yes);
    QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);

    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Do you want to change this preset?")});
    QCOMPARE(names(stored()), QStringList{QStringLiteral("A")});
    QCOMPARE(listed(), (QStringList{header, QStringLiteral("A"), custom}));
    QCOMPARE(combo()->currentText(), QStringLiteral("A"));
    QVERIFY(child<QLineEdit>("presetNameEdit")->isHidden());
}

void TestPresets::storedShape()
{
    m_ws->expertSettings()->expandAll();
    m_ws->optionalSettings()->expandAll();
    child<QComboBox>("rxWindowList")->setCurrentIndex(1);          // 2
    child<QCheckBox>("serverAdrCheck")->setChecked(false);
    child<QComboBox>("preferPowerList")->setCurrentIndex(2);       // 8 dBm
    QTest::keyClicks(child<QLineEdit>("latitudeEdit"), QStringLiteral("55.7"));
    QTest::keyClicks(child<QLineEdit>("altitudeEdit"), QStringLiteral("120"));
    child<QLineEdit>("nameEdit")->setText(QStringLiteral("dev"));
    child<QComboBox>("classList")->setCurrentIndex(1);             // CLASS_C
    child<QComboBox>("planList")->setCurrentText(QStringLiteral("RU868"));
    child<QCheckBox>("channelCheck3")->setChecked(false);
    save(QStringLiteral("Office"));

    QVERIFY(!storedText().contains(' '));
    QVERIFY(!storedText().contains('\n'));
    const QJsonObject preset = stored().at(0).toObject();
    QCOMPARE(preset.keys(), (QStringList{QStringLiteral("preset"), QStringLiteral("settings")}));
    const QJsonObject settings = preset.value(QStringLiteral("settings")).toObject();
    QCOMPARE(settings.keys(), (QStringList{"adaptiveDataRate", "device", "freqPlan", "position",
                                           "rxDeviceSettings", "serverAdrEnable"}));
    QCOMPARE(settings.value("serverAdrEnable"), QJsonValue(false));

    const QJsonObject adr = member(preset, "settings.adaptiveDataRate");
    QCOMPARE(adr, (QJsonObject{{"preferDr", 5}, {"preferPower", 8}}));
    const QJsonObject rx = member(preset, "settings.rxDeviceSettings");
    QCOMPARE(rx, (QJsonObject{{"rxWindow", 2}, {"delayRx1", 1}, {"drRx2", 0}, {"delayJoin1", 5}}));
    const QJsonObject position = member(preset, "settings.position");
    QCOMPARE(position.value("latitude").toDouble(), double(55.7f));
    QCOMPARE(position.value("longitude"), QJsonValue(0.0));
    QCOMPARE(position.value("altitude"), QJsonValue(120));
    QCOMPARE(member(preset, "settings.device"),
             (QJsonObject{{"devName", "Office_dev"}, {"class", "CLASS_C"}}));
    const QJsonObject plan = member(preset, "settings.freqPlan");
    QCOMPARE(plan.size(), 15);
    QCOMPARE(plan.value("freqPlan"), QJsonValue("RU868"));
    QCOMPARE(plan.value("freq4"), QJsonValue(864100000));
    QCOMPARE(plan.value("freq8"), QJsonValue(864900000));
    QCOMPARE(plan.value("freqRx2"), QJsonValue(869100000));
    QCOMPARE(plan.value("channel1En"), QJsonValue(true));
    QCOMPARE(plan.value("channel3En"), QJsonValue(false));
    QCOMPARE(plan.value("channel8En"), QJsonValue(true));

}

void TestPresets::rewritingAPreset()
{
    save(QStringLiteral("A"));
    save(QStringLiteral("B"));
    child<QComboBox>("rxWindowList")->setCurrentIndex(1);
    const QString before = storedText();

    choose(custom);
    child<QLineEdit>("presetNameEdit")->setText(QStringLiteral("A"));
    ModalAnswerer refuse;
    refuse.answer(QMessageBox::No);
    QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);
    QCOMPARE(refuse.titles(), QStringList{QStringLiteral("Repetition preset name")});
    QCOMPARE(refuse.texts().value(0),
             QStringLiteral("A already exist!\nDo you want to rewrite your changes for preset A ?"));
    QCOMPARE(refuse.defaults().value(0), QMessageBox::No);
    QCOMPARE(storedText(), before);

    {
        ModalAnswerer accept;
        accept.answer(QMessageBox::Yes);
        accept.answer(QMessageBox::No);   // would be a second box; there must be none
        QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);
        QCOMPARE(accept.answered(), 1);
    }
    QCOMPARE(names(stored()), (QStringList{"B", "A"}));
    QCOMPARE(member(stored().at(1).toObject(), "settings.rxDeviceSettings").value("rxWindow"),
             QJsonValue(2));
    QCOMPARE(listed(), (QStringList{header, "A", "B", custom}));
    QCOMPARE(combo()->currentText(), custom);

    save(QStringLiteral("a"));   // differs only in case: a new preset
    QCOMPARE(names(stored()), (QStringList{"B", "A", "a"}));
}

void TestPresets::choosingAPresetAppliesIt()
{
    child<QComboBox>("rxWindowList")->setCurrentIndex(1);
    child<QLineEdit>("nameEdit")->setText(QStringLiteral("boiler"));
    save(QStringLiteral("A"));

    // Another form, and class C values that presets do not carry.
    child<QComboBox>("rxWindowList")->setCurrentIndex(0);
    child<QLineEdit>("nameEdit")->setText(QStringLiteral("other"));
    child<QComboBox>("classList")->setCurrentIndex(1);
    child<QLineEdit>("reactionTimeEdit")->setText(QStringLiteral("2500"));

    choose(QStringLiteral("A"));
    QCOMPARE(child<QComboBox>("rxWindowList")->currentData().toInt(), 2);
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("A_boiler"));
    QCOMPARE(child<QComboBox>("classList")->currentData().toString(), QStringLiteral("CLASS_A"));
    QCOMPARE(child<QLineEdit>("reactionTimeEdit")->text(), QStringLiteral("2500"));
    QVERIFY(isExpanded(m_ws->expertSettings()->rxGroup()));
    QVERIFY(isExpanded(m_ws->optionalSettings()->freqPlanGroup()));
    QVERIFY(child<QLineEdit>("presetNameEdit")->isHidden());
    QVERIFY(child<QPushButton>("savePresetButton")->isHidden());
}

void TestPresets::editsLeaveAndRestoreThePreset()
{
    save(QStringLiteral("A"));
    choose(QStringLiteral("A"));

    auto* rxWindow = child<QComboBox>("rxWindowList");
    MessageCapture log;
    QTest::keyClick(rxWindow, Qt::Key_Down);
    QCOMPARE(combo()->currentText(), custom);
    QVERIFY(log.contains(QStringLiteral("rxWindow")));
    QTest::keyClick(rxWindow, Qt::Key_Up);
    QCOMPARE(combo()->currentText(), QStringLiteral("A"));

    auto* name = child<QLineEdit>("nameEdit");
    log.clear();
    QTest::keyClicks(name, QStringLiteral("x"));
    QCOMPARE(combo()->currentText(), custom);
    QVERIFY(log.contains(QStringLiteral("devName edited")));
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(combo()->currentText(), QStringLiteral("A"));

    // Every change of the list opens the groups again, also those closed by hand.
    QWidget* rxGroup = m_ws->expertSettings()->rxGroup();
    rxGroup->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly)->setChecked(false);
    QTest::keyClick(child<QComboBox>("preferPowerList"), Qt::Key_Down);
    QCOMPARE(combo()->currentText(), custom);
    QVERIFY(isExpanded(rxGroup));
}

void TestPresets::savingKeepsTheOperatorsForm()
{
    child<QComboBox>("rxWindowList")->setCurrentIndex(1);   // A holds RX window 2
    save(QStringLiteral("A"));

    // The operator's form now differs from A; saving it as B must not pass
    // through A on the way.
    child<QComboBox>("rxWindowList")->setCurrentIndex(0);
    child<QLineEdit>("nameEdit")->setText(QStringLiteral("mine"));
    save(QStringLiteral("B"), QMessageBox::No);
    QCOMPARE(child<QComboBox>("rxWindowList")->currentData().toInt(), 1);
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("mine"));
    QCOMPARE(combo()->currentText(), custom);
    QVERIFY(!child<QLineEdit>("presetNameEdit")->isHidden());

    save(QStringLiteral("C"), QMessageBox::Yes);
    QCOMPARE(combo()->currentText(), QStringLiteral("C"));
    QCOMPARE(child<QComboBox>("rxWindowList")->currentData().toInt(), 1);
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("C_mine"));
}

void TestPresets::applyingEndsOnThePreset()
{
    // A and B differ in a check box applied early and a list applied late;
    // nothing applied after them would bring the list back by itself.
    save(QStringLiteral("A"));
    child<QCheckBox>("serverAdrCheck")->setChecked(false);
    child<QComboBox>("rxWindowList")->setCurrentIndex(1);
    save(QStringLiteral("B"));

    choose(QStringLiteral("A"));
    QCOMPARE(combo()->currentText(), QStringLiteral("A"));
    QCOMPARE(child<QComboBox>("rxWindowList")->currentData().toInt(), 1);
    QVERIFY(child<QCheckBox>("serverAdrCheck")->isChecked());
    choose(QStringLiteral("B"));
    QCOMPARE(combo()->currentText(), QStringLiteral("B"));
    QCOMPARE(child<QComboBox>("rxWindowList")->currentData().toInt(), 2);
    QVERIFY(!child<QCheckBox>("serverAdrCheck")->isChecked());
}

void TestPresets::badNamesAndStoredText()
{
    choose(custom);
    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Empty preset name")});
    QVERIFY(storedText().isEmpty());

    // Text that is not JSON lists nothing and is replaced by the first save.
    CSettings::writeValue(CSettings::loraPresets, QByteArray("not json"));
    recreateWorkspace();
    QCOMPARE(listed(), (QStringList{header, custom}));
    save(QStringLiteral("A"));
    QCOMPARE(names(stored()), QStringList{QStringLiteral("A")});

    // An object instead of an array holds no presets.
    CSettings::writeValue(CSettings::loraPresets, QByteArray(R"({"preset":"X","settings":{}})"));
    recreateWorkspace();
    QCOMPARE(listed(), (QStringList{header, custom}));
    m_ws->findPreset(QStringLiteral("X"));
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("%deveui"));
}

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"
