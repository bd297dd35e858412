// Presets of the workspace: saving the form under a name, the stored list,
// applying a preset, and the list following the form ("custom" and back).

#include "CIAboutDevice.h"
#include "CSettings.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {
const QString custom = QStringLiteral("custom");

QString storedText() { return CSettings::readValue(CSettings::loraPresets, QVariant()).toString(); }
QJsonArray stored() { return QJsonDocument::fromJson(storedText().toUtf8()).array(); }
QStringList names()
{
    QStringList result;
    for (const QJsonValue& preset : stored())
        result << preset.toObject().value(QStringLiteral("preset")).toString();
    return result;
}
QJsonValue setting(int preset, const char* group, const char* key) { return stored().at(preset)["settings"][QLatin1String(group)][QLatin1String(key)]; }
} // namespace

class TestPresets : public QObject
{
    Q_OBJECT

    std::unique_ptr<CIAboutDevice> m_ws;

    template <typename T>
    T* child(const char* name) const { return m_ws->findChild<T*>(QLatin1String(name)); }
    QComboBox* combo() const { return child<QComboBox>("presetCombo"); }
    QComboBox* rxWindow() const { return child<QComboBox>("rxWindowList"); }
    QLineEdit* name() const { return child<QLineEdit>("nameEdit"); }
    void choose(const QString& entry) { combo()->setCurrentIndex(combo()->findText(entry)); }
    // Saves the form under the name; returns the boxes' texts, answered in turn.
    QStringList save(const QString& presetName, QList<QMessageBox::StandardButton> answers = {QMessageBox::No})
    {
        choose(custom);
        child<QLineEdit>("presetNameEdit")->setText(presetName);
        ModalAnswerer boxes;
        for (QMessageBox::StandardButton answer : answers)
            boxes.answer(answer);
        QTest::mouseClick(child<QPushButton>("savePresetButton"), Qt::LeftButton);
        return boxes.texts();
    }

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }
    void init()
    {
        CSettings::instance()->remove(QStringLiteral("loraPresets"));
        m_ws = std::make_unique<CIAboutDevice>();
    }
    void cleanup() { m_ws.reset(); }

    void savingNewAndExistingPresets()
    {
        QCOMPARE(save(QStringLiteral("A"), {QMessageBox::Yes}), QStringList{"Do you want to change this preset?"});
        QCOMPARE(combo()->currentText(), QStringLiteral("A"));
        save(QStringLiteral("B"));
        rxWindow()->setCurrentIndex(1);
        const QString before = storedText();
        QCOMPARE(save(QStringLiteral("A"), {QMessageBox::No}),
                 QStringList{"A already exist!\nDo you want to rewrite your changes for preset A ?"});
        QCOMPARE(storedText(), before);
        // Yes rewrites A at the end of the array, with no "created" question after.
        QCOMPARE(save(QStringLiteral("A"), {QMessageBox::Yes, QMessageBox::No}).size(), 1);
        QCOMPARE(names(), (QStringList{"B", "A"}));
        QCOMPARE(setting(1, "rxDeviceSettings", "rxWindow").toInt(), 2);
        QCOMPARE(combo()->count(), 4);   // the header, A once, B, custom
        save(QStringLiteral("a"));   // differs only in case: a new preset
        QCOMPARE(save(QString(), {QMessageBox::Ok}), QStringList{"Empty preset name"});
        // The list's own entry could never be chosen as a preset.
        QCOMPARE(save(custom, {QMessageBox::Ok}), QStringList{"Имя \"custom\" занято списком, выберите другое"});
        QCOMPARE(names(), (QStringList{"B", "A", "a"}));
    }

    // A store that cannot be written: a warning instead of the "created" question.
    void savingThatFailsIsReported()
    {
        QVERIFY(QFile::remove(QStringLiteral("settings.cfg")));
        QVERIFY(QDir().mkdir(QStringLiteral("settings.cfg")));
        const auto restore = qScopeGuard([] { QDir().rmdir(QStringLiteral("settings.cfg")); });
        QCOMPARE(save(QStringLiteral("A"), {QMessageBox::Ok}),
                 QStringList{"Пресет не сохранён: файл настроек недоступен для записи"});
        QCOMPARE(combo()->findText(QStringLiteral("A")), -1);
    }

    // Saving B while A is listed must not pass the form through A on the way.
    void savingKeepsTheOperatorsForm()
    {
        rxWindow()->setCurrentIndex(1);
        save(QStringLiteral("A"));
        rxWindow()->setCurrentIndex(0);
        name()->setText(QStringLiteral("mine"));
        save(QStringLiteral("B"), {QMessageBox::No});
        QCOMPARE(rxWindow()->currentData().toInt(), 1);
        QCOMPARE(name()->text(), QStringLiteral("mine"));
        QCOMPARE(combo()->currentText(), custom);

        save(QStringLiteral("C"), {QMessageBox::Yes});
        QCOMPARE(combo()->currentText(), QStringLiteral("C"));
        QCOMPARE(rxWindow()->currentData().toInt(), 1);
        QCOMPARE(name()->text(), QStringLiteral("C_mine"));
        // Saved again from the form it filled, the preset's name is not put in front twice.
        save(QStringLiteral("C"), {QMessageBox::Yes});
        QCOMPARE(setting(2, "device", "devName").toString(), QStringLiteral("C_mine"));
    }

    // A and B differ in a check box applied early and a list applied late; edits leave the preset.
    void applyingEndsOnThePreset()
    {
        name()->setText(QStringLiteral("boiler"));
        save(QStringLiteral("A"));
        child<QCheckBox>("serverAdrCheck")->setChecked(false);
        rxWindow()->setCurrentIndex(1);
        save(QStringLiteral("B"));
        // Class C values are no part of a preset.
        child<QComboBox>("classList")->setCurrentIndex(1);
        child<QLineEdit>("reactionTimeEdit")->setText(QStringLiteral("2500"));

        choose(QStringLiteral("A"));
        QCOMPARE(combo()->currentText(), QStringLiteral("A"));
        QCOMPARE(rxWindow()->currentData().toInt(), 1);
        QCOMPARE(child<QCheckBox>("serverAdrCheck")->isChecked(), true);
        QCOMPARE(name()->text(), QStringLiteral("A_boiler"));
        QCOMPARE(child<QComboBox>("classList")->currentData().toString(), QStringLiteral("CLASS_A"));
        QCOMPARE(child<QLineEdit>("reactionTimeEdit")->text(), QStringLiteral("2500"));
        choose(QStringLiteral("B"));
        QCOMPARE(combo()->currentText(), QStringLiteral("B"));
        QCOMPARE(rxWindow()->currentData().toInt(), 2);
        QCOMPARE(child<QCheckBox>("serverAdrCheck")->isChecked(), false);

        // An edit leaves the preset, undoing it comes back to it.
        QTest::keyClick(rxWindow(), Qt::Key_Up);
        QCOMPARE(combo()->currentText(), custom);
        QTest::keyClick(rxWindow(), Qt::Key_Down);
        QCOMPARE(combo()->currentText(), QStringLiteral("B"));

        // Undoing an edit of the name does not bring the preset back over an edit of the RX window.
        QTest::keyClick(rxWindow(), Qt::Key_Up);
        QTest::keyClicks(name(), QStringLiteral("x"));
        QTest::keyClick(name(), Qt::Key_Backspace);
        QCOMPARE(combo()->currentText(), custom);
        QCOMPARE(rxWindow()->currentData().toInt(), 1);
    }
};

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"
