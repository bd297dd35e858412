// The stored presets: the input is the "loraPresets" text of settings.cfg.
// One workspace, built once, lists the presets from it, applies every listed
// preset by choosing it as the operator would, and looks up a name taken from
// the input, which need not be listed.

#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FuzzSupport.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>

namespace {

CIAboutDevice* workspace = nullptr;
QComboBox* presetList = nullptr;
QStringList initialEntries;

// The list only ever grows while the program runs; every input starts from
// the entries of a fresh workspace so that inputs do not depend on each other.
void resetPresetList()
{
    const QSignalBlocker blocker(presetList);
    for (int i = presetList->count() - 1; i >= 0; --i) {
        if (!initialEntries.contains(presetList->itemText(i)))
            presetList->removeItem(i);
    }
    presetList->setCurrentIndex(0);
}

// Whatever is stored, the list holds each name once, no empty name, and
// "custom" once, last.
void checkPresetList()
{
    const QString custom = QStringLiteral("custom");
    QStringList entries;
    for (int i = 0; i < presetList->count(); ++i)
        entries << presetList->itemText(i);
    if (entries.removeDuplicates() != 0 || entries.contains(QString()) || entries.last() != custom
        || entries.indexOf(custom) != entries.size() - 1)
        __builtin_trap();
}

QString nameFrom(const QByteArray& input)
{
    // The first line, at most a name's length.
    const int lineEnd = input.indexOf('\n');
    return QString::fromUtf8((lineEnd < 0 ? input : input.left(lineEnd)).left(64));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    ScannedDevices::instance(qApp);
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);

    CSettings::instance()->remove(QStringLiteral("loraPresets"));
    // Kept for the whole process, like the application (see FuzzSupport).
    workspace = new CIAboutDevice;
    presetList = workspace->findChild<QComboBox*>(QStringLiteral("presetCombo"));
    if (!presetList)
        qFatal("fuzz_presets: the workspace has no presetCombo");
    for (int i = 0; i < presetList->count(); ++i)
        initialEntries << presetList->itemText(i);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    resetPresetList();
    CSettings::writeValue(CSettings::loraPresets, input);

    const QString stored = CSettings::readValue(CSettings::loraPresets, QVariant()).toString();
    workspace->iniPresets(stored);
    checkPresetList();
    for (int i = 0; i < presetList->count(); ++i)
        presetList->setCurrentIndex(i);  // applies the preset, or shows the save controls
    workspace->findPreset(nameFrom(input));
    workspace->findPreset(QString());
    FuzzSupport::settle();
    return 0;
}
