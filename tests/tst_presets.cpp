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
        // A: RX window 2, ADR on; B, saved while A is listed: RX window 1, ADR off.
        rxWindow()->setCurrentIndex(1);
        name()->setText(QStringLiteral("mine"));
        save(QStringLiteral("A"));
        rxWindow()->setCurrentIndex(0);
        child<QCheckBox>("serverAdrCheck")->setChecked(false);
        save(QStringLiteral("B"));
    }

    void savingPresets()
    {
        // Saving B must not have passed the form through A on the way.
        QCOMPARE(rxWindow()->currentData().toInt(), 1);
        QCOMPARE(combo()->currentText(), custom);

        // Rewriting A is asked first, and Yes brings no "created" question after. From
        // the form A filled, with the RX window edited: the prefix is not put in front
        // twice, and A moves to the end.
        choose(QStringLiteral("A"));
        rxWindow()->setCurrentIndex(0);
        QCOMPARE(save(QStringLiteral("A"), {QMessageBox::Yes, QMessageBox::No}),
                 QStringList{"A already exist!\nDo you want to rewrite your changes for preset A ?"});
        QCOMPARE(stored().at(1)["settings"]["device"]["devName"].toString(), QStringLiteral("A_mine"));
        QCOMPARE(stored().at(1)["settings"]["rxDeviceSettings"]["rxWindow"].toInt(), 1);
        QCOMPARE(combo()->count(), 4);   // the header, A once, B, custom

        // Differs only in case: a new preset.
        QCOMPARE(save(QStringLiteral("a"), {QMessageBox::Yes}), QStringList{"Do you want to change this preset?"});
        // The list's own entry could never be chosen as a preset.
        QCOMPARE(save(custom, {QMessageBox::Ok}), QStringList{"Имя \"custom\" занято списком, выберите другое"});
        QCOMPARE(save(QString(), {QMessageBox::Ok}), QStringList{"Empty preset name"});
        QCOMPARE(stored().size(), 3);

        // A store that cannot be written: a warning instead of the "created" question.
        QVERIFY(QFile::remove(QStringLiteral("settings.cfg")));
        QVERIFY(QDir().mkdir(QStringLiteral("settings.cfg")));
        const auto restore = qScopeGuard([] { QDir().rmdir(QStringLiteral("settings.cfg")); });
        QCOMPARE(save(QStringLiteral("C"), {QMessageBox::Ok}),
                 QStringList{"Пресет не сохранён: файл настроек недоступен для записи"});
    }

    // A and B differ in a check box applied early and a list applied late: the
    // list stays on the preset chosen. Edits leave it, undoing them comes back.
    void applyingEndsOnThePreset()
    {
        choose(QStringLiteral("A"));
        QCOMPARE(combo()->currentText(), QStringLiteral("A"));
        QCOMPARE(rxWindow()->currentData().toInt(), 2);
        QCOMPARE(child<QCheckBox>("serverAdrCheck")->isChecked(), true);
        choose(QStringLiteral("B"));
        QTest::keyClick(rxWindow(), Qt::Key_Down);
        QTest::keyClick(rxWindow(), Qt::Key_Up);
        QCOMPARE(combo()->currentText(), QStringLiteral("B"));

        // Undoing an edit of the name does not bring the preset back over an edit
        // of the RX window.
        QTest::keyClick(rxWindow(), Qt::Key_Down);
        QTest::keyClicks(name(), QStringLiteral("x"));
        QTest::keyClick(name(), Qt::Key_Backspace);
        QCOMPARE(combo()->currentText(), custom);
    }
};

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"
